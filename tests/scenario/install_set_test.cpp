#include "scenario/install_set.h"

#include <gtest/gtest.h>

#include "core/byte_writer.h"
#include "core/error.h"

namespace orva {
namespace {

std::string HandBuiltInstallSet(int version) {
  ByteWriter w;
  if (version > 0) w.Chars("is" + std::to_string(version));
  w.I32(1);  // DiskIndex
  w.String("My Title");
  w.String("a"), w.String("b"), w.String("c");
  w.U8(7);
  w.String("d");
  w.U8(8);
  w.I32(2);  // two entries
  w.String("e");
  w.I32(99);
  w.U8(1), w.U8(2);
  w.String("f"), w.String("g");
  for (int i = 0; i < 2 * 4 + 4; ++i) {
    if (version < 100) w.I32(i); else w.I64(int64_t{i} << 33);
  }
  w.U8(5);
  if (version >= 101) w.U8(6);
  if (version >= 102) {
    w.I32(3);
    w.String("Save1.bmp");
    w.I32(0);  // an empty entry is dropped
    w.String("save2.bmp");
  }
  if (version >= 103) w.U8(1);
  if (version >= 104) w.U8(0);
  if (version >= 105) w.U8(0);
  if (version >= 106) {
    w.I32(1);
    w.String("h");
  }
  if (version >= 107) w.String("i");
  return w.Take();
}

TEST(InstallSet, ReadsEveryVersion) {
  struct Case {
    int version;
    bool installed;
    size_t names;
  };
  const Case cases[] = {{0, false, 0}, {100, false, 0}, {102, false, 2}, {103, true, 2}, {107, true, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    const TOrvaInstallSet s = TOrvaInstallSet::Read(HandBuiltInstallSet(c.version));
    EXPECT_EQ(s.version, c.version);
    EXPECT_EQ(s.disk_index, 1);
    EXPECT_EQ(s.title, "My Title");
    EXPECT_EQ(s.installed, c.installed);
    EXPECT_EQ(s.names.size(), c.names);
    EXPECT_EQ(s.entry_values.size(), 8u);
    EXPECT_EQ(s.tail_values[3], c.version < 100 ? 11 : int64_t{11} << 33);
  }
}

TEST(InstallSet, WritesTheNewestLayoutWithEveryFieldKept) {
  TOrvaInstallSet s = TOrvaInstallSet::Read(HandBuiltInstallSet(103));
  s.AddName("SAVE1.BMP");  // already there, ignoring case
  s.AddName("new.bmp");
  const std::string written = s.Write();
  EXPECT_EQ(written.substr(0, 5), "is107");
  const TOrvaInstallSet back = TOrvaInstallSet::Read(written);
  EXPECT_EQ(back.names, (std::vector<std::string>{"Save1.bmp", "save2.bmp", "new.bmp"}));
  EXPECT_EQ(back.entry_values, s.entry_values);
  EXPECT_TRUE(back.installed);
  EXPECT_EQ(back.Write(), written);
}

TEST(InstallSet, DamagedFilesAreRefused) {
  const std::string good = HandBuiltInstallSet(107);
  EXPECT_THROW(TOrvaInstallSet::Read(good.substr(0, good.size() - 1)), EOrvaError);
  EXPECT_THROW(TOrvaInstallSet::Read("isx07"), EOrvaError);
  // An entry count far beyond the data is refused before anything is allocated.
  std::string huge = good;
  const size_t count_at = 5 + 4 + 12 + 3 * 5 + 1 + 5 + 1;
  huge[count_at + 3] = 0x7F;
  EXPECT_THROW(TOrvaInstallSet::Read(huge), EOrvaError);
}

}  // namespace
}  // namespace orva
