#include "shell/title_folder.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

TEST(InstanceName, NormalisesTheFolderAsTheOriginalDoes) {
  struct Case {
    std::string folder;
    std::string name;
  };
  const Case cases[] = {
      {"c:\\games\\title", "C:-GAMES-TITLE-"},
      {"C:\\Game", "C:-GAME-"},
      {"c:\\game\\", "C:-GAME-"},
      {"/x/Title", "-X-TITLE-"},
      {"/x/Title/", "-X-TITLE-"},
      {"/config", "-CONFIG-"},
      // "ソ" (83 5C) ends in a backslash byte that is not a delimiter.
      {"/x/\x83\x5C", "-X-\x83\x5C-"},
      {"/x/\x83\x5C/", "-X-\x83\x5C-"},
      // "ア" (83 41): its trail byte looks like "A" but is not lower-cased or upper-cased.
      {"/x/\x83\x61", "-X-\x83\x61-"},
      {"", "-"},
  };
  for (const auto& c : cases) EXPECT_EQ(InstanceName(c.folder), c.name) << c.folder;
}

TEST(InstanceName, TheSameFolderGivenDifferentlyOnlySharesWhenTheStringsNormaliseAlike) {
  EXPECT_EQ(InstanceName("C:\\Game"), InstanceName("c:\\game\\"));
  EXPECT_NE(InstanceName("/x/Title"), InstanceName("x/Title"));  // arguments are not expanded
  EXPECT_NE(InstanceName("/x/Title"), InstanceName("/x/Other"));
}

TEST(LocateTitle, ChoosesTheFolderFromTheArgument) {
  const std::string cwd = "/home/u/";
  EXPECT_EQ(LocateTitle(std::nullopt, cwd).folder, cwd);
  EXPECT_EQ(LocateTitle(std::string("games/t"), cwd).folder, "games/t");
  const TitleLocation exe = LocateTitle(std::string("/games/t/GAME.EXE"), cwd);
  EXPECT_EQ(exe.folder, "/games/t/");
  EXPECT_EQ(exe.executable, "/games/t/GAME.EXE");
  const TitleLocation bare = LocateTitle(std::string("intro.scr"), cwd);
  EXPECT_EQ(bare.folder, cwd);
  EXPECT_EQ(bare.executable, "intro.scr");
  EXPECT_TRUE(IsConfigArgument("/CONFIG"));
  EXPECT_FALSE(IsConfigArgument("/config/"));
}

TEST(InstanceName, UsesTheShiftJisFormOfUtf8Folders) {
  EXPECT_EQ(FolderBytesForInstanceName("/x/情報"), "/x/\x8F\xEE\x95\xF1");
  // A name that has no Shift-JIS form keeps its own bytes.
  EXPECT_EQ(FolderBytesForInstanceName("/x/\xF0\x9F\x98\x80"), "/x/\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace orva
