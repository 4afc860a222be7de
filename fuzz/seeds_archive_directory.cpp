// Seeds for fuzz_archive_directory: archives of every version.
#include <cstdio>

#include "archive_seeds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seeds_archive_directory FOLDER\n");
    return 2;
  }
  orva::fuzz::WriteArchiveSeeds(argv[1]);
  return 0;
}
