#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "core/byte_writer.h"
#include "core/encoding.h"
#include "core/error.h"
#include "resources/archive_builder.h"
#include "resources/archive_directory.h"
#include "resources/big_file_stream.h"
#include "resources/file_collection.h"
#include "resources_support.h"

namespace orva {
namespace {

std::unique_ptr<TQnBigStream> MemoryBig(const std::string& data) {
  auto big = std::make_unique<TQnBigMemoryStream>();
  big->WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
  big->SetPosition(0);
  return big;
}

std::string Extracted(TVrFileCollection& table, std::string_view name) {
  TMemoryStream out;
  table.Extract(name, out);
  EXPECT_EQ(out.Position(), 0);
  return std::string(out.View());
}

// Every version the reader accepts: which fields exist and whether names and offsets are scrambled.
struct VersionCase {
  int32_t version;
  bool flags;       // stored flags, timestamps, CRCs
  bool crc_kinds;   // CRC kinds
  bool scrambled;
};

class ArchiveVersions : public testing::TestWithParam<VersionCase> {};

TEST_P(ArchiveVersions, ReadsNamesOffsetsAndFlags) {
  const VersionCase c = GetParam();
  const std::string japanese = Utf8ToCp932("画像\\背景.mos");
  std::vector<BuiltArchiveEntry> entries = {
      MakeBuiltEntry("first.txt", "hello hello hello", /*stored=*/false, /*crc_of_plain=*/true),
      MakeBuiltEntry(japanese, test::NoiseBytes(300), /*stored=*/c.flags, /*crc_of_plain=*/false),
      MakeBuiltEntry("", "", true),
      MakeBuiltEntry("last.bin", std::string(5000, 'z'), false, true),
  };
  entries[0].timestamp = 0x3A214C6B;
  const std::string bytes = BuildArchive(c.version, entries);
  if (c.scrambled) {
    EXPECT_EQ(bytes.find("first.txt"), std::string::npos);
  } else {
    EXPECT_NE(bytes.find("first.txt"), std::string::npos);
  }

  TVrFileCollection table;
  table.OpenStream(MemoryBig(bytes));
  EXPECT_EQ(table.Version(), c.version);
  ASSERT_EQ(table.Count(), 5);
  EXPECT_EQ(table.File(4)->Name(), kArchiveSentinelName);
  EXPECT_EQ(table.File(4)->offset, static_cast<int64_t>(bytes.size()));
  EXPECT_EQ(table.File(1)->Name(), japanese);
  EXPECT_EQ(table.File(2)->Name(), "");
  EXPECT_EQ(table.File(2)->size, 0);
  EXPECT_EQ(table.File(3)->offset + table.File(3)->size, static_cast<int64_t>(bytes.size()));
  EXPECT_EQ(table.File(0)->timestamp, c.flags ? 0x3A214C6B : 0);
  EXPECT_EQ(table.File(1)->stored, c.flags);
  EXPECT_EQ(table.File(0)->crc, c.flags ? entries[0].crc : 0u);
  EXPECT_EQ(table.File(0)->crc_of_plain, c.crc_kinds);

  EXPECT_EQ(Extracted(table, "FIRST.TXT"), "hello hello hello");
  EXPECT_EQ(Extracted(table, japanese), test::NoiseBytes(300));
  EXPECT_EQ(Extracted(table, "last.bin"), std::string(5000, 'z'));
  EXPECT_EQ(Extracted(table, ""), "");
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, ArchiveVersions,
                         testing::Values(VersionCase{0, false, false, false}, VersionCase{1, false, false, false},
                                         VersionCase{99, false, false, false}, VersionCase{100, false, false, true},
                                         VersionCase{101, true, false, true}, VersionCase{102, true, true, true},
                                         VersionCase{250, true, true, true}),
                         [](const auto& info) { return "v" + std::to_string(info.param.version); });

TEST(ArchiveRead, ScramblesWithTheDocumentedKeyStream) {
  // Version 100, one entry "ab" at offset 24: the names take the generator's values in order
  // (1486203957 & 0xFF = 0x35 for the first byte), the offsets a fresh generator.
  const std::string bytes = BuildArchive(100, {MakeBuiltEntry("ab", "x", true)});
  TQnRandom names(kArchiveScrambleSeed);
  EXPECT_EQ(static_cast<uint8_t>(bytes[14]), static_cast<uint8_t>('a' ^ (names.Next() & 0xFF)));
  EXPECT_EQ(static_cast<uint8_t>(bytes[15]), static_cast<uint8_t>('b' ^ (names.Next() & 0xFF)));
  TQnRandom offsets(kArchiveScrambleSeed);
  uint32_t first = 0;
  for (int i = 3; i >= 0; --i) first = first << 8 | static_cast<uint8_t>(bytes[16 + static_cast<size_t>(i)]);
  EXPECT_EQ(first ^ offsets.Next(), 24u);

  // The 8-byte rule: the high half is XORed with the value's sign.
  TQnRandom generator(1);
  generator.SetState(0x7FFFFFFF);  // next value 0x7FFFFFFC: sign clear
  EXPECT_EQ(ScrambleOffset64(generator, 0), 0x000000007FFFFFFCull + 0 * 5);
  TQnRandom negative(static_cast<int32_t>(0x80000000u));
  EXPECT_EQ(ScrambleOffset64(negative, 0), 0xFFFFFFFF80000000ull);
}

TEST(ArchiveRead, OpensArchiveFilesCompanionsAndExecutables) {
  test::ScratchFolder folder;
  const std::vector<BuiltArchiveEntry> entries = {MakeBuiltEntry("a.txt", "alpha", false),
                                                  MakeBuiltEntry("b.txt", "beta", true)};
  const std::string archive = BuildArchive(102, entries);

  TVrFileCollection plain;
  plain.Open(folder.Write("game.dat", archive));
  EXPECT_EQ(plain.Folder(), folder.Path());
  EXPECT_EQ(Extracted(plain, "b.txt"), "beta");

  // The executable: program bytes, the archive, then int32 position of the archive and "oa".
  const std::string program = "MZ program bytes";
  ByteWriter tail;
  tail.I32(static_cast<int32_t>(program.size()));
  tail.Chars("oa");
  TVrFileCollection executable;
  executable.Open(folder.Write("Player.EXE", program + archive + tail.Data()));
  const size_t directory_size = archive.size() - entries[0].data.size() - entries[1].data.size();
  EXPECT_EQ(executable.File(0)->offset, static_cast<int64_t>(program.size() + directory_size));
  EXPECT_EQ(Extracted(executable, "a.txt"), "alpha");
  TVrFileCollection not_appended;
  EXPECT_THROW(not_appended.Open(folder.Write("plain.scr", "MZ no archive here")), EOrvaError);

  // The companion: the directory comes from data.ext, the offsets count in data.pak.
  folder.Write("data.ext", archive.substr(0, directory_size));
  TVrFileCollection split;
  split.Open(folder.Write("data.pak", archive));
  EXPECT_EQ(Extracted(split, "a.txt"), "alpha");

  // A path that names no file is a folder source: Extract reads from the folder.
  folder.Write("sub/loose.txt", "loose");
  TVrFileCollection folder_source;
  folder_source.Open(folder.Path() + "sub");
  EXPECT_EQ(folder_source.Folder(), folder.Path() + "sub/");
  EXPECT_EQ(folder_source.Count(), 0);
  EXPECT_EQ(Extracted(folder_source, "LOOSE.TXT"), "loose");
  EXPECT_THROW(Extracted(folder_source, "none.txt"), EOrvaError);
}

TEST(ArchiveRead, EntryDataStraddlesVolumes) {
  test::ScratchFolder folder;
  const int64_t volume = TQnBigFileStream::kVolumeSize;
  // The directory of a one-entry archive whose data starts 4 bytes before the end of volume 0.
  BuiltArchiveEntry entry = MakeBuiltEntry("movie.mpg", "", true);
  std::string header = BuildArchive(101, {entry});
  const std::string data = "12345678";
  {
    TQnRandom offsets(kArchiveScrambleSeed);
    ByteWriter table;
    table.U64(ScrambleOffset64(offsets, static_cast<uint64_t>(volume - 4)));
    table.U64(ScrambleOffset64(offsets, static_cast<uint64_t>(volume + 4)));
    header.replace(header.size() - 9 - 16, 16, table.Data());
  }
  const std::string path = folder.Path() + "game.dat";
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, volume), 0);
  ASSERT_EQ(::pwrite(fd, header.data(), header.size(), 0), static_cast<ssize_t>(header.size()));
  ASSERT_EQ(::pwrite(fd, data.data(), 4, volume - 4), 4);
  ::close(fd);

  TVrFileCollection missing_volume;
  missing_volume.Open(path);  // opens although game.001 is missing
  EXPECT_THROW(Extracted(missing_volume, "movie.mpg"), EOrvaError);

  folder.Write("game.001", data.substr(4));
  TVrFileCollection table;
  table.Open(path);
  EXPECT_EQ(Extracted(table, "movie.mpg"), data);
  auto range = table.EntryRange("MOVIE.MPG");
  ASSERT_TRUE(range);
  char buffer[16];
  EXPECT_EQ(range->Read(buffer, 16), 8);
  EXPECT_EQ(std::string(buffer, 8), data);
}

TEST(ArchiveRead, MemoryEntriesAndDeletion) {
  TVrFileCollection table;
  table.Open("");
  EXPECT_EQ(table.Folder(), "");
  TVrFile* entry = table.AddMemoryEntry("mem:a");
  entry->memory->WriteBuffer("abc", 3);
  table.AddMemoryEntry("mem:a")->memory->WriteBuffer("second", 6);
  EXPECT_EQ(table.Count(), 2);
  EXPECT_EQ(Extracted(table, "mem:a"), "second");  // the newest of a name is found
  EXPECT_EQ(table.EntryRange("mem:a"), nullptr);
  table.DeleteEntry("MEM:A");
  EXPECT_EQ(Extracted(table, "mem:a"), "abc");
  table.DeleteEntry("mem:a");
  EXPECT_EQ(table.Count(), 0);
  EXPECT_THROW(Extracted(table, "mem:a"), EOrvaError);
  try {
    Extracted(table, Utf8ToCp932("無い.txt"));
  } catch (const EOrvaError& e) {
    EXPECT_STREQ(e.what(), "無い.txt:ファイルがありません");
  }
  TVrFileCollection resource;
  EXPECT_THROW(resource.OpenResource("self", "LOGO", "DATA"), EOrvaError);
}

}  // namespace
}  // namespace orva
