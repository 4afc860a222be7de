#pragma once
// The text forms of numbers: the integer and real text rules every conversion from a string
// follows, and the text a real or an integer becomes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orva {

// Leading blanks, an optional sign, then decimal digits or hexadecimal digits after "$", "x",
// "X", "0x" or "0X". Anything else, or a value outside the signed 32-bit range, fails.
std::optional<int32_t> ParseIntText(std::string_view text);

// Optional blanks, an optional sign, digits with "." as decimal point, an optional exponent
// ("E" or "e", optional sign), optional trailing blanks. Anything else fails.
std::optional<long double> ParseRealText(std::string_view text);

std::string FormatInt(int32_t value);

// 15 significant digits without trailing zeros; the E form (1E20, 1.5E-5) when the value
// needs more than 15 digits before the point or is below 0.0001 in magnitude.
std::string FormatReal(long double value);

// Truncation toward zero to 64 bits, keeping the low 32 bits. Values beyond the 64-bit range
// and NaN give the integer indefinite, whose low half is 0.
int32_t TruncateRealToInt(long double value);

}  // namespace orva
