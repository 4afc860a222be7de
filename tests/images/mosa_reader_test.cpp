#include <gtest/gtest.h>

#include "core/error.h"
#include "images/mosa_frames.h"
#include "images/mosa_pixel_data.h"
#include "images/picture_pixels.h"
#include "layered_image_support.h"

namespace orva {
namespace {

using testing::AlphaOf;
using testing::AlphaRows;
using testing::AsBytes;
using testing::BuildMosa;
using testing::FileSpec;
using testing::FrameSpec;
using testing::LayerSpec;
using testing::PixelsOf;
using testing::Rows;
using testing::Zlib;

const std::vector<uint32_t> kPixels = {0x112233, 0x445566, 0x778899, 0xAABBCC, 0x010203, 0xFFFFFF};  // 3 x 2

LayerSpec ColourLayer(const std::vector<uint8_t>& plain, bool compressed) {
  LayerSpec layer;
  layer.colour = compressed ? Zlib(plain) : plain;
  return layer;
}

FrameSpec Frame24(const std::vector<uint32_t>& pixels, bool compressed) {
  FrameSpec frame;
  frame.width = 3;
  frame.height = 2;
  frame.layers.push_back(ColourLayer(Rows(3, 2, 24, pixels), compressed));
  return frame;
}

TMosaFrameList Load(const std::string& file, int32_t key = 0, FrameSelection selection = FrameSelection::All) {
  TMosaFrameList list(key);
  list.LoadFromBytes(AsBytes(file), selection);
  return list;
}

// Every version reads its own header and records; the composed pictures, the background colour and
// the regions come out where each version has them.
TEST(LayeredImageReader, ReadsEveryVersion) {
  struct Case {
    int32_t version;
    uint32_t expected_back;
    bool expects_regions;
  };
  for (const Case c : {Case{0, 0, false}, Case{99, 0, false}, Case{100, 0, false}, Case{101, 0, false},
                       Case{102, 0x00123456, false}, Case{103, 0x00123456, false}, Case{104, 0x00123456, true},
                       Case{105, 0x00123456, true}, Case{106, 0x00123456, true}}) {
    SCOPED_TRACE(c.version);
    FileSpec description;
    description.version = c.version;
    description.back_color = 0x00123456;
    description.frames.push_back(Frame24(kPixels, true));
    std::vector<uint32_t> second(kPixels.rbegin(), kPixels.rend());
    description.frames.push_back(Frame24(second, true));
    description.frames[1].name = "Second";
    description.frames[1].delay = 250;
    description.frames[1].regions = {TRect{0, 0, 2, 1}};
    description.frames[1].regions2 = {TRect{1, 1, 3, 2}, TRect{0, 0, 1, 1}};
    TMosaFrameList list = Load(BuildMosa(description));
    EXPECT_EQ(list.Version, c.version);
    EXPECT_EQ(list.BackColor, c.expected_back);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(PixelsOf(list[0]->Picture), kPixels);
    EXPECT_EQ(PixelsOf(list[1]->Picture), second);
    EXPECT_EQ(list[1]->Name, "Second");
    EXPECT_EQ(list[1]->Delay, 250);
    EXPECT_EQ(list[1]->Layers.Count(), 0);
    if (c.expects_regions) {
      EXPECT_EQ(list[1]->Regions, (std::vector<TRect>{{0, 0, 2, 1}}));
      EXPECT_EQ(list[1]->Regions2, (std::vector<TRect>{{1, 1, 3, 2}, {0, 0, 1, 1}}));
    } else {
      EXPECT_TRUE(list[1]->Regions.empty());
    }
  }
}

TEST(LayeredImageReader, FirstFrameOnlyStopsAfterTheFirstFrame) {
  FileSpec description;
  description.version = 102;
  description.frames = {Frame24(kPixels, true), Frame24(kPixels, true)};
  std::string file = BuildMosa(description);
  file.resize(file.size() - 5);  // the unread second frame may even be damaged
  TMosaFrameList list = Load(file, 0, FrameSelection::FirstOnly);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(PixelsOf(list[0]->Picture), kPixels);
}

// Headers longer than the 40-byte record are read and their excess skipped; shorter ones leave
// the rest of the record zero.
TEST(LayeredImageReader, HeaderRecordOfOtherSizes) {
  for (int32_t size : {40, 48, 200}) {
    SCOPED_TRACE(size);
    FileSpec description;
    description.header_size = size;
    description.back_color = 0x0000FF00;
    description.frames = {Frame24(kPixels, false)};
    description.kind = 1;
    TMosaFrameList list = Load(BuildMosa(description));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.BackColor, 0x0000FF00u);
    EXPECT_EQ(PixelsOf(list[0]->Picture), kPixels);
  }
  // A 24-byte record holds the frame count and the kind, not the colour or tiles.
  FileSpec description;
  description.header_size = 24;
  description.kind = 1;
  description.back_color = 0x00ABCDEF;
  description.frames = {Frame24(kPixels, false)};
  TMosaFrameList list = Load(BuildMosa(description));
  EXPECT_EQ(list.BackColor, 0u);
  EXPECT_EQ(PixelsOf(list[0]->Picture), kPixels);
}

TEST(LayeredImageReader, RawAndJpegKinds) {
  FileSpec raw;
  raw.kind = 1;
  raw.frames = {Frame24(kPixels, false)};
  EXPECT_EQ(PixelsOf(Load(BuildMosa(raw))[0]->Picture), kPixels);

  // Kind 2 colour data is a JPEG; its alpha stays a zlib block. A flat colour survives JPEG closely.
  TMosaFrameList source;
  TMosaFrame& frame = *source.AddFrame();
  frame.Picture.SetSize(16, 16, 24);
  FillPicture(frame.Picture, 0x3080C0);
  frame.Picture.SetAlphaChannel(true);
  for (int32_t y = 0; y < 16; ++y) std::fill_n(frame.Picture.Alpha()->Row(y), 16, static_cast<uint8_t>(y * 16));
  const std::string file = source.SaveToBytes(MosaCompression::Nonreversible, 95);
  EXPECT_EQ(file[4 + 3 + 4 + 22], 2);
  TMosaFrameList list = Load(file);
  const TDIBSurface& picture = list[0]->Picture;
  ASSERT_EQ(picture.BitCount(), 24);
  for (uint32_t v : PixelsOf(picture)) {
    EXPECT_NEAR(static_cast<int>(v >> 16), 0x30, 3);
    EXPECT_NEAR(static_cast<int>((v >> 8) & 0xFF), 0x80, 3);
    EXPECT_NEAR(static_cast<int>(v & 0xFF), 0xC0, 3);
  }
  EXPECT_EQ(AlphaOf(picture), AlphaOf(frame.Picture));

  // A palette frame stored as JPEG comes back through the nearest palette entries.
  TMosaFrameList indexed;
  TDIBSurface& palette_picture = indexed.AddFrame()->Picture;
  palette_picture.SetSize(32, 16, 8);
  // Greys differ in luma only, which JPEG keeps at full resolution.
  const uint32_t entries[] = {0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF};
  for (size_t i = 0; i < 256; ++i) palette_picture.Palette()[i] = i < 5 ? entries[i] : 0xFF00FF;
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 32; ++x) SetPixelValue(palette_picture, x, y, static_cast<uint32_t>((x / 8 + y / 8) % 5));
  TMosaFrameList back = Load(indexed.SaveToBytes(MosaCompression::Nonreversible, 95));
  EXPECT_EQ(back[0]->Picture.BitCount(), 8);
  EXPECT_EQ(PixelsOf(back[0]->Picture), PixelsOf(palette_picture));
}

// Stored row i belongs at row P(i); with key 0 the permutation is the identity.
TEST(LayeredImageReader, ScrambledRows) {
  const int32_t height = 7;
  std::vector<uint32_t> pixels;
  for (int32_t i = 0; i < 2 * height; ++i) pixels.push_back(0x010101u * static_cast<uint32_t>(i + 1));
  const std::vector<uint8_t> rows = Rows(2, height, 24, pixels);
  const size_t row_bytes = rows.size() / height;
  const std::vector<int32_t> order = ScramblePermutation(12345, height);
  std::vector<uint8_t> stored(rows.size());
  for (int32_t i = 0; i < height; ++i) {
    std::copy_n(rows.begin() + static_cast<ptrdiff_t>(order[static_cast<size_t>(i)] * row_bytes), row_bytes,
                stored.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(i) * row_bytes));
  }
  ASSERT_NE(stored, rows);
  FileSpec description;
  description.scrambled = 1;
  description.kind = 1;
  FrameSpec frame;
  frame.width = 2;
  frame.height = height;
  frame.layers.push_back(ColourLayer(stored, false));
  description.frames = {frame};
  EXPECT_EQ(PixelsOf(Load(BuildMosa(description), 12345)[0]->Picture), pixels);

  description.frames[0].layers[0].colour = rows;
  EXPECT_EQ(PixelsOf(Load(BuildMosa(description), 0)[0]->Picture), pixels);
}

std::vector<uint8_t> TileTable(const std::vector<std::pair<int32_t, int32_t>>& entries) {
  std::vector<uint8_t> out;
  for (auto [source, index] : entries) {
    for (int32_t v : {source, index}) {
      for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
    }
  }
  return out;
}

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) { out.insert(out.end(), more.begin(), more.end()); }

// A 5 x 3 picture in 2 x 2 tiles: 3 x 2 tiles, the last column one pixel wide, the last row one
// pixel high. Tiles come from the stream (-1), from an earlier tile (-2) and from frame 0's layer.
TEST(LayeredImageReader, TilesFromEverySource) {
  const auto pixel = [](int32_t frame, int32_t x, int32_t y) { return static_cast<uint32_t>(frame << 16 | y << 8 | x); };
  std::vector<uint32_t> first;
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 5; ++x) first.push_back(pixel(1, x, y));

  // Frame 0: every tile stored, each row of a tile unpadded (2 or 1 pixels of 3 bytes).
  std::vector<uint8_t> frame0 = TileTable({{-1, 0}, {-1, 0}, {-1, 0}, {-1, 0}, {-1, 0}, {-1, 0}});
  for (int32_t ty = 0; ty < 2; ++ty) {
    for (int32_t tx = 0; tx < 3; ++tx) {
      for (int32_t y = ty * 2; y < std::min(3, ty * 2 + 2); ++y) {
        for (int32_t x = tx * 2; x < std::min(5, tx * 2 + 2); ++x) {
          const uint32_t v = pixel(1, x, y);
          Append(frame0, {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16)});
        }
      }
    }
  }
  // Frame 1: tile 0 stored (one colour), tile 1 a copy of tile 0, the rest from frame 0, layer 0.
  std::vector<uint8_t> frame1 = TileTable({{-1, 0}, {-2, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}});
  for (int i = 0; i < 4; ++i) Append(frame1, {0x11, 0x22, 0x33});
  std::vector<uint32_t> second = first;
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x) second[static_cast<size_t>(y * 5 + x)] = 0x332211;

  for (const bool scrambled : {false, true}) {
    SCOPED_TRACE(scrambled);
    const int32_t key = scrambled ? 777 : 0;
    FileSpec description;
    description.kind = 0;
    description.scrambled = scrambled;
    description.tile_width = 2;
    description.tile_height = 2;
    std::vector<uint8_t> blocks[2] = {frame0, frame1};
    if (scrambled) {
      // Stored entry i belongs at position P(i).
      const std::vector<int32_t> order = ScramblePermutation(key, 6);
      for (std::vector<uint8_t>& block : blocks) {
        std::vector<uint8_t> table(block.begin(), block.begin() + 48);
        for (int32_t i = 0; i < 6; ++i) {
          std::copy_n(table.begin() + order[static_cast<size_t>(i)] * 8, 8, block.begin() + i * 8);
        }
      }
    }
    for (const std::vector<uint8_t>& block : blocks) {
      FrameSpec frame;
      frame.width = 5;
      frame.height = 3;
      frame.layers.push_back(ColourLayer(block, true));
      description.frames.push_back(frame);
    }
    TMosaFrameList list = Load(BuildMosa(description), key);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(PixelsOf(list[0]->Picture), first);
    EXPECT_EQ(PixelsOf(list[1]->Picture), second);
  }
}

TEST(LayeredImageReader, TilesOfAlphaChannelsAndPaletteBits) {
  // A 4-bit 3 x 1 picture in 2 x 1 tiles: rows of ceil(2 * 4 / 8) = 1 and ceil(1 * 4 / 8) = 1 bytes.
  FileSpec description;
  description.kind = 1;
  description.tile_width = 2;
  description.tile_height = 1;
  FrameSpec frame;
  frame.width = 3;
  frame.height = 1;
  frame.bits = 4;
  frame.palette.assign(16, 0);
  LayerSpec layer;
  layer.colour = TileTable({{-1, 0}, {-1, 0}});
  Append(layer.colour, {0xAB, 0xC0});
  layer.alpha = TileTable({{-1, 0}, {-1, 0}});
  Append(layer.alpha, {10, 20, 30});
  frame.layers.push_back(layer);
  description.frames = {frame};
  TMosaFrameList list = Load(BuildMosa(description));
  EXPECT_EQ(PixelsOf(list[0]->Picture), (std::vector<uint32_t>{0xA, 0xB, 0xC}));
  EXPECT_EQ(AlphaOf(list[0]->Picture), (std::vector<uint8_t>{10, 20, 30}));
}

TEST(LayeredImageReader, ReadsPngAndBitmapFilesIntoOneFrame) {
  // A 2 x 2 32-bit bottom-up bitmap: its fourth byte becomes the alpha channel of a 24-bit picture.
  const uint8_t bitmap[] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                            40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 16, 0, 0, 0,
                            0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                            1, 2, 3, 4, 5, 6, 7, 8,   // bottom row
                            9, 10, 11, 12, 13, 14, 15, 16};
  TMosaFrameList list;
  ASSERT_TRUE(list.LoadFromFileBytes("PICTURE.BMP", bitmap));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list[0]->Picture.BitCount(), 24);
  EXPECT_EQ(PixelsOf(list[0]->Picture), (std::vector<uint32_t>{0x0B0A09, 0x0F0E0D, 0x030201, 0x070605}));
  EXPECT_EQ(AlphaOf(list[0]->Picture), (std::vector<uint8_t>{12, 16, 4, 8}));

  EXPECT_FALSE(list.LoadFromFileBytes("picture.gif", bitmap));
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace orva
