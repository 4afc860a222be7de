// BMP and PNG pictures loaded into a surface; the first byte picks the surface's depth.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/error.h"
#include "render/dibx.h"

namespace {

// Pictures above a million pixels only repeat the work of smaller ones.
constexpr int64_t kMaxPixels = 1 << 20;

int64_t DeclaredPixels(const uint8_t* data, size_t size) {
  auto le32 = [&](size_t at) -> int64_t {
    if (at + 4 > size) return 0;
    int32_t v;
    std::memcpy(&v, data + at, 4);
    return v < 0 ? -int64_t{v} : v;
  };
  auto be32 = [&](size_t at) -> int64_t {
    if (at + 4 > size) return 0;
    return int64_t{data[at]} << 24 | int64_t{data[at + 1]} << 16 | int64_t{data[at + 2]} << 8 | data[at + 3];
  };
  auto product = [](int64_t a, int64_t b) { return a > kMaxPixels || b > kMaxPixels ? kMaxPixels + 1 : a * b; };
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return product(le32(18), le32(22));
  if (size >= 4 && std::memcmp(data + 1, "PNG", 3) == 0) return product(be32(16), be32(20));
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const int32_t kDepths[] = {8, 15, 16, 24, 32, 1, 4};
  const int32_t bits = kDepths[data[0] % 7];
  ++data;
  --size;
  if (DeclaredPixels(data, size) > kMaxPixels) return 0;
  orva::TDIBX surface;
  surface.SetSize(3, 2, bits);
  try {
    surface.LoadFromStream(std::span<const uint8_t>(data, size), 0);
  } catch (const orva::EOrvaError&) {
    if (surface.GetWidth() != 3 || surface.GetHeight() != 2) __builtin_trap();
    return 0;
  }
  uint32_t sum = 0;
  for (int32_t y = 0; y < surface.GetHeight(); ++y) {
    for (int32_t x = 0; x < surface.GetWidth(); ++x) sum += surface.GetPixel(x, y);
  }
  volatile uint32_t sink = sum;
  (void)sink;
  return 0;
}
