#pragma once
// The rules by which the archive writer decides how an entry's data is kept: compressed at zlib's
// fastest level, or stored as it is (large data, media files, data that compresses poorly).

#include <cstdint>
#include <ctime>
#include <string>

namespace orva {

// Data of 5 MiB or more is large and stored as it is.
inline constexpr int64_t kLargeEntrySize = 5 * 1024 * 1024;

// Whether the writer compresses the folder file at path (its name's extension decides, and for a
// layered image its header). Raises EOrvaError when a layered image's version is not a number.
bool IsCompressibleFolderFile(const std::string& path, int64_t size);

// A modification time as a DOS date-time in local time: date in the high 16 bits, time in the low.
int32_t DosDateTime(std::time_t time);

}  // namespace orva
