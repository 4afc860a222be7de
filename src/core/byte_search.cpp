#include "core/byte_search.h"

#include <string.h>

namespace orva {

size_t FindBytes(std::string_view s, std::string_view pattern, size_t from) {
  if (pattern.empty() || from >= s.size() || pattern.size() > s.size() - from) return std::string_view::npos;
  // The C library's memmem is the two-way search, linear in both lengths.
  const void* at = memmem(s.data() + from, s.size() - from, pattern.data(), pattern.size());
  return at != nullptr ? static_cast<size_t>(static_cast<const char*>(at) - s.data()) : std::string_view::npos;
}

}  // namespace orva
