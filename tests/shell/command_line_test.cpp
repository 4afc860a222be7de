#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

TEST(CommandLine, AcceptsTheRunOptionsAndOneTitle) {
  auto parsed = ParseCommandLine({"--headless", "--frames", "10", "--frame-ms=33", "/games/t"});
  ASSERT_TRUE(std::holds_alternative<PlayerOptions>(parsed));
  const auto& o = std::get<PlayerOptions>(parsed);
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.frames, 10);
  EXPECT_EQ(o.frame_ms, 33);
  EXPECT_EQ(o.title_argument, "/games/t");

  const auto defaults = std::get<PlayerOptions>(ParseCommandLine({}));
  EXPECT_FALSE(defaults.headless);
  EXPECT_EQ(defaults.frames, 3600);
  EXPECT_EQ(defaults.frame_ms, 16);
  EXPECT_FALSE(defaults.title_argument.has_value());

  // "--" lets a title start with dashes.
  EXPECT_EQ(std::get<PlayerOptions>(ParseCommandLine({"--", "--odd"})).title_argument, "--odd");
}

TEST(CommandLine, RefusesBadUsageWithAMessage) {
  const std::vector<std::vector<std::string>> bad = {
      {"--frame-ms", "0"},    {"--frame-ms", "1001"}, {"--frames", "-1"}, {"--frames", "12x"},
      {"--frames"},           {"--bogus"},            {"a", "b"},         {"--headless=yes"},
  };
  for (const auto& args : bad) {
    auto parsed = ParseCommandLine(args);
    ASSERT_TRUE(std::holds_alternative<CommandLineError>(parsed)) << args[0];
    EXPECT_FALSE(std::get<CommandLineError>(parsed).message.empty());
  }
}

}  // namespace
}  // namespace orva
