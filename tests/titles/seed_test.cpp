// The scenario's random numbers follow --seed in headless runs.

#include <gtest/gtest.h>

#include <fstream>

#include "scenario/page_record.h"
#include "scenario/project_file.h"
#include "shell/shell_support.h"
#include "command_records_support.h"

namespace orva {
namespace {

TEST(HeadlessSeed, TheSameSeedGivesTheSameNumbersAndAnotherSeedOthers) {
  test::TemporaryFolder title;
  ProjectFile project;
  project.start_page = "start.osb";
  std::ofstream(title.Path() + "/orva.opb", std::ios::binary) << project.Write();
  PageRecord start;
  start.commands.push_back(test::VarNew("r", 4, "Random(1000000) ++ \",\" ++ Random(1000000)"));
  std::ofstream(title.Path() + "/start.osb", std::ios::binary) << WritePageRecord(start);

  const std::string player = std::string(ORVA_BINARY_DIR) + "/src/shell/orvaplayer";
  auto run = [&](const char* seed) {
    const auto r = test::RunProgram(player, {"--headless", "--frames", "2", "--seed", seed, "--dump-vars", "-", title.Path()});
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  };
  const std::string first = run("1");
  EXPECT_NE(first.find("\"name\": \"r\""), std::string::npos) << first;
  EXPECT_EQ(run("1"), first);
  EXPECT_NE(run("2"), first);
}

}  // namespace
}  // namespace orva
