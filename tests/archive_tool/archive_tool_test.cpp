// orva-archive run as a program: its output formats, exit statuses and the rules it writes by.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "core/byte_writer.h"
#include "core/encoding.h"
#include "resources/archive_builder.h"
#include "resources/file_collection.h"
#include "resources/resources_support.h"
#include "resources/zlib_codec.h"

namespace orva {
namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quoted(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

Outcome RunTool(const test::ScratchFolder& scratch, const std::vector<std::string>& args) {
  std::string command = Quoted(ORVA_BINARY_DIR "/tools/orva-archive/orva-archive");
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " >" + Quoted(scratch.Path() + ".out") + " 2>" + Quoted(scratch.Path() + ".err");
  const int raw = std::system(command.c_str());
  Outcome outcome;
  outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  outcome.out = test::ReadWholeFile(scratch.Path() + ".out");
  outcome.err = test::ReadWholeFile(scratch.Path() + ".err");
  return outcome;
}

size_t LineCount(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST(ArchiveTool, CreateThenListAndCatRoundTripAFolder) {
  test::ScratchFolder scratch;
  const std::string in = scratch.Path() + "in/";
  scratch.Write("in/readme.txt", std::string(4000, 'r'));
  scratch.Write("in/画像/背景.txt", "背景 text, " + std::string(3000, 'b'));
  scratch.Write("in/Sound/bgm.OGG", std::string(2000, 'o'));
  scratch.Write("in/noise.bin", test::NoiseBytes(1500));
  scratch.Write("in/B.txt", "upper first");
  const std::string archive = scratch.Path() + "out.dat";

  Outcome created = RunTool(scratch, {"create", archive, in});
  ASSERT_EQ(created.status, 0) << created.err;
  EXPECT_EQ(created.out, "");

  // Entries sorted by their Shift-JIS bytes: "B.txt" < "Sound\..." < "noise.bin" < "readme.txt" < 画像.
  Outcome listed = RunTool(scratch, {"list", archive});
  ASSERT_EQ(listed.status, 0) << listed.err;
  const std::vector<std::string> names = {"B.txt", "Sound\\bgm.OGG", "noise.bin", "readme.txt", "画像\\背景.txt"};
  const std::vector<bool> stored = {true, true, true, false, false};
  std::istringstream lines(listed.out);
  TVrFileCollection table;
  table.Open(archive);
  for (size_t i = 0; i < names.size(); ++i) {
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    const TVrFile& entry = *table.File(static_cast<int>(i));
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08x", entry.crc);
    EXPECT_EQ(line, std::to_string(entry.size) + "\t" + (stored[i] ? "1" : "0") + "\t" + crc + "\t" + names[i]);
    EXPECT_EQ(entry.Name(), Utf8ToCp932(names[i]));
    EXPECT_FALSE(entry.crc_of_plain);
    EXPECT_NE(entry.timestamp, 0);
  }
  EXPECT_EQ(table.Version(), 102);

  Outcome json = RunTool(scratch, {"list", "--json", archive});
  ASSERT_EQ(json.status, 0);
  const TVrFile& last = *table.File(4);
  EXPECT_NE(json.out.find("{\"name\": \"画像\\\\背景.txt\", \"offset\": " + std::to_string(last.offset) +
                          ", \"size\": " + std::to_string(last.size) + ", \"stored\": false, \"timestamp\": " +
                          std::to_string(static_cast<uint32_t>(last.timestamp)) + ", \"crc\": " +
                          std::to_string(last.crc) + ", \"crc_of_plain\": false}"),
            std::string::npos)
      << json.out;
  EXPECT_EQ(LineCount(json.out), 7u);

  Outcome cat = RunTool(scratch, {"cat", archive, "画像\\背景.TXT"});
  ASSERT_EQ(cat.status, 0) << cat.err;
  EXPECT_EQ(cat.out, "背景 text, " + std::string(3000, 'b'));
  EXPECT_EQ(RunTool(scratch, {"cat", archive, "NOISE.BIN"}).out, test::NoiseBytes(1500));

  const std::string extracted = scratch.Path() + "ex";
  ASSERT_EQ(RunTool(scratch, {"extract", archive, extracted}).status, 0);
  EXPECT_EQ(test::ReadWholeFile(extracted + "/画像/背景.txt"), "背景 text, " + std::string(3000, 'b'));
  EXPECT_EQ(test::ReadWholeFile(extracted + "/Sound/bgm.OGG"), std::string(2000, 'o'));

  // Re-creating over the archive replaces it whole, leaving no temporary file beside it.
  scratch.Write("in/added.txt", "added");
  ASSERT_EQ(RunTool(scratch, {"create", archive, in}).status, 0);
  EXPECT_EQ(LineCount(RunTool(scratch, {"list", archive}).out), 6u);
  size_t files_beside = 0;
  for (const auto& f : std::filesystem::directory_iterator(scratch.Path())) files_beside += f.is_regular_file();
  EXPECT_EQ(files_beside, 3u);  // out.dat, .out, .err
}

TEST(ArchiveTool, ListsTheArchiveAppendedToAProgram) {
  test::ScratchFolder scratch;
  const std::string archive = BuildArchive(100, {MakeBuiltEntry("start.osb", "page", false)});
  ByteWriter tail;
  tail.I32(5);
  tail.Chars("oa");
  const std::string program = scratch.Write("title.exe", "MZ..." + archive + tail.Data());
  Outcome listed = RunTool(scratch, {"list", "--json", program});
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_NE(listed.out.find("\"name\": \"start.osb\""), std::string::npos);
  EXPECT_NE(listed.out.find("\"stored\": false, \"timestamp\": 0, \"crc\": 0"), std::string::npos);
  EXPECT_EQ(RunTool(scratch, {"cat", program, "start.osb"}).out, "page");
}

TEST(ArchiveTool, ExtractRefusesNamesThatLeaveTheOutputFolder) {
  const std::vector<std::string> bad_names = {"..\\evil.txt", "a\\..\\..\\evil.txt", "\\abs.txt", "/abs.txt",
                                              "C:\\evil.txt", "c:evil.txt", std::string("nul\0byte", 8), "..",
                                              ""};
  for (const std::string& bad : bad_names) {
    SCOPED_TRACE(bad);
    test::ScratchFolder scratch;
    const std::string archive = scratch.Write(
        "bad.dat", BuildArchive(102, {MakeBuiltEntry("good.txt", "fine", true), MakeBuiltEntry(bad, "evil", true)}));
    Outcome outcome = RunTool(scratch, {"extract", archive, scratch.Path() + "out/inner"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(LineCount(outcome.err), 1u) << outcome.err;
    EXPECT_NE(outcome.err.find("refused"), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(scratch.Path() + "out/inner/good.txt"));
    EXPECT_FALSE(std::filesystem::exists(scratch.Path() + "evil.txt"));
    EXPECT_FALSE(std::filesystem::exists(scratch.Path() + "out/evil.txt"));
  }
}

TEST(ArchiveTool, ErrorsAndUsage) {
  test::ScratchFolder scratch;
  const std::string damaged = scratch.Write("damaged.dat", std::string("vf\x66\0\0\0\xff\xff\xff\x7f", 10));
  struct Row {
    std::vector<std::string> args;
    int status;
    std::string err_start;
  };
  const std::vector<Row> rows = {
      {{}, 2, "orva-archive: no command given; usage:"},
      {{"list"}, 2, "orva-archive: list takes"},
      {{"frobnicate", "x"}, 2, "orva-archive: unknown command"},
      {{"cat", "a"}, 2, "orva-archive: cat takes"},
      {{"list", scratch.Path() + "missing.dat"}, 1, "orva-archive: " + scratch.Path() + "missing.dat: no such file"},
      {{"list", damaged}, 1, "orva-archive: damaged archive directory:"},
      {{"create", scratch.Path() + "x.dat", scratch.Path() + "nofolder"}, 1, "orva-archive: "},
  };
  for (const Row& row : rows) {
    Outcome outcome = RunTool(scratch, row.args);
    EXPECT_EQ(outcome.status, row.status) << outcome.err;
    EXPECT_EQ(outcome.err.rfind(row.err_start, 0), 0u) << outcome.err;
    EXPECT_EQ(LineCount(outcome.err), 1u) << outcome.err;
    EXPECT_EQ(outcome.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(scratch.Path() + "x.dat"));
  Outcome version = RunTool(scratch, {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("orva-archive ", 0), 0u);
  Outcome help = RunTool(scratch, {"list", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("orva-archive create OUT INPUTDIR"), std::string::npos);
}

}  // namespace
}  // namespace orva
