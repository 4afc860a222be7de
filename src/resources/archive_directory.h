#pragma once
// The directory of an archive ("vf"): names, offsets and, from version 101 on, the stored flags,
// timestamps and CRCs; from version 102 on the CRC kinds. Names and offsets are scrambled from
// version 100 on with a generator seeded 1486203957, one for the names and a fresh one for the
// offsets.

#include <cstdint>
#include <string>
#include <vector>

#include "resources/big_stream.h"
#include "resources/random.h"

namespace orva {

inline constexpr int32_t kArchiveScrambleSeed = 1486203957;
inline constexpr int32_t kArchiveWriteVersion = 102;

struct ArchiveDirectoryEntry {
  std::string name;
  int64_t offset = 0;  // as stored: relative to the archive's start
  bool stored = false;
  int32_t timestamp = 0;
  uint32_t crc = 0;
  bool crc_of_plain = false;
};

struct ArchiveDirectory {
  int32_t version = 0;
  std::vector<ArchiveDirectoryEntry> entries;
  int64_t end_offset = 0;  // offset N: the end of the last entry's data
};

// Reads the directory at the stream's position. Counts and name lengths are checked against the
// bytes the stream still holds before anything is allocated; damage raises EOrvaError. Offsets
// are taken as read: an entry's data is checked when it is loaded.
ArchiveDirectory ReadArchiveDirectory(TQnBigStream& stream);

// Each byte of the name is XORed with the low 8 bits of the generator's next value.
void ScrambleName(TQnRandom& generator, std::string& name);
uint32_t ScrambleOffset32(TQnRandom& generator, uint32_t offset);
// The low half is XORed with the value, the high half with the value's sign.
uint64_t ScrambleOffset64(TQnRandom& generator, uint64_t offset);

}  // namespace orva
