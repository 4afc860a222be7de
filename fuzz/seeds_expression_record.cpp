// Seeds for fuzz_expression_record: compiled records of typical scenario expressions.
#include <fstream>
#include <string>

#include "core/byte_writer.h"
#include "script/build_parser.h"

namespace {

const char* const kTexts[] = {
    "i = i + 1",
    "a[i % 3, 1] = a[i % 3, 1] + i * 2",
    "r = r * 1.0001 + 0.5",
    "s = s ++ \"x\"",
    "f = i > 500 & s <> \"abc\"",
    "i = -i << 2 >> 1 ^ $1F",
    "IntToStr(i, 3) ++ Trim(s)",
    "GetProp(\"c\", 95) + 1",
    "f = TRUE",
    "i = 7 / 0",
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  int n = 0;
  for (const char* text : kTexts) {
    orva::TBuildOrvaParser builder;
    builder.Compile(text);
    orva::ByteWriter w;
    builder.SaveTo(w);
    std::ofstream(std::string(argv[1]) + "/record-" + std::to_string(n++), std::ios::binary) << w.Data();
  }
  return 0;
}
