// End-to-end runs of the test titles under titles/tests: each is built from source during the
// build, played headless, and its dumped variables (and trace, when expected) compared with
// titles/tests/NAME/expect/. A title that documents a gap holds expect/known_failure with the
// reason; the test then fails when the title unexpectedly passes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/shell_support.h"

namespace orva {
namespace {

namespace fs = std::filesystem;

const std::string kPlayer = std::string(ORVA_BINARY_DIR) + "/src/shell/orvaplayer";

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

class TitleRun : public ::testing::TestWithParam<std::string> {};

TEST_P(TitleRun, MatchesItsExpectations) {
  const std::string name = GetParam();
  const fs::path expect = fs::path(ORVA_SOURCE_DIR) / "titles/tests" / name / "expect";
  const fs::path built = fs::path(ORVA_BINARY_DIR) / "titles/tests" / name;
  test::TemporaryFolder out;
  std::vector<std::string> args{"--headless", "--dump-vars", out.Path() + "/vars.json", "--trace",
                                out.Path() + "/trace.txt"};
  if (fs::exists(expect / "args.txt")) {
    for (auto& w : Words(ReadText(expect / "args.txt"))) args.push_back(w);
  }
  args.push_back(built.string());
  const test::ProgramRun run = test::RunProgram(kPlayer, args);

  std::string mismatch;
  const int expected_status = fs::exists(expect / "status.txt") ? std::stoi(ReadText(expect / "status.txt")) : 0;
  if (run.status != expected_status) mismatch += "exit status " + std::to_string(run.status) + "; ";
  if (fs::exists(expect / "vars.json") && ReadText(expect / "vars.json") != ReadText(out.Path() + "/vars.json"))
    mismatch += "variables differ:\n" + ReadText(out.Path() + "/vars.json");
  if (fs::exists(expect / "trace.txt") && ReadText(expect / "trace.txt") != ReadText(out.Path() + "/trace.txt"))
    mismatch += "trace differs:\n" + ReadText(out.Path() + "/trace.txt");
  if (fs::exists(expect / "stderr.txt") && ReadText(expect / "stderr.txt") != run.err)
    mismatch += "stderr differs:\n" + run.err;

  if (fs::exists(expect / "known_failure")) {
    EXPECT_FALSE(mismatch.empty()) << name << " passes now: remove expect/known_failure ("
                                   << ReadText(expect / "known_failure") << ")";
  } else {
    EXPECT_TRUE(mismatch.empty()) << name << ": " << mismatch << "\nstderr: " << run.err;
  }
}

std::vector<std::string> TestTitles() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::path(ORVA_SOURCE_DIR) / "titles/tests")) {
    if (fs::exists(entry.path() / "project.txt")) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Titles, TitleRun, ::testing::ValuesIn(TestTitles()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace orva

namespace orva {
namespace {

TEST(HeadlessRuns, TwoRunsOfTheDemoGiveTheSameBytes) {
  const std::string demo = std::string(ORVA_BINARY_DIR) + "/titles/demo";
  std::string outputs[2];
  for (auto& output : outputs) {
    test::TemporaryFolder out;
    const auto run = test::RunProgram(kPlayer, {"--headless", "--dump-vars", out.Path() + "/v.json", "--trace",
                                                out.Path() + "/t.txt", demo});
    ASSERT_EQ(run.status, 0) << run.err;
    output = ReadText(out.Path() + "/v.json") + ReadText(out.Path() + "/t.txt");
  }
  EXPECT_FALSE(outputs[0].empty());
  EXPECT_EQ(outputs[0], outputs[1]);
}

}  // namespace
}  // namespace orva
