#pragma once
// The player's command line: options of the run, then at most one title argument.

#include <cstdint>
#include <optional>
#include <variant>
#include <string>
#include <vector>

namespace orva {

struct PlayerOptions {
  bool headless = false;
  int frames = 3600;     // frame turns of a headless run
  int frame_ms = 16;     // virtual milliseconds per frame turn
  bool help = false;
  bool version = false;
  std::string dump_vars;  // file for the variables after the last turn
  std::string trace;      // file for the trace lines
  // The local time a headless run starts at (default 2001-01-01T00:00:00).
  std::string clock = "2001-01-01T00:00:00";
  uint32_t seed = 0;      // the built-in functions' random generator in a headless run
  // The first argument that is not an option, exactly as given (UTF-8 on Linux).
  std::optional<std::string> title_argument;
};

struct CommandLineError {
  std::string message;
};

// Parses argv[1..]; on a usage error returns the message (the caller exits with status 2).
// Options may come before or after the title argument; "--" ends the options.
std::variant<PlayerOptions, CommandLineError> ParseCommandLine(const std::vector<std::string>& args);

std::string PlayerUsage();

}  // namespace orva
