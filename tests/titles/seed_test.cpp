// The scenario's random numbers follow --seed in headless runs.

#include <gtest/gtest.h>

#include <fstream>

#include "scenario/command_table.h"
#include "scenario/expression_listing.h"
#include "scenario/page_record.h"
#include "scenario/project_file.h"
#include "shell/shell_support.h"

namespace orva {
namespace {

TEST(HeadlessSeed, TheSameSeedGivesTheSameNumbersAndAnotherSeedOthers) {
  test::TemporaryFolder title;
  ProjectFile project;
  project.start_page = "start.osb";
  std::ofstream(title.Path() + "/orva.opb", std::ios::binary) << project.Write();
  PageRecord start;
  CommandRecord draw;
  draw.type_byte = command_id::kVarNew;
  draw.continue_flag = 1;
  StoredField name, type, init, scope;
  name.bytes = "r";
  type.number = 4;
  init.expressions.push_back({-1, ExpressionTextToRecord("Random(1000000) ++ \",\" ++ Random(1000000)")});
  draw.fields = {name, type, init, scope};
  start.commands.push_back(draw);
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
