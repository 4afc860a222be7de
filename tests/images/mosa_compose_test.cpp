#include <gtest/gtest.h>

#include "images/mosa_compose.h"
#include "images/mosa_frames.h"
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

LayerSpec Layer(int32_t bits, const std::vector<uint32_t>& pixels, int32_t width = 2, int32_t height = 1) {
  LayerSpec layer;
  layer.colour = Rows(width, height, bits, pixels);
  return layer;
}

TMosaFrameList ComposeOne(FileSpec description) {
  description.kind = 1;
  TMosaFrameList list;
  list.LoadFromBytes(AsBytes(BuildMosa(description)));
  return list;
}

FrameSpec TwoByOne(int32_t bits, std::vector<LayerSpec> layers) {
  FrameSpec frame;
  frame.width = 2;
  frame.height = 1;
  frame.bits = bits;
  frame.layers = std::move(layers);
  return frame;
}

// The background colour in each format: 16 and 15 bits keep each channel's high bits.
TEST(LayeredImageCompose, BackgroundFill) {
  struct Case {
    int32_t bits;
    uint32_t back;
    uint32_t expected;
  };
  for (const Case c : {Case{16, 0x00808080, 0x8410}, Case{15, 0x00808080, 0x4210}, Case{24, 0x00332211, 0x112233},
                       Case{32, 0x00332211, 0x112233}}) {
    SCOPED_TRACE(c.bits);
    FileSpec description;
    description.back_color = c.back;
    description.frames = {TwoByOne(c.bits, {})};
    EXPECT_EQ(PixelsOf(ComposeOne(description)[0]->Picture), (std::vector<uint32_t>{c.expected, c.expected}));
  }
  // Palette pictures take the nearest entry.
  FileSpec description;
  description.back_color = 0x000000F0;  // red 240
  FrameSpec frame = TwoByOne(8, {});
  frame.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};  // entries 0x00RRGGBB
  description.frames = {frame};
  EXPECT_EQ(PixelsOf(ComposeOne(description)[0]->Picture), (std::vector<uint32_t>{1, 1}));
}

// Opacity below 255 mixes each channel: exact division on 15/16/24 bits, the masked shift on 32.
TEST(LayeredImageCompose, OpacityBlend) {
  struct Case {
    int32_t bits;
    uint32_t below, above, expected;
  };
  const auto div = [](uint32_t d, uint32_t s) { return (127 * d + 128 * s) / 255; };
  const auto shift = [](uint32_t d, uint32_t s) { return (127 * d + 128 * s) >> 8; };
  for (const Case c : {
           Case{24, 0x00FF10, 0xFF0030, (div(0, 0xFF) << 16) | (div(0xFF, 0) << 8) | div(0x10, 0x30)},
           Case{32, 0x00FF10, 0xFF0030, (shift(0, 0xFF) << 16) | (shift(0xFF, 0) << 8) | shift(0x10, 0x30)},
           Case{16, 0xF800, 0x001F, ((div(0xF800, 0) & 0xF800) | (div(0, 0x1F) & 0x1F))},
           Case{15, 0x03E0, 0x7C00, ((div(0, 0x7C00) & 0x7C00) | (div(0x03E0, 0) & 0x03E0))},
       }) {
    SCOPED_TRACE(c.bits);
    LayerSpec top = Layer(c.bits, {c.above, c.above});
    top.opacity = 128;
    FileSpec description;
    description.frames = {TwoByOne(c.bits, {Layer(c.bits, {c.below, c.below}), top})};
    EXPECT_EQ(PixelsOf(ComposeOne(description)[0]->Picture), (std::vector<uint32_t>{c.expected, c.expected}));
  }
}

// Transparent values are skipped, except by the first visible layer when BaseOpaque is set and it
// is fully opaque; an invisible layer before it does not count.
TEST(LayeredImageCompose, TransparentValuesAndBaseOpaque) {
  for (const uint8_t base_opaque : {0, 1}) {
    SCOPED_TRACE(base_opaque);
    LayerSpec hidden = Layer(24, {0x111111, 0x111111});
    hidden.visible = false;
    LayerSpec base = Layer(24, {0x0000FF, 0x00FF00});
    base.transparent = 0x0000FF;
    LayerSpec top = Layer(24, {0xABCDEF, 0x123456});
    top.transparent = 0x123456;
    FileSpec description;
    description.base_opaque = base_opaque;
    description.back_color = 0x00030201;
    description.frames = {TwoByOne(24, {hidden, base, top})};
    const uint32_t first = base_opaque ? 0x0000FF : 0x010203;
    EXPECT_EQ(PixelsOf(ComposeOne(description)[0]->Picture), (std::vector<uint32_t>{0xABCDEF, 0x00FF00}));
    // The top layer hides the first pixel either way; look under it with opacity 0.
    description.frames[0].layers[2].opacity = 0;
    EXPECT_EQ(PixelsOf(ComposeOne(description)[0]->Picture), (std::vector<uint32_t>{first, 0x00FF00}));
  }
}

// A layer with alpha and UseAlpha at position 0 gives the frame its alpha and is copied; at
// position 1 it is drawn through its alpha and the frame has none.
TEST(LayeredImageCompose, AlphaLayerAtFirstAndLaterPositions) {
  LayerSpec alpha_layer = Layer(24, {0x0000FF, 0x0000FF, 0x0000FF});
  alpha_layer.alpha = AlphaRows(3, 1, {0, 128, 255});
  alpha_layer.opacity = 255;
  alpha_layer.transparent = 0x0000FF;  // ignored: a layer with alpha has no transparent value
  alpha_layer.colour = Rows(3, 1, 24, {0x0000FF, 0x0000FF, 0x0000FF});

  FrameSpec first;
  first.width = 3;
  first.height = 1;
  first.layers = {alpha_layer};
  FileSpec description;
  description.frames = {first};
  TMosaFrameList list = ComposeOne(description);
  EXPECT_EQ(PixelsOf(list[0]->Picture), (std::vector<uint32_t>{0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(AlphaOf(list[0]->Picture), (std::vector<uint8_t>{0, 128, 255}));

  LayerSpec below;
  below.colour = Rows(3, 1, 24, {0x00FF00, 0x00FF00, 0x00FF00});
  first.layers = {below, alpha_layer};
  description.frames = {first};
  list = ComposeOne(description);
  const uint32_t mixed = (((255 - 128) * 0xFF) >> 8) << 8 | ((128 * 0xFF) >> 8);
  EXPECT_EQ(PixelsOf(list[0]->Picture), (std::vector<uint32_t>{0x00FF00, mixed, 0x0000FF}));
  EXPECT_FALSE(list[0]->Picture.Alpha());

  // Without UseAlpha the alpha data only clears the transparent value.
  alpha_layer.use_alpha = false;
  first.layers = {below, alpha_layer};
  description.frames = {first};
  list = ComposeOne(description);
  EXPECT_EQ(PixelsOf(list[0]->Picture), (std::vector<uint32_t>{0xFF, 0xFF, 0xFF}));
}

TEST(LayeredImageCompose, OrderedPatternsOnPalettePictures) {
  // Level 128 div 16 = 8: row 0 is 1110.
  EXPECT_TRUE(PatternTakesLayer(8, 0, 0));
  EXPECT_TRUE(PatternTakesLayer(8, 2, 0));
  EXPECT_FALSE(PatternTakesLayer(8, 3, 0));
  EXPECT_TRUE(PatternTakesLayer(8, 5, 4));
  EXPECT_TRUE(PatternTakesLayer(0, 0, 0));
  EXPECT_FALSE(PatternTakesLayer(0, 1, 0));
  EXPECT_TRUE(PatternTakesLayer(15, 3, 3));
  EXPECT_FALSE(PatternTakesLayer(14, 0, 3));

  LayerSpec below;
  below.colour = Rows(4, 4, 8, std::vector<uint32_t>(16, 1));
  LayerSpec above;
  above.colour = Rows(4, 4, 8, std::vector<uint32_t>(16, 2));
  above.opacity = 16 * 5 + 3;  // level 5
  FrameSpec frame;
  frame.width = 4;
  frame.height = 4;
  frame.bits = 8;
  frame.layers = {below, above};
  FileSpec description;
  description.frames = {frame};
  EXPECT_EQ(PixelsOf(ComposeOne(description)[0]->Picture),
            (std::vector<uint32_t>{2, 1, 2, 1, 1, 2, 1, 1, 2, 1, 2, 1, 1, 1, 1, 2}));
}

}  // namespace
}  // namespace orva
