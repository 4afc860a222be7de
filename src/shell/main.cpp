#include <iostream>
#include <string>
#include <vector>

#include "shell/entry.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return orva::RunPlayer(args, std::cout, std::cerr);
}
