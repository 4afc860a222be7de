#pragma once
// Seed archives for the archive fuzz targets: every directory version the reader accepts, with
// compressed and stored entries, an empty name, a Japanese name and an empty archive.

#include <fstream>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "resources/archive_builder.h"

namespace orva::fuzz {

inline void WriteArchiveSeeds(const std::string& folder) {
  const std::vector<BuiltArchiveEntry> entries = {
      MakeBuiltEntry("start.osb", "page page page page", false),
      MakeBuiltEntry(Utf8ToCp932("画像\\背景.mos"), "Mosa106 picture bytes", true, false),
      MakeBuiltEntry("", "", true),
      MakeBuiltEntry("bgm.ogg", std::string(300, 'o'), false, false),
  };
  int index = 0;
  for (int32_t version : {0, 1, 99, 100, 101, 102, 103}) {
    for (size_t count : {size_t{0}, size_t{1}, entries.size()}) {
      const std::vector<BuiltArchiveEntry> some(entries.begin(), entries.begin() + static_cast<long>(count));
      std::ofstream out(folder + "/v" + std::to_string(version) + "-" + std::to_string(index++) + ".bin",
                        std::ios::binary);
      const std::string bytes = BuildArchive(version, some);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
  }
}

}  // namespace orva::fuzz
