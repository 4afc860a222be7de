#include "render/bmp_writer.h"

#include <bit>

#include "core/byte_writer.h"
#include "render/custom_dibx.h"

namespace orva {

namespace {

// A channel of a native value widened to 8 bits by a plain left shift.
uint32_t Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int width = std::popcount(mask >> shift);
  const uint32_t value = (pixel & mask) >> shift;
  return width >= 8 ? value >> (width - 8) : value << (8 - width);
}

}  // namespace

std::string EncodeBmp24(const TCustomDIBX& surface) {
  auto& source = const_cast<TCustomDIBX&>(surface);
  const int32_t width = surface.GetWidth();
  const int32_t height = surface.GetHeight();
  const uint32_t row_bytes = static_cast<uint32_t>((int64_t{width} * 24 + 31) / 32 * 4);
  const uint32_t image_size = row_bytes * static_cast<uint32_t>(height);
  const int32_t bits = surface.GetBitCount();
  uint32_t palette[256] = {};
  if (bits <= 8) source.GetPalette(palette);

  ByteWriter w;
  w.U16(0x4D42);
  w.U32(14 + 40 + image_size);
  w.U32(0);
  w.U32(14 + 40);
  w.U32(40);
  w.I32(width);
  w.I32(height);
  w.U16(1);
  w.U16(24);
  w.U32(0);
  w.U32(image_size);
  w.I32(0);
  w.I32(0);
  w.U32(0);
  w.U32(0);
  const uint32_t red = surface.GetRedMask(), green = surface.GetGreenMask(), blue = surface.GetBlueMask();
  for (int32_t y = height - 1; y >= 0; --y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t pixel = surface.GetPixel(x, y);
      if (bits <= 8) {
        const uint32_t rgb = palette[pixel & 0xFF];  // R, G, B, 0
        w.U8(static_cast<uint8_t>(rgb >> 16));
        w.U8(static_cast<uint8_t>(rgb >> 8));
        w.U8(static_cast<uint8_t>(rgb));
      } else {
        w.U8(static_cast<uint8_t>(Channel(pixel, blue)));
        w.U8(static_cast<uint8_t>(Channel(pixel, green)));
        w.U8(static_cast<uint8_t>(Channel(pixel, red)));
      }
    }
    for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < row_bytes; ++pad) w.U8(0);
  }
  return w.Take();
}

}  // namespace orva
