#include "core/extended.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace orva {
namespace {

double RoundTrip(double d) { return static_cast<double>(DecodeExtended(EncodeExtended(d))); }

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(Extended, EveryDoubleRoundTripsExactly) {
  const double specials[] = {0.0,
                             -0.0,
                             1.0,
                             -1.0,
                             0.1,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::lowest(),
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
  for (double d : specials) EXPECT_TRUE(SameBits(RoundTrip(d), d)) << d;

  // Random bit patterns cover every exponent, subnormals and NaNs alike.
  std::mt19937_64 rng(12345);
  for (int i = 0; i < 200000; ++i) {
    const uint64_t bits = rng();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    const double back = RoundTrip(d);
    if (std::isnan(d)) {
      EXPECT_TRUE(std::isnan(back));
      EXPECT_EQ(std::signbit(back), std::signbit(d));
    } else {
      ASSERT_TRUE(SameBits(back, d)) << std::hexfloat << d;
    }
  }
}

TEST(Extended, StoredBytesRoundTripExactlyIncludingNaNPayloads) {
  const ExtendedBytes cases[] = {
      {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x34, 0x12},  // an ordinary number
      {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0xFF, 0x7F},  // NaN with a payload
      {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xFF, 0xFF},  // -infinity
      {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // the smallest denormal
      {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F},  // the largest finite
  };
  for (const auto& bytes : cases) EXPECT_EQ(EncodeExtended(DecodeExtended(bytes)), bytes);
}

TEST(Extended, PortableCodecAgreesWithTheNativeOne) {
  std::mt19937_64 rng(777);
  std::uniform_int_distribution<int> exponent(-16440, 16383);
  for (int i = 0; i < 20000; ++i) {
    const long double v = std::ldexp(static_cast<long double>(rng()) / 18446744073709551616.0L, exponent(rng)) *
                          ((i & 1) ? -1 : 1);
    ASSERT_EQ(EncodeExtendedPortable(v), EncodeExtended(v)) << static_cast<double>(v);
    ASSERT_EQ(DecodeExtendedPortable(EncodeExtended(v)), v);
  }
  const long double inf = std::numeric_limits<long double>::infinity();
  EXPECT_EQ(EncodeExtendedPortable(-inf), EncodeExtended(-inf));
  EXPECT_TRUE(std::isnan(DecodeExtendedPortable(EncodeExtended(std::nanl("")))));
}

}  // namespace
}  // namespace orva
