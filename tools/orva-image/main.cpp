// orva-image: describe, decode and encode layered images (.mos).

#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/error.h"
#include "image_commands.h"
#include "tool_main.h"

namespace {

using orva::image_tool::UsageError;

constexpr const char* kUsage =
    "usage: orva-image info [--key K] FILE.mos | decode [--key K] [--frame N] FILE.mos OUT.png | "
    "encode [--key K] [--compression 0|1|2] [--quality Q] IN.png OUT.mos";

constexpr const char* kHelp =
    "orva-image - describe, decode and encode OrvaPlayer layered images (.mos)\n"
    "\n"
    "  orva-image info [--key K] FILE.mos\n"
    "      JSON: version, background colour and, per frame, name, size, bit count, delay,\n"
    "      transparent value and colour, alpha channel, regions\n"
    "  orva-image decode [--key K] [--frame N] FILE.mos OUT.png\n"
    "      frame N (default 0) as composed, as an 8-bit RGBA PNG (alpha 255 without alpha channel)\n"
    "  orva-image encode [--key K] [--compression 0|1|2] [--quality Q] IN.png OUT.mos\n"
    "      a one-frame, one-layer file: RGB and grey PNGs as 24-bit pictures, RGBA PNGs with an\n"
    "      alpha channel, palette PNGs as 8-bit palette pictures. Compression 0 zlib (default),\n"
    "      1 none, 2 JPEG colour with quality Q (default 80); a non-zero key scrambles the rows\n"
    "      and stores them uncompressed\n"
    "\n"
    "K is the title's image key (default 0), decimal or 0x hexadecimal.\n"
    "Exit status: 0 success, 1 error, 2 usage error.\n";

int32_t ParseInteger(const std::string& text, const char* what, int64_t low, int64_t high) {
  size_t used = 0;
  int64_t value = 0;
  try {
    value = std::stoll(text, &used, 0);
  } catch (const std::exception&) {
    used = 0;
  }
  if (text.empty() || used != text.size() || value < low || value > high) {
    throw UsageError(std::string("invalid ") + what + " \"" + text + "\"");
  }
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

struct Options {
  int32_t key = 0;
  int32_t frame = 0;
  int32_t compression = 0;
  int32_t quality = 80;
  std::vector<std::string> operands;
};

// Options may stand anywhere among the operands; each allowed one takes a value.
Options ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& allowed) {
  Options options;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      options.operands.push_back(arg);
      continue;
    }
    bool known = false;
    for (const std::string& name : allowed) known = known || name == arg;
    if (!known) throw UsageError(args[0] + " does not take " + arg);
    if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
    const std::string& value = args[++i];
    if (arg == "--key") {
      options.key = ParseInteger(value, "key", INT32_MIN, UINT32_MAX);
    } else if (arg == "--frame") {
      options.frame = ParseInteger(value, "frame number", 0, INT32_MAX);
    } else if (arg == "--compression") {
      options.compression = ParseInteger(value, "compression", 0, 2);
    } else if (arg == "--quality") {
      options.quality = ParseInteger(value, "quality", 0, 100);
    }
  }
  return options;
}

void Run(const std::vector<std::string>& args) {
  const std::string& command = args[0];
  if (command == "info") {
    const Options options = ParseOptions(args, {"--key"});
    if (options.operands.size() != 1) throw UsageError("info takes [--key K] FILE.mos");
    orva::image_tool::Info(options.operands[0], options.key, std::cout);
  } else if (command == "decode") {
    const Options options = ParseOptions(args, {"--key", "--frame"});
    if (options.operands.size() != 2) throw UsageError("decode takes [--key K] [--frame N] FILE.mos OUT.png");
    orva::image_tool::Decode(options.operands[0], options.key, options.frame, options.operands[1]);
  } else if (command == "encode") {
    const Options options = ParseOptions(args, {"--key", "--compression", "--quality"});
    if (options.operands.size() != 2) {
      throw UsageError("encode takes [--key K] [--compression 0|1|2] [--quality Q] IN.png OUT.mos");
    }
    orva::image_tool::Encode(options.operands[0], options.key,
                             static_cast<orva::MosaCompression>(options.compression), options.quality,
                             options.operands[1]);
  } else {
    throw UsageError("unknown command \"" + command + "\"");
  }
}

}  // namespace

int main(int argc, char** argv) { return orva::tool::ToolMain({"orva-image", kUsage, kHelp}, argc, argv, Run); }
