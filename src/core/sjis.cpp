#include "core/sjis.h"

namespace orva::sjis {

bool IsTrailByteAt(std::string_view s, size_t i) {
  if (i == 0 || i >= s.size()) return false;
  size_t run = 0;
  size_t j = i;
  while (j > 0 && IsLeadByte(static_cast<uint8_t>(s[j - 1]))) {
    --j;
    ++run;
  }
  return (run % 2) == 1;
}

namespace {

// Walks s character by character and applies fold to single-byte characters only.
template <typename Fold>
std::string MapSingleBytes(std::string_view s, Fold fold) {
  std::string out(s);
  for (size_t i = 0; i < out.size();) {
    const size_t len = CharLengthAt(out, i);
    if (len == 1) out[i] = fold(out[i]);
    i += len;
  }
  return out;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string AnsiUpperCase(std::string_view s) { return MapSingleBytes(s, Upper); }
std::string AnsiLowerCase(std::string_view s) { return MapSingleBytes(s, Lower); }

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size();) {
    const size_t len_a = CharLengthAt(a, i);
    const size_t len_b = CharLengthAt(b, i);
    if (len_a != len_b) return false;
    if (len_a == 1) {
      if (Upper(a[i]) != Upper(b[i])) return false;
    } else if (a[i] != b[i] || a[i + 1] != b[i + 1]) {
      return false;
    }
    i += len_a;
  }
  return true;
}

bool IsPathDelimiterAt(std::string_view s, size_t i, bool slash_too) {
  if (i >= s.size()) return false;
  const char c = s[i];
  if (c != '\\' && !(slash_too && c == '/')) return false;
  return !IsTrailByteAt(s, i);
}

}  // namespace orva::sjis
