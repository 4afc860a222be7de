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

struct TextOption {
  const char* name;
  std::string PlayerOptions::*field;
};

constexpr TextOption kTextOptions[] = {
    {"--dump-vars", &PlayerOptions::dump_vars},
    {"--trace", &PlayerOptions::trace},
    {"--clock", &PlayerOptions::clock},
};

// YYYY-MM-DDTHH:MM:SS with a real calendar date.
bool IsClockText(const std::string& text) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':')
    return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18})
    if (text[i] < '0' || text[i] > '9') return false;
  const int year = std::stoi(text.substr(0, 4));
  const int month = std::stoi(text.substr(5, 2));
  const int day = std::stoi(text.substr(8, 2));
  const int days_in_month[] = {31, (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 29 : 28,
                               31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return year >= 1601 && month >= 1 && month <= 12 && day >= 1 && day <= days_in_month[month - 1] &&
         std::stoi(text.substr(11, 2)) < 24 && std::stoi(text.substr(14, 2)) < 60 && std::stoi(text.substr(17, 2)) < 60;
}

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
      for (const auto& option : kTextOptions) {
        if (name != option.name) continue;
        known = true;
        if (inline_value) {
          options.*option.field = *inline_value;
        } else if (i + 1 < args.size()) {
          options.*option.field = args[++i];
        } else {
          return CommandLineError{std::string(option.name) + " needs a value"};
        }
        if ((options.*option.field).empty()) return CommandLineError{std::string(option.name) + " needs a value"};
      }
      if (name == "--seed") {
        known = true;
        const std::string value = inline_value ? *inline_value : (i + 1 < args.size() ? args[++i] : std::string());
        uint32_t seed = 0;
        auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), seed);
        if (value.empty() || ec != std::errc() || ptr != value.data() + value.size()) {
          return CommandLineError{"--seed must be a whole number from 0 to 4294967295, not '" + value + "'"};
        }
        options.seed = seed;
      }
      if (!known) return CommandLineError{"unknown option '" + arg + "'"};
      continue;
    }
    if (options.title_argument) return CommandLineError{"more than one title given ('" + arg + "')"};
    options.title_argument = arg;
  }
  if (!IsClockText(options.clock)) {
    return CommandLineError{"--clock must be a local time YYYY-MM-DDTHH:MM:SS, not '" + options.clock + "'"};
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
         "  --dump-vars FILE headless: write the variables as JSON after the last turn\n"
         "  --trace FILE     write a line per executed command\n"
         "  --clock TIME     headless: the local time at the start, YYYY-MM-DDTHH:MM:SS\n"
         "                   (default 2001-01-01T00:00:00)\n"
         "  --seed N         headless: the seed of the scenario's random numbers (default 0)\n"
         "  --help           show this help and end\n"
         "  --version        show the version and end\n";
}

}  // namespace orva
