#include "core/extended.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace orva {

#if defined(__x86_64__) || defined(__i386__)
static_assert(LDBL_MANT_DIG == 64, "long double is expected to be the x87 extended format");
constexpr bool kNativeExtended = true;
#else
constexpr bool kNativeExtended = false;
#endif

long double DecodeExtended(const ExtendedBytes& bytes) {
  if constexpr (kNativeExtended) {
    long double value = 0;
    std::memcpy(&value, bytes.data(), bytes.size());
    return value;
  } else {
    return DecodeExtendedPortable(bytes);
  }
}

ExtendedBytes EncodeExtended(long double value) {
  if constexpr (kNativeExtended) {
    ExtendedBytes bytes{};
    std::memcpy(bytes.data(), &value, bytes.size());
    return bytes;
  } else {
    return EncodeExtendedPortable(value);
  }
}

long double DecodeExtendedPortable(const ExtendedBytes& bytes) {
  uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | bytes[i];
  const uint16_t top = static_cast<uint16_t>(bytes[8] | (bytes[9] << 8));
  const bool negative = (top & 0x8000) != 0;
  const int exponent = top & 0x7FFF;
  long double magnitude;
  if (exponent == 0x7FFF) {
    const bool infinite = (mantissa << 1) == 0;
    magnitude = infinite ? std::numeric_limits<long double>::infinity()
                         : std::numeric_limits<long double>::quiet_NaN();
  } else {
    // value = mantissa * 2^(exponent - 16383 - 63); a zero exponent means the denormal scale -16382.
    const int scale = (exponent == 0 ? 1 : exponent) - 16383 - 63;
    magnitude = std::ldexp(static_cast<long double>(mantissa), scale);
  }
  return negative ? -magnitude : magnitude;
}

ExtendedBytes EncodeExtendedPortable(long double value) {
  ExtendedBytes bytes{};
  const bool negative = std::signbit(value);
  uint64_t mantissa = 0;
  int exponent = 0;
  if (std::isnan(value)) {
    exponent = 0x7FFF;
    mantissa = 0xC000000000000000ull;
  } else if (std::isinf(value)) {
    exponent = 0x7FFF;
    mantissa = 0x8000000000000000ull;
  } else if (value != 0) {
    int e = 0;
    const long double fraction = std::frexp(std::fabs(value), &e);  // in [0.5, 1)
    exponent = e - 1 + 16383;
    if (exponent <= 0) {
      // Denormal: the exponent field is 0 and the scale stays -16382.
      mantissa = static_cast<uint64_t>(std::ldexp(std::fabs(value), 16382 + 63));
      exponent = 0;
    } else {
      mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
    }
  }
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(mantissa >> (8 * i));
  const uint16_t top = static_cast<uint16_t>(exponent | (negative ? 0x8000 : 0));
  bytes[8] = static_cast<uint8_t>(top);
  bytes[9] = static_cast<uint8_t>(top >> 8);
  return bytes;
}

}  // namespace orva
