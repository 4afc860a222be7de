#pragma once
// What every command-line tool of ours does around its commands: --help and --version, one stderr
// line per failure, exit status 0 on success, 1 on an error, 2 on a usage error, and a check that
// standard output took everything written to it.

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orva::tool {

// A command line that does not fit a command's form: exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ToolInfo {
  const char* name;   // "orva-archive"
  const char* usage;  // one line, shown after a usage error
  const char* help;   // the text of --help
};

using ToolCommands = std::function<void(const std::vector<std::string>& args)>;

// --help or --version anywhere on the command line print and end with 0; otherwise the commands
// run with argv[1..].
int ToolMain(const ToolInfo& info, int argc, char** argv, const ToolCommands& commands);

}  // namespace orva::tool
