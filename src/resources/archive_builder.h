#pragma once
// Builds archives of any directory version from given entry data, byte for byte as the players of
// each version wrote them: for test titles, regression inputs and fuzz seeds. The player itself
// writes version 102 only (TVrFileCollection::WriteArchive).

#include <cstdint>
#include <string>
#include <vector>

namespace orva {

struct BuiltArchiveEntry {
  std::string name;  // Shift-JIS
  std::string data;  // as stored: a zlib stream unless stored is set
  bool stored = false;
  int32_t timestamp = 0;
  uint32_t crc = 0;
  bool crc_of_plain = false;
};

// An entry from plain contents: compressed at level 1 unless stored; the CRC follows crc_of_plain.
BuiltArchiveEntry MakeBuiltEntry(std::string name, const std::string& plain, bool stored, bool crc_of_plain = true);

// The archive as bytes. Version 0 has no magic; fields appear by version as the reader expects.
std::string BuildArchive(int32_t version, const std::vector<BuiltArchiveEntry>& entries);

}  // namespace orva
