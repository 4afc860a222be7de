#pragma once
// Shift-JIS (code page 932) byte strings: the basic character routines.
// Everything a scenario sees is a Shift-JIS byte string held in std::string.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orva::sjis {

// A lead byte of a double-byte character in code page 932: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Whether the byte at 0-based position i is the second byte of a double-byte character: it is when
// it is preceded by an odd-length run of lead bytes. Position 0 never is. i must be inside s.
bool IsTrailByteAt(std::string_view s, size_t i);

// Byte length of the character starting at i: 2 for a lead byte followed by another byte, else 1.
inline size_t CharLengthAt(std::string_view s, size_t i) {
  return (IsLeadByte(static_cast<uint8_t>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

// The system's ANSI case mapping: single-byte ASCII letters only; double-byte characters
// (whose trail bytes may look like letters) are left as they are.
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);

// Equality ignoring the case of single-byte letters (double-byte characters compared exactly).
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

// Whether byte i is a path delimiter: a backslash that is not the trail byte of a character.
// With slash_too, "/" counts as well (Linux paths).
bool IsPathDelimiterAt(std::string_view s, size_t i, bool slash_too = false);

}  // namespace orva::sjis
