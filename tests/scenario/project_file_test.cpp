#include "scenario/project_file.h"

#include <gtest/gtest.h>

#include "core/byte_writer.h"
#include "core/error.h"

namespace orva {
namespace {

// A project file built field by field, as the authoring tool writes one of the given version.
std::string HandBuiltProject(int32_t version) {
  ByteWriter w;
  w.I32(version);
  w.String("Title");
  w.I32(800);
  w.I32(600);
  w.I32(1024);
  w.I32(768);
  w.String("start.osb");
  if (version >= 110) w.String("exit.osb");
  w.String("reserved");
  w.I32(4242);
  if (version >= 104) w.U8(0);  // WriteStatus
  if (version >= 106) w.U8(1);  // FrameSleep
  if (version >= 109) w.String(".ogg");
  w.String("disk %d");
  w.String("quit?");
  w.I32(5);
  w.U8(1), w.String("i"), w.I32(-7);
  w.U8(2), w.String("r"), w.Extended(2.5L);
  w.U8(3), w.String("f"), w.U8(1);
  w.U8(4), w.String("s"), w.String("text");
  w.U8(9), w.String("odd");
  w.I32(1);
  w.String("DATA");
  w.I32(2);
  return w.Take();
}

TEST(ProjectFile, ReadsTheFieldsOfEachVersion) {
  struct Case {
    int32_t version;
    bool write_status;
    bool frame_sleep;
    const char* extensions;
    const char* exit_page;
  };
  const Case cases[] = {
      {103, true, false, ".wav.wma.ogg.mid", ""},
      {104, false, false, ".wav.wma.ogg.mid", ""},
      {106, false, true, ".wav.wma.ogg.mid", ""},
      {109, false, true, ".ogg", ""},
      {110, false, true, ".ogg", "exit.osb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    const std::string bytes = HandBuiltProject(c.version);
    const ProjectFile p = ProjectFile::Read(bytes);
    EXPECT_EQ(p.title, "Title");
    EXPECT_EQ(p.screen_width, 800);
    EXPECT_EQ(p.full_screen_height, 768);
    EXPECT_EQ(p.start_page, "start.osb");
    EXPECT_EQ(p.exit_page, c.exit_page);
    EXPECT_EQ(p.image_key, 4242);
    EXPECT_EQ(p.write_status, c.write_status);
    EXPECT_EQ(p.frame_sleep, c.frame_sleep);
    EXPECT_EQ(p.streamed_extensions, c.extensions);
    EXPECT_EQ(p.quit_prompt, "quit?");
    ASSERT_EQ(p.status_variables.size(), 5u);
    EXPECT_EQ(std::get<int32_t>(p.status_variables[0].value), -7);
    EXPECT_EQ(std::get<long double>(p.status_variables[1].value), 2.5L);
    EXPECT_EQ(std::get<uint8_t>(p.status_variables[2].value), 1);
    EXPECT_EQ(std::get<std::string>(p.status_variables[3].value), "text");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(p.status_variables[4].value));
    EXPECT_EQ(p.folder_disks.DiskOf("data\\x.png"), 2);
    // Writing gives back the same bytes.
    EXPECT_EQ(p.Write(), bytes);
  }
}

TEST(ProjectFile, NewerVersionsStopAfterTheVersionAndDamageIsAnError) {
  ByteWriter w;
  w.I32(111);
  EXPECT_EQ(ProjectFile::Read(w.Data()).version, 111);

  const std::string bytes = HandBuiltProject(110);
  for (size_t cut : {size_t{0}, size_t{3}, size_t{20}, bytes.size() - 1}) {
    EXPECT_THROW(ProjectFile::Read(std::string_view(bytes).substr(0, cut)), EOrvaError) << cut;
  }
}

TEST(FolderDisks, TheLongestMatchingFolderGivesTheDisc) {
  TFolderDiskList disks;
  disks.Add("DATA", 1);
  disks.Add("DATA\\SUB", 2);
  EXPECT_EQ(disks.DiskOf("data\\sub\\x.png"), 2);
  EXPECT_EQ(disks.DiskOf("data\\y.png"), 1);
  EXPECT_EQ(disks.DiskOf("data"), 1);
  EXPECT_EQ(disks.DiskOf("other\\y.png"), 0);
  EXPECT_EQ(disks.DiskOf(""), 0);
  // "ソ" ends in a backslash byte that is not a delimiter: the folder "ソ" is not cut inside it.
  TFolderDiskList kana;
  kana.Add("\x83\x5C", 3);
  EXPECT_EQ(kana.DiskOf("\x83\x5C\\a.png"), 3);
  EXPECT_EQ(kana.DiskOf("\x83\\a.png"), 0);
}

}  // namespace
}  // namespace orva
