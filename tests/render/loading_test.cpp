// Loading BMP and PNG pictures into surfaces of every depth, saving, and damaged files.

#include <png.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/byte_writer.h"
#include "core/error.h"
#include "render/layered_picture_loader.h"
#include "render_test_support.h"

namespace orva {
namespace {

using test::MakeSurface;
using test::Pixels;

// Colours of a 3 x 2 test picture, 0x00RRGGBB, top row first.
const uint32_t kPicture[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x804020, 0x000000};

struct BmpLayout {
  BmpLayout(int bits_, bool top_down_ = false, uint32_t compression_ = 0, std::vector<uint32_t> masks_ = {})
      : bits(bits_), top_down(top_down_), compression(compression_), masks(std::move(masks_)) {}
  int bits;
  bool top_down;
  uint32_t compression;
  std::vector<uint32_t> masks;  // bit fields, after a 40-byte header
};

// A 3 x 2 bitmap of kPicture at the given depth (indexed depths use a palette of the six colours).
std::string MakeBmp(const BmpLayout& layout) {
  const int width = 3, height = 2;
  const int row_bytes = (width * layout.bits + 31) / 32 * 4;
  const int palette = layout.bits <= 8 ? (1 << layout.bits) : 0;
  const int header = 14 + 40 + static_cast<int>(layout.masks.size()) * 4 + palette * 4;
  ByteWriter w;
  w.U16(0x4D42);
  w.U32(static_cast<uint32_t>(header + row_bytes * height));
  w.U32(0);
  w.U32(static_cast<uint32_t>(header));
  w.U32(40);
  w.I32(width);
  w.I32(layout.top_down ? -height : height);
  w.U16(1);
  w.U16(static_cast<uint16_t>(layout.bits));
  w.U32(layout.compression);
  w.U32(0);
  w.I32(0);
  w.I32(0);
  w.U32(0);
  w.U32(0);
  for (uint32_t m : layout.masks) w.U32(m);
  for (int i = 0; i < palette; ++i) w.U32(i < 6 ? kPicture[i] : 0);
  for (int r = 0; r < height; ++r) {
    const int y = layout.top_down ? r : height - 1 - r;
    std::vector<uint8_t> row(static_cast<size_t>(row_bytes));
    for (int x = 0; x < width; ++x) {
      const int i = y * width + x;
      const uint32_t c = kPicture[i];
      const uint32_t red = c >> 16 & 0xFF, green = c >> 8 & 0xFF, blue = c & 0xFF;
      switch (layout.bits) {
        case 1: if (i & 1) row[0] = static_cast<uint8_t>(row[0] | (0x80 >> x)); break;
        case 4: row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>((i & 15) << ((x & 1) ? 0 : 4)); break;
        case 8: row[static_cast<size_t>(x)] = static_cast<uint8_t>(i); break;
        case 16: {
          const uint32_t v = layout.masks.empty() || layout.masks[1] == 0x03E0
                                 ? (red >> 3) << 10 | (green >> 3) << 5 | blue >> 3
                                 : (red >> 3) << 11 | (green >> 2) << 5 | blue >> 3;
          row.at(static_cast<size_t>(x * 2)) = static_cast<uint8_t>(v);
          row.at(static_cast<size_t>(x * 2 + 1)) = static_cast<uint8_t>(v >> 8);
          break;
        }
        case 24:
          row.at(static_cast<size_t>(x * 3)) = static_cast<uint8_t>(blue);
          row.at(static_cast<size_t>(x * 3 + 1)) = static_cast<uint8_t>(green);
          row.at(static_cast<size_t>(x * 3 + 2)) = static_cast<uint8_t>(red);
          break;
        case 32: {
          // Channels in the low bytes in reverse order when bit fields say so.
          const uint32_t v = layout.masks.empty() ? (c | 0xAA000000u) : (blue << 16 | green << 8 | red);
          for (int b = 0; b < 4; ++b) row.at(static_cast<size_t>(x * 4 + b)) = static_cast<uint8_t>(v >> (8 * b));
          break;
        }
      }
    }
    w.Bytes(row);
  }
  return w.Take();
}

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// kPicture reduced to what a surface of the depth holds.
std::vector<uint32_t> Expected(int32_t bits, int32_t source_bits = 24) {
  std::vector<uint32_t> out;
  for (uint32_t c : kPicture) {
    uint32_t r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
    if (source_bits == 15 || source_bits == 16) {
      // Widened from 5 (or 6) bits by a plain shift first.
      r = r >> 3 << 3;
      g = source_bits == 16 ? g >> 2 << 2 : g >> 3 << 3;
      b = b >> 3 << 3;
    }
    switch (bits) {
      case 15: out.push_back((r >> 3) << 10 | (g >> 3) << 5 | b >> 3); break;
      case 16: out.push_back((r >> 3) << 11 | (g >> 2) << 5 | b >> 3); break;
      default: out.push_back(r << 16 | g << 8 | b); break;
    }
  }
  return out;
}

TEST(LoadingTest, BitmapsOfEveryDepthIntoSurfacesOfEveryDepth) {
  struct Case {
    const char* name;
    BmpLayout layout;
    int32_t source_bits;
  };
  const Case cases[] = {
      {"4-bit", {4}, 24},
      {"8-bit", {8}, 24},
      {"16-bit 5-5-5", {16}, 15},
      {"16-bit 5-6-5 bit fields", {16, false, 3, {0xF800, 0x07E0, 0x001F}}, 16},
      {"24-bit bottom-up", {24}, 24},
      {"24-bit top-down", {24, true}, 24},
      {"32-bit", {32}, 24},
      {"32-bit reversed bit fields", {32, false, 3, {0x0000FF, 0x00FF00, 0xFF0000}}, 24},
  };
  for (const Case& c : cases) {
    for (int32_t bits : {15, 16, 24, 32}) {
      SCOPED_TRACE(std::string(c.name) + " into " + std::to_string(bits));
      auto surface = MakeSurface(1, 1, bits);
      ASSERT_TRUE(surface->LoadFromStream(Bytes(MakeBmp(c.layout)), 0));
      EXPECT_EQ(surface->GetBitCount(), bits);
      EXPECT_EQ(surface->GetWidth(), 3);
      EXPECT_EQ(surface->GetHeight(), 2);
      EXPECT_EQ(Pixels(*surface), Expected(bits, c.source_bits));
    }
  }
}

TEST(LoadingTest, IndexedBitmapsKeepIndicesInIndexedSurfaces) {
  auto surface = MakeSurface(1, 1, 8);
  ASSERT_TRUE(surface->LoadFromStream(Bytes(MakeBmp({8})), 0));
  EXPECT_EQ(Pixels(*surface), (std::vector<uint32_t>{0, 1, 2, 3, 4, 5}));
  uint32_t palette[256];
  surface->GetPalette(palette);
  EXPECT_EQ(palette[0], 0x0000FFu);  // red as R, G, B, 0
  auto mono = MakeSurface(1, 1, 8);
  ASSERT_TRUE(mono->LoadFromStream(Bytes(MakeBmp({1})), 0));
  EXPECT_EQ(Pixels(*mono), (std::vector<uint32_t>{0, 1, 0, 1, 0, 1}));
}

TEST(LoadingTest, RunLengthBitmaps) {
  // 4 x 3, 8-bit RLE: a run, an absolute run, a delta over the middle row, end of picture.
  ByteWriter w;
  w.U16(0x4D42);
  w.U32(0);
  w.U32(0);
  w.U32(14 + 40 + 8);
  w.U32(40);
  w.I32(4);
  w.I32(3);
  w.U16(1);
  w.U16(8);
  w.U32(1);
  w.U32(0);
  w.I32(0);
  w.I32(0);
  w.U32(2);
  w.U32(0);
  w.U32(0x000000);
  w.U32(0xFFFFFF);
  for (uint8_t b : {4, 1, 0, 0, 0, 3, 1, 0, 1, 0, 0, 2, 1, 1, 2, 1, 0, 1}) w.U8(b);
  auto surface = MakeSurface(1, 1, 8);
  ASSERT_TRUE(surface->LoadFromStream(Bytes(w.Data()), 0));
  // Rows bottom-up: 1 1 1 1 / 1 0 1 _ then a delta of (1, 1) and 2 pixels of 1 at x = 4 (outside).
  EXPECT_EQ(Pixels(*surface), (std::vector<uint32_t>{0, 0, 0, 0, 1, 0, 1, 0, 1, 1, 1, 1}));
}

std::string MakePng(bool with_alpha) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 3;
  image.height = 2;
  image.format = with_alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  std::vector<uint8_t> pixels;
  for (int i = 0; i < 6; ++i) {
    pixels.push_back(static_cast<uint8_t>(kPicture[i] >> 16));
    pixels.push_back(static_cast<uint8_t>(kPicture[i] >> 8));
    pixels.push_back(static_cast<uint8_t>(kPicture[i]));
    if (with_alpha) pixels.push_back(static_cast<uint8_t>(i * 50));
  }
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr));
  std::string out(size, '\0');
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
  out.resize(size);
  return out;
}

TEST(LoadingTest, PngPictures) {
  for (bool alpha : {false, true}) {
    for (int32_t bits : {16, 32}) {
      auto surface = MakeSurface(1, 1, bits);
      ASSERT_TRUE(surface->LoadFromStream(Bytes(MakePng(alpha)), 0));
      EXPECT_EQ(Pixels(*surface), Expected(bits)) << alpha << bits;
    }
  }
}

TEST(LoadingTest, UnknownSignaturesAndLayeredImagesThroughTheRegisteredReader) {
  auto surface = MakeSurface(2, 2, 32, 5);
  EXPECT_FALSE(surface->LoadFromStream(Bytes("GIF89a"), 0));
  EXPECT_FALSE(surface->LoadFromStream(Bytes("Mosa106"), 0));
  EXPECT_EQ(Pixels(*surface), std::vector<uint32_t>(4, 5));
  int32_t seen_key = 0;
  RegisterLayeredPictureLoader([&](std::span<const uint8_t>, int32_t key, TDIBSurface& picture) {
    seen_key = key;
    picture.SetSize(1, 1, 24);
    picture.Row(0)[2] = 0xFF;
  });
  EXPECT_TRUE(surface->LoadFromStream(Bytes("Mosa106"), 1234));
  RegisterLayeredPictureLoader(nullptr);
  EXPECT_EQ(seen_key, 1234);
  EXPECT_EQ(Pixels(*surface), (std::vector<uint32_t>{0xFF0000}));
}

TEST(LoadingTest, SaveWritesA24BitBitmapThatLoadsBack) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("orva-render-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  auto surface = MakeSurface(1, 1, 16);
  ASSERT_TRUE(surface->LoadFromStream(Bytes(MakeBmp({24})), 0));
  const std::string name = (folder / "Shot.BMP").string();
  EXPECT_FALSE(surface->SaveToFile((folder / "shot.png").string()));
  EXPECT_FALSE(std::filesystem::exists(folder / "shot.png"));
  ASSERT_TRUE(surface->SaveToFile(name));
  std::ifstream in(name, std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(saved.size(), 14u + 40u + 2u * 12u);
  EXPECT_EQ(saved[28], 24);
  auto back = MakeSurface(1, 1, 32);
  ASSERT_TRUE(back->LoadFromFile(name));
  EXPECT_EQ(Pixels(*back), Expected(32, 16));
  EXPECT_FALSE(back->LoadFromFile((folder / "missing.bmp").string()));
  EXPECT_FALSE(back->LoadFromFile((folder / "shot.png").string()));
  std::filesystem::remove_all(folder);
}

// Damaged pictures: one clean error each, and the surface stays as it was.
TEST(LoadingTest, DamagedPicturesRaiseAndLeaveTheSurface) {
  const std::string good = MakeBmp({24});
  std::string wrong_bits = good;
  wrong_bits[28] = 7;
  std::string huge = good;
  huge[18] = 0;
  huge[19] = 0;
  huge[20] = 0x01;  // width 65536
  std::string negative_width = good;
  negative_width[21] = static_cast<char>(0x80);
  std::string palette_count = MakeBmp({8});
  palette_count[46] = 0x01;
  palette_count[47] = 0x10;  // 4097 colours
  std::string rle_top_down = MakeBmp({8, true, 1});
  const std::string png = MakePng(false);
  std::string png_crc = png;
  png_crc[png.size() / 2] ^= 0x55;

  struct Case {
    std::string name;
    std::string data;
    const char* message;
  };
  std::vector<Case> cases = {
      {"truncated pixels", good.substr(0, good.size() - 1), "Bitmap image is not valid"},
      {"truncated header", good.substr(0, 20), "Bitmap image is not valid"},
      {"bit count 7", wrong_bits, "Bitmap image is not valid"},
      {"width beyond the picture limit", huge, "Bitmap image is not valid"},
      {"negative width", negative_width, "Bitmap image is not valid"},
      {"too many palette entries", palette_count, "Bitmap image is not valid"},
      {"top-down run lengths", rle_top_down, "Bitmap image is not valid"},
      {"truncated png", png.substr(0, 40), nullptr},
      {"png with a damaged chunk", png_crc, nullptr},
  };
  // Kept damaged files, fuzzing finds among them.
  for (const auto& entry : std::filesystem::directory_iterator(std::string(ORVA_TEST_DATA_DIR) + "/malformed")) {
    const std::string file = entry.path().filename().string();
    if (file.rfind("bitmap-", 0) != 0) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), {});
    const char* message = data.rfind("BM", 0) == 0 ? "Bitmap image is not valid" : nullptr;
    cases.push_back({file, std::move(data), message});
  }
  EXPECT_GE(cases.size(), 11u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto surface = MakeSurface(2, 2, 32, 5);
    try {
      surface->LoadFromStream(Bytes(c.data), 0);
      ADD_FAILURE() << "no error";
    } catch (const EOrvaError& e) {
      const std::string message = e.what();
      if (c.message) EXPECT_EQ(message, c.message);
      else EXPECT_TRUE(message == "Bitmap image is not valid" || message.rfind("PNG image is not valid: ", 0) == 0)
          << message;
    }
    EXPECT_EQ(surface->GetWidth(), 2);
    EXPECT_EQ(Pixels(*surface), std::vector<uint32_t>(4, 5));
  }
}

}  // namespace
}  // namespace orva
