#pragma once
// Searching bytes in bytes in time linear in both lengths: titles may hand us hundreds of
// megabytes of one repeated byte, where a first-byte-then-compare scan takes hours.

#include <cstddef>
#include <string_view>

namespace orva {

// The 0-based byte offset of the first occurrence of pattern in s at or after from; npos when
// none or pattern is empty.
size_t FindBytes(std::string_view s, std::string_view pattern, size_t from = 0);

}  // namespace orva
