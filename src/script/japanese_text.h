#pragma once
// Character-aware routines on Shift-JIS text: a character is one byte, or two when the first is a
// lead byte. Positions are 1-based; character positions count characters, byte positions bytes.

#include <cstdint>
#include <string>
#include <string_view>

namespace orva {

int32_t CharCount(std::string_view s);
// The code of character n (the byte, or lead * 256 + trail); fails with an index error outside.
uint32_t CharAt(std::string_view s, int32_t n);
// The byte position where character n starts; CharCount + 1 gives the position after the end;
// 0 outside 1 .. CharCount + 1.
int32_t BytePos(std::string_view s, int32_t n);
// Whether byte i is the second byte of a character; i outside the text fails with an index error.
bool IsTrailByte(std::string_view s, int32_t i);

// The characters at positions start .. start + count - 1 (positions below 1 left out).
std::string CharCopy(std::string_view s, int32_t start, int32_t count);
// Removes count characters from character start (start < 1 counts as 1).
std::string CharDelete(std::string_view s, int32_t start, int32_t count);
// Inserts t before character pos (pos < 1 counts as 1; beyond the end appends).
std::string CharInsert(std::string_view t, std::string_view s, int32_t pos);
// Without leading and trailing ASCII spaces and double-byte spaces; tabs and other bytes stay.
std::string CharTrim(std::string_view s);
// The text before the first delimiter byte that is not a second byte; s loses that text and the
// delimiter. Without one, all of s is returned and s becomes empty.
std::string SplitFirst(std::string& s, std::string_view delimiters);

// Half-width characters to their full-width forms (voiced marks joined); other single bytes are
// dropped and double-byte characters copied.
std::string HanToZen(std::string_view s);
// Full-width characters that have a half-width form to that form; everything else copied.
std::string ZenToHan(std::string_view s);

}  // namespace orva
