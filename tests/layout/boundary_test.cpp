// The platform boundary as a build failure: the sources above platform/ may not reach the machine
// directly. Files, clocks, the environment and SDL are reached through platform/ (and files through
// resources/, the file layer).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Forbidden {
  std::regex pattern;
  const char* allowed_way;
};

TEST(PlatformBoundary, NoDirectMachineAccessAbovePlatform) {
  const std::vector<Forbidden> forbidden = {
      {std::regex(R"(#include\s*[<"]SDL)"), "SDL is used only inside src/platform/"},
      {std::regex(R"(\bfopen\s*\()"), "open files through the file manager or resources/ streams"},
      {std::regex(R"(std::[io]?fstream\b)"), "open files through the file manager or resources/ streams"},
      {std::regex(R"(\bgetenv\s*\()"), "read the environment through platform/environment.h"},
      {std::regex(R"((^|[^_\w.>])time\s*\()"), "read time from the platform clock passed down by the frame loop"},
      {std::regex(R"(system_clock)"), "read time from the platform clock passed down by the frame loop"},
  };
  const fs::path src = fs::path(ORVA_SOURCE_DIR) / "src";
  std::vector<std::string> problems;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    if (!entry.is_regular_file()) continue;
    const std::string rel = fs::relative(entry.path(), src).generic_string();
    if (rel.rfind("platform/", 0) == 0 || rel.rfind("resources/", 0) == 0) continue;
    std::ifstream in(entry.path());
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      for (const auto& rule : forbidden) {
        if (std::regex_search(line, rule.pattern)) {
          problems.push_back(rel + ":" + std::to_string(number) + ": " + rule.allowed_way + ": " + line);
        }
      }
    }
  }
  std::ostringstream report;
  for (const auto& p : problems) report << p << "\n";
  EXPECT_TRUE(problems.empty()) << report.str();
}

}  // namespace
