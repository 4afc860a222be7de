// Seeds for fuzz_bitmap: a depth byte, then a BMP or PNG picture of every kind the loader reads.
#include <png.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/byte_writer.h"

namespace {

void Save(const std::string& folder, const std::string& name, char depth, const std::string& bytes) {
  std::ofstream(folder + "/" + name, std::ios::binary) << depth << bytes;
}

// A 5 x 3 bitmap with a pixel pattern at any depth; compression 1/2 gives run lengths.
std::string Bmp(int bits, bool top_down, uint32_t compression, const std::vector<uint32_t>& masks, int header = 40) {
  const int width = 5, height = 3;
  const int palette = bits <= 8 ? (1 << bits) : 0;
  std::string pixels;
  if (compression == 1 || compression == 2) {
    const char rle[] = {3, 1, 0, 2, 5, 7, 9, 0, 0, 0, 2, 1, 1, 0, 0, 0, 3, 4, 5, 6, 0, 0, 0, 1};
    pixels.assign(rle, sizeof rle);
  } else {
    const int row_bytes = (width * bits + 31) / 32 * 4;
    for (int y = 0; y < height; ++y) {
      for (int i = 0; i < row_bytes; ++i) pixels.push_back(static_cast<char>((y * 37 + i * 11) & 0xFF));
    }
  }
  const int info = header == 12 ? 12 : header;
  const int offset = 14 + info + static_cast<int>(masks.size()) * 4 + palette * (header == 12 ? 3 : 4);
  orva::ByteWriter w;
  w.U16(0x4D42);
  w.U32(static_cast<uint32_t>(offset) + static_cast<uint32_t>(pixels.size()));
  w.U32(0);
  w.U32(static_cast<uint32_t>(offset));
  w.U32(static_cast<uint32_t>(info));
  if (header == 12) {
    w.U16(width);
    w.U16(height);
    w.U16(1);
    w.U16(static_cast<uint16_t>(bits));
  } else {
    w.I32(width);
    w.I32(top_down ? -height : height);
    w.U16(1);
    w.U16(static_cast<uint16_t>(bits));
    w.U32(compression);
    w.U32(static_cast<uint32_t>(pixels.size()));
    w.I32(2835);
    w.I32(2835);
    w.U32(0);
    w.U32(0);
    for (int i = 40; i < header; ++i) w.U8(0);
  }
  for (uint32_t m : masks) w.U32(m);
  for (int i = 0; i < palette; ++i) {
    w.U8(static_cast<uint8_t>(i * 16));
    w.U8(static_cast<uint8_t>(255 - i));
    w.U8(static_cast<uint8_t>(i * 7));
    if (header != 12) w.U8(0);
  }
  w.Chars(pixels);
  return w.Take();
}

std::string Png(uint32_t format, int width, int height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = format;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 29);
  std::vector<uint8_t> colormap(256 * 4);
  for (size_t i = 0; i < colormap.size(); ++i) colormap[i] = static_cast<uint8_t>(i * 3);
  const void* map = (format & PNG_FORMAT_FLAG_COLORMAP) ? colormap.data() : nullptr;
  if (map) image.colormap_entries = 16;
  if (map) {
    for (auto& p : pixels) p &= 15;
  }
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, map)) return {};
  std::string out(size, '\0');
  png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, map);
  out.resize(size);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string folder = argv[1];
  Save(folder, "bmp1", 4, Bmp(1, false, 0, {}));
  Save(folder, "bmp4", 0, Bmp(4, false, 0, {}));
  Save(folder, "bmp8", 1, Bmp(8, false, 0, {}));
  Save(folder, "bmp8-core-header", 4, Bmp(8, false, 0, {}, 12));
  Save(folder, "bmp16", 2, Bmp(16, false, 0, {}));
  Save(folder, "bmp16-565", 1, Bmp(16, false, 3, {0xF800, 0x07E0, 0x001F}));
  Save(folder, "bmp16-444", 4, Bmp(16, false, 3, {0x0F00, 0x00F0, 0x000F}));
  Save(folder, "bmp24", 3, Bmp(24, false, 0, {}));
  Save(folder, "bmp24-top-down", 2, Bmp(24, true, 0, {}));
  Save(folder, "bmp32", 4, Bmp(32, false, 0, {}));
  Save(folder, "bmp32-v5-header", 3, Bmp(32, false, 3, {}, 124));
  Save(folder, "bmp32-fields", 0, Bmp(32, false, 3, {0x0000FF, 0x00FF00, 0xFF0000}));
  Save(folder, "bmp-rle8", 4, Bmp(8, false, 1, {}));
  Save(folder, "bmp-rle4", 2, Bmp(4, false, 2, {}));
  Save(folder, "png-gray", 4, Png(PNG_FORMAT_GRAY, 7, 5));
  Save(folder, "png-rgb", 1, Png(PNG_FORMAT_RGB, 7, 5));
  Save(folder, "png-rgba", 4, Png(PNG_FORMAT_RGBA, 6, 4));
  Save(folder, "png-palette", 0, Png(PNG_FORMAT_RGB_COLORMAP, 9, 3));
  Save(folder, "png-linear", 2, Png(PNG_FORMAT_LINEAR_RGB_ALPHA, 3, 3));
  return 0;
}
