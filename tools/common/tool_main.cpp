#include "tool_main.h"

#include <exception>
#include <iostream>

#include "core/error.h"

namespace orva::tool {

int ToolMain(const ToolInfo& info, int argc, char** argv, const ToolCommands& commands) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& arg : args) {
    if (arg == "--help") {
      std::cout << info.help;
      return 0;
    }
    if (arg == "--version") {
      std::cout << info.name << " " << ORVA_VERSION << "\n";
      return 0;
    }
  }
  try {
    if (args.empty()) throw UsageError("no command given");
    commands(args);
    std::cout.flush();
    if (!std::cout) throw EOrvaError("cannot write to standard output");
    return 0;
  } catch (const UsageError& e) {
    std::cerr << info.name << ": " << e.what() << "; " << info.usage << "\n";
    return 2;
  } catch (const std::exception& e) {
    // One line, whatever the message holds.
    std::string message = e.what();
    for (char& c : message) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    std::cerr << info.name << ": " << message << "\n";
    return 1;
  }
}

}  // namespace orva::tool
