#include "render_test_support.h"

namespace orva::test {

std::unique_ptr<TDIBX> MakeSurface(int32_t width, int32_t height, int32_t bits, uint32_t fill) {
  auto surface = std::make_unique<TDIBX>();
  surface->SetSize(width, height, bits);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) surface->SetPixel(x, y, fill);
  }
  return surface;
}

void Randomize(TCustomDIBX& surface, std::mt19937& random) {
  const int32_t bits = surface.GetBitCount();
  for (int32_t y = 0; y < surface.GetHeight(); ++y) {
    for (int32_t x = 0; x < surface.GetWidth(); ++x) {
      uint32_t v = static_cast<uint32_t>(random());
      if (bits == 8) {
        const uint32_t kind = v % 4;
        v = kind == 0 ? 0 : kind == 1 ? 255 : (v >> 8) & 0xFF;
      } else if (bits == 15 || bits == 16) {
        v &= 0xFFFF;
      } else if (bits == 24) {
        v &= 0xFFFFFF;
      }
      surface.SetPixel(x, y, v);
    }
  }
}

std::vector<uint32_t> Pixels(const TCustomDIBX& surface) {
  std::vector<uint32_t> out;
  for (int32_t y = 0; y < surface.GetHeight(); ++y) {
    for (int32_t x = 0; x < surface.GetWidth(); ++x) out.push_back(surface.GetPixel(x, y));
  }
  return out;
}

}  // namespace orva::test
