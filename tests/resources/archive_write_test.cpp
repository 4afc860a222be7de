#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <ctime>

#include "core/byte_writer.h"
#include "core/encoding.h"
#include "core/error.h"
#include "resources/archive_builder.h"
#include "resources/archive_writer.h"
#include "resources/file_collection.h"
#include "resources/zlib_codec.h"
#include "resources_support.h"

namespace orva {
namespace {

std::span<const uint8_t> BytesOf(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

int64_t CompressedSize(const std::string& plain) {
  TMemoryStream packed;
  DeflateFast(BytesOf(plain), packed);
  return packed.Size();
}

// Writes the table and reads the result back as a new table.
std::unique_ptr<TVrFileCollection> WriteAndReopen(TVrFileCollection& table) {
  auto big = std::make_unique<TQnBigMemoryStream>();
  EXPECT_TRUE(table.WriteArchive(*big));
  big->SetPosition(0);
  auto reopened = std::make_unique<TVrFileCollection>();
  reopened->OpenStream(std::move(big));
  return reopened;
}

std::string Extracted(TVrFileCollection& table, std::string_view name) {
  TMemoryStream out;
  table.Extract(name, out);
  return std::string(out.View());
}

// A layered-image head: signature, header size 40, then the 40-byte header record.
std::string LayeredImage(const std::string& version_digits, uint8_t compression_kind, size_t body) {
  ByteWriter w;
  w.Chars("Mosa" + version_digits);
  w.I32(40);
  std::string record(40, '\0');
  record[22] = static_cast<char>(compression_kind);
  w.Chars(record);
  return w.Take() + std::string(body, 'p');
}

TEST(ArchiveWrite, FolderFilesFollowTheCompressionRules) {
  test::ScratchFolder folder;
  struct Row {
    std::string name;
    std::string contents;
    bool stored;
  };
  const std::string small(2000, 's');
  const std::vector<Row> rows = {
      {"plain.txt", small, false},
      {"noext", small, false},
      {"clip.wav", small, true},
      {"x.MP", small, true},  // extensions are found as substrings of the media list
      {"x.wm", small, true},
      {"x.a", small, true},
      {"x.wave", small, false},
      {"game.dat", small, true},
      {"large.txt", std::string(kLargeEntrySize, 'l'), true},
      {"almost.txt", std::string(kLargeEntrySize - 1, 'l'), false},
      {"noise.bin", test::NoiseBytes(3000), true},  // saves less than a tenth
      {"kind0.mos", LayeredImage("106", 0, 3000), true},
      {"kind2.mos", LayeredImage("106", 2, 3000), true},
      {"kind1.mos", LayeredImage("106", 1, 3000), false},
      {"huge1.mos", LayeredImage("103", 1, kLargeEntrySize + 10), false},
      {"old.mos", LayeredImage("102", 1, 3000), true},
      {"notmosa.mos", std::string(3000, 'm'), true},
  };
  TVrFileCollection table;
  table.Open(folder.Path());
  for (const Row& row : rows) {
    folder.Write(row.name, row.contents);
    table.AddFolderEntry(row.name);
  }
  auto reopened = WriteAndReopen(table);
  ASSERT_EQ(reopened->Count(), static_cast<int>(rows.size()) + 1);
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].name);
    const TVrFile* entry = reopened->File(static_cast<int>(i));
    EXPECT_EQ(entry->Name(), rows[i].name);
    EXPECT_EQ(entry->stored, rows[i].stored);
    EXPECT_NE(entry->timestamp, 0);
    EXPECT_FALSE(entry->crc_of_plain);
    EXPECT_EQ(Extracted(*reopened, rows[i].name), rows[i].contents);
  }
}

TEST(ArchiveWrite, AFileMustSaveATenthToBeCompressed) {
  // Data of 1000 bytes whose level-1 stream is exactly 900 or 901 bytes long.
  std::string at_900, at_901;
  for (size_t run = 0; run < 1000 && (at_900.empty() || at_901.empty()); ++run) {
    for (uint32_t seed = 1; seed < 40; ++seed) {
      std::string data = test::NoiseBytes(1000 - run, seed) + std::string(run, '\0');
      const int64_t size = CompressedSize(data);
      if (size == 900 && at_900.empty()) at_900 = data;
      if (size == 901 && at_901.empty()) at_901 = data;
    }
  }
  ASSERT_FALSE(at_900.empty());
  ASSERT_FALSE(at_901.empty());
  test::ScratchFolder folder;
  folder.Write("a900.bin", at_900);
  folder.Write("a901.bin", at_901);
  TVrFileCollection table;
  table.Open(folder.Path());
  table.AddFolderEntry("a900.bin")->crc_of_plain = true;
  table.AddFolderEntry("a901.bin")->crc_of_plain = true;
  auto reopened = WriteAndReopen(table);
  EXPECT_FALSE(reopened->File(0)->stored);
  EXPECT_EQ(reopened->File(0)->size, 900);
  EXPECT_TRUE(reopened->File(1)->stored);
  EXPECT_EQ(reopened->File(1)->size, 1000);
  EXPECT_EQ(reopened->File(0)->crc, Crc32(BytesOf(at_900)));
  EXPECT_TRUE(reopened->File(0)->crc_of_plain);
}

TEST(ArchiveWrite, MemoryEntriesAndCrcKinds) {
  TVrFileCollection table;
  table.Open("");
  const std::string at_limit(kLargeEntrySize, 'm');
  const std::string below(kLargeEntrySize - 1, 'm');
  auto add = [&](const std::string& name, const std::string& data, bool crc_of_plain) {
    TVrFile* e = table.AddMemoryEntry(name);
    e->memory->WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    e->crc_of_plain = crc_of_plain;
    e->timestamp = 77;
  };
  add("large", at_limit, false);
  add("below", below, false);
  add("plain-crc", "status data", true);
  add("packed-crc", "status data", false);
  auto reopened = WriteAndReopen(table);
  EXPECT_TRUE(reopened->File(0)->stored);
  EXPECT_EQ(reopened->File(0)->crc, Crc32(BytesOf(at_limit)));
  EXPECT_FALSE(reopened->File(1)->stored);
  EXPECT_EQ(reopened->File(2)->crc, Crc32(BytesOf(std::string("status data"))));
  TMemoryStream packed;
  DeflateFast(BytesOf(std::string("status data")), packed);
  EXPECT_EQ(reopened->File(3)->crc, Crc32(packed.Bytes()));
  EXPECT_EQ(reopened->File(3)->timestamp, 77);
  EXPECT_EQ(Extracted(*reopened, "below"), below);
  EXPECT_EQ(Extracted(*reopened, "packed-crc"), "status data");
}

TEST(ArchiveWrite, RewritesAnyVersionAsVersion102WithoutTheSentinel) {
  const std::string big(kLargeEntrySize + 1, 'b');
  const std::string bytes = BuildArchive(0, {MakeBuiltEntry("one", "first", false), MakeBuiltEntry("big", big, false)});
  test::ScratchFolder folder;
  TVrFileCollection table;
  table.Open(folder.Write("old.dat", bytes));
  table.File(0)->crc_of_plain = true;  // kept, although the CRC is of the bytes written
  auto reopened = WriteAndReopen(table);
  EXPECT_EQ(reopened->Version(), 102);
  ASSERT_EQ(reopened->Count(), 3);
  EXPECT_EQ(reopened->File(2)->Name(), kArchiveSentinelName);
  EXPECT_EQ(Extracted(*reopened, "one"), "first");
  EXPECT_TRUE(reopened->File(1)->stored);  // large data from an archive is stored
  EXPECT_EQ(Extracted(*reopened, "big"), big);
  EXPECT_TRUE(reopened->File(0)->crc_of_plain);
  TMemoryStream packed;
  DeflateFast(BytesOf(std::string("first")), packed);
  EXPECT_EQ(reopened->File(0)->crc, Crc32(packed.Bytes()));
}

TEST(ArchiveWrite, RewritesStoredEntriesOfAnArchiveWithoutInflatingThem) {
  test::ScratchFolder folder;
  TVrFileCollection table;
  table.Open(folder.Write("save.dat", BuildArchive(102, {MakeBuiltEntry("raw", "kept as it is", true),
                                                         MakeBuiltEntry("packed", "compressed", false)})));
  auto reopened = WriteAndReopen(table);
  EXPECT_EQ(Extracted(*reopened, "raw"), "kept as it is");
  EXPECT_EQ(Extracted(*reopened, "packed"), "compressed");
  EXPECT_FALSE(reopened->File(0)->stored);  // small data from an archive is compressed anew
  // The written table still reads its own archive.
  EXPECT_EQ(Extracted(table, "raw"), "kept as it is");
  EXPECT_EQ(Extracted(table, "packed"), "compressed");
}

TEST(ArchiveWrite, ALayeredImageWithoutANumberFailsTheWrite) {
  test::ScratchFolder folder;
  folder.Write("bad.mos", "Mosa1x6" + std::string(50, '\0'));
  TVrFileCollection table;
  table.Open(folder.Path());
  table.AddFolderEntry("bad.mos");
  TQnBigMemoryStream out;
  try {
    table.WriteArchive(out);
    ADD_FAILURE() << "no error";
  } catch (const EOrvaError& e) {
    EXPECT_STREQ(e.what(), "'1x6' is not a valid integer value");
  }
}

TEST(ArchiveWrite, DosDateTimeInLocalTime) {
  std::tm local{};
  local.tm_year = 2003 - 1900;
  local.tm_mon = 4;
  local.tm_mday = 17;
  local.tm_hour = 13;
  local.tm_min = 45;
  local.tm_sec = 31;
  local.tm_isdst = -1;
  const std::time_t t = std::mktime(&local);
  const uint32_t expected = ((2003 - 1980) << 25) | (5 << 21) | (17 << 16) | (13 << 11) | (45 << 5) | 15;
  EXPECT_EQ(static_cast<uint32_t>(DosDateTime(t)), expected);
  EXPECT_EQ(static_cast<uint32_t>(DosDateTime(0 + 12 * 3600)), 0x00210000u);  // before 1980: the first DOS date
}

}  // namespace
}  // namespace orva
