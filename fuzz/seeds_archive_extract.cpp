// Seeds for fuzz_archive_extract: archives of every version.
#include <cstdio>

#include "archive_seeds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seeds_archive_extract FOLDER\n");
    return 2;
  }
  orva::fuzz::WriteArchiveSeeds(argv[1]);
  return 0;
}
