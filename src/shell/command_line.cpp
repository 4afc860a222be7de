#include "shell/command_line.h"

#include <charconv>
#include <functional>

namespace orva {
namespace {

std::optional<int> ParseInt(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

struct IntOption {
  const char* name;
  int PlayerOptions::*field;
  int low;
  int high;
};

constexpr IntOption kIntOptions[] = {
    {"--frames", &PlayerOptions::frames, 0, 2147483647},
    {"--frame-ms", &PlayerOptions::frame_ms, 1, 1000},
};

struct FlagOption {
  const char* name;
  bool PlayerOptions::*field;
};

constexpr FlagOption kFlagOptions[] = {
    {"--headless", &PlayerOptions::headless},
    {"--help", &PlayerOptions::help},
    {"--version", &PlayerOptions::version},
};

}  // namespace

std::variant<PlayerOptions, CommandLineError> ParseCommandLine(const std::vector<std::string>& args) {
  PlayerOptions options;
  bool options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!options_ended && arg == "--") {
      options_ended = true;
      continue;
    }
    if (!options_ended && arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      std::string name = arg;
      std::optional<std::string> inline_value;
      if (const size_t eq = arg.find('='); eq != std::string::npos) {
        name = arg.substr(0, eq);
        inline_value = arg.substr(eq + 1);
      }
      bool known = false;
      for (const auto& flag : kFlagOptions) {
        if (name != flag.name) continue;
        if (inline_value) return CommandLineError{std::string(flag.name) + " takes no value"};
        options.*flag.field = true;
        known = true;
      }
      for (const auto& option : kIntOptions) {
        if (name != option.name) continue;
        known = true;
        std::string value;
        if (inline_value) {
          value = *inline_value;
        } else if (i + 1 < args.size()) {
          value = args[++i];
        } else {
          return CommandLineError{std::string(option.name) + " needs a value"};
        }
        const auto parsed = ParseInt(value);
        if (!parsed || *parsed < option.low || *parsed > option.high) {
          return CommandLineError{std::string(option.name) + " must be a whole number from " +
                                  std::to_string(option.low) + " to " + std::to_string(option.high) +
                                  ", not '" + value + "'"};
        }
        options.*option.field = *parsed;
      }
      if (!known) return CommandLineError{"unknown option '" + arg + "'"};
      continue;
    }
    if (options.title_argument) return CommandLineError{"more than one title given ('" + arg + "')"};
    options.title_argument = arg;
  }
  return options;
}

std::string PlayerUsage() {
  return "Usage: orvaplayer [OPTIONS] [TITLE]\n"
         "       orvaplayer /config\n"
         "\n"
         "Plays a title made with the authoring tool. TITLE is the title's folder, or an executable\n"
         "(.exe/.scr) with an archive appended; without TITLE the current folder is played.\n"
         "\"/config\" opens the sound settings of the title in the current folder.\n"
         "\n"
         "Options:\n"
         "  --headless       run without window and sound on a virtual clock\n"
         "  --frames N       headless: run at most N frame turns (default 3600)\n"
         "  --frame-ms MS    headless: each frame turn lasts MS milliseconds, 1 to 1000 (default 16)\n"
         "  --help           show this help and end\n"
         "  --version        show the version and end\n";
}

}  // namespace orva
