// Seeds for fuzz_expression_text: typical scenario expressions, one per file.
#include <fstream>
#include <string>

namespace {

const char* const kTexts[] = {
    "i = i + 1",
    "a[i % 3, 1] = a[i % 3, 1] + i * 2",
    "r = r * 1.0001 + 0.5",
    "s = s ++ \"x\\n\\\"q\\\"\"",
    "f = i > 500 & (r <= 2.5 | s <> \"abc\")",
    "i = -i << 2 >> 1 ^ $1F",
    "IntToStr(i, 3) ++ Trim(s)",
    "SetArray(a, 2, 2)",
    "Calc(\"i = 3\") == TRUE",
    "i = (1 + (2 * (3 - 4))) / 0",
    "x[1, 2]",
    "f = 1.5e3 >= 0x10",
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  int n = 0;
  for (const char* text : kTexts) std::ofstream(std::string(argv[1]) + "/text-" + std::to_string(n++)) << text;
  return 0;
}
