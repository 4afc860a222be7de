// A title packed into game.dat plays as the same title built loose.

#include <gtest/gtest.h>

#include <filesystem>

#include "shell/shell_support.h"

namespace orva {
namespace {

TEST(PackedTitle, PlaysLikeTheLooseBuild) {
  test::TemporaryFolder folder;
  const std::string packed = folder.Path() + "/demo";
  const std::string title_tool = std::string(ORVA_BINARY_DIR) + "/tools/orva-title/orva-title";
  const auto build = test::RunProgram(title_tool, {"build", std::string(ORVA_SOURCE_DIR) + "/titles/demo", packed, "--pack"});
  ASSERT_EQ(build.status, 0) << build.err;
  EXPECT_TRUE(std::filesystem::exists(packed + "/game.dat"));
  EXPECT_FALSE(std::filesystem::exists(packed + "/start.osb"));

  const std::string player = std::string(ORVA_BINARY_DIR) + "/src/shell/orvaplayer";
  const auto from_archive = test::RunProgram(player, {"--headless", "--dump-vars", "-", packed});
  const auto loose = test::RunProgram(player, {"--headless", "--dump-vars", "-", std::string(ORVA_BINARY_DIR) + "/titles/demo"});
  EXPECT_EQ(from_archive.status, 0) << from_archive.err;
  EXPECT_FALSE(from_archive.out.empty());
  EXPECT_EQ(from_archive.out, loose.out);
}

}  // namespace
}  // namespace orva
