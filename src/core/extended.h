#pragma once
// The 10-byte x87 extended real as stored in every file the player reads and writes:
// 64-bit mantissa with an explicit integer bit, 15-bit exponent biased by 16383, sign; little-endian.

#include <array>
#include <cstdint>

namespace orva {

using ExtendedBytes = std::array<uint8_t, 10>;

// Exact in both directions; NaN (with payload) and infinities are kept.
long double DecodeExtended(const ExtendedBytes& bytes);
ExtendedBytes EncodeExtended(long double value);

// The bit-level codec behind the two above, for machines whose long double is not the x87 format.
// It keeps every finite value that long double can hold, infinities and the sign of NaN.
long double DecodeExtendedPortable(const ExtendedBytes& bytes);
ExtendedBytes EncodeExtendedPortable(long double value);

}  // namespace orva
