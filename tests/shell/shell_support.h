#pragma once
// Helpers for tests that run the player program.

#include <string>
#include <vector>

namespace orva::test {

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs a program with arguments and extra environment entries ("NAME=value"), capturing output.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& environment = {});

// A fresh empty folder under the system's temporary folder, removed by the destructor.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace orva::test
