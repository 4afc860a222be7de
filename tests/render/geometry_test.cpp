// Clipping, mirroring, stretching, rotation, tiling and the other geometric operations.

#include <gtest/gtest.h>

#include <climits>

#include "render/dibx_wave.h"
#include "render_test_support.h"

namespace orva {
namespace {

using test::MakeSurface;
using test::Pixels;

// A surface whose pixel (x, y) holds 100·y + x + 1.
std::unique_ptr<TDIBX> Numbered(int32_t width, int32_t height, int32_t bits = 32) {
  auto s = MakeSurface(width, height, bits);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) s->SetPixel(x, y, static_cast<uint32_t>(100 * y + x + 1));
  }
  return s;
}

std::vector<uint32_t> Row(const TCustomDIBX& s, int32_t y) {
  std::vector<uint32_t> out;
  for (int32_t x = 0; x < s.GetWidth(); ++x) out.push_back(s.GetPixel(x, y));
  return out;
}

TEST(ClipTest, AddClipHoldsTheUnionAndIgnoresOutsideRectangles) {
  auto s = MakeSurface(100, 100, 32);
  EXPECT_EQ(s->GetClipRect(), (TRect{0, 0, 100, 100}));
  s->AddClip(TRect{10, 10, 20, 20});
  s->AddClip(TRect{50, 5, 60, 15});
  EXPECT_EQ(s->GetClipRect(), (TRect{10, 5, 60, 20}));
  s->AddClip(TRect{200, 200, 300, 300});
  EXPECT_EQ(s->GetClipRect(), (TRect{10, 5, 60, 20}));
  s->ResetClip();
  s->AddClip(TRect{-50, 90, 10, 200});
  EXPECT_EQ(s->GetClipRect(), (TRect{0, 90, 10, 100}));
}

TEST(ClipTest, MirroredCopiesLoseTheFarEdgeOfTheSource) {
  auto src = Numbered(20, 1);
  struct Case {
    int32_t x;
    bool mirror;
    std::vector<uint32_t> first_three;
    int32_t at;
  };
  const Case cases[] = {
      {-10, true, {10, 9, 8}, 0},    // the 10 rightmost columns are gone, the rest mirrored
      {-10, false, {11, 12, 13}, 0},
      {10, true, {20, 19, 18}, 10},  // cut on the right: the source's left columns go
      {10, false, {1, 2, 3}, 10},
  };
  for (const Case& c : cases) {
    auto dst = MakeSurface(20, 1, 32);
    dst->Draw(c.x, 0, *src, TRect{0, 0, 20, 1}, false, c.mirror, false);
    const std::vector<uint32_t> row = Row(*dst, 0);
    EXPECT_EQ(std::vector<uint32_t>(row.begin() + c.at, row.begin() + c.at + 3), c.first_three) << c.x << c.mirror;
  }
  auto dst = MakeSurface(20, 1, 32);
  dst->Draw(-10, 0, *src, TRect{0, 0, 20, 1}, false, true, false);
  EXPECT_EQ(dst->GetPixel(9, 0), 1u);
  EXPECT_EQ(dst->GetPixel(10, 0), 0u);
}

TEST(ClipTest, VerticalMirrorAndClipRectangle) {
  auto src = Numbered(2, 4);
  auto dst = MakeSurface(2, 4, 32);
  dst->AddClip(TRect{0, 1, 2, 3});
  dst->Draw(0, 0, *src, TRect{0, 0, 2, 4}, false, false, true);
  EXPECT_EQ(Pixels(*dst), (std::vector<uint32_t>{0, 0, 201, 202, 101, 102, 0, 0}));
}

TEST(ClipTest, SourceRectanglesBeyondTheSourceDrawOnlyWhatExists) {
  auto src = Numbered(4, 1);
  auto dst = MakeSurface(8, 1, 32);
  dst->Draw(0, -3, *src, TRect{-2, -3, 6, 5}, false, false, false);
  EXPECT_EQ(Row(*dst, 0), (std::vector<uint32_t>{0, 0, 1, 2, 3, 4, 0, 0}));
  auto mirrored = MakeSurface(8, 1, 32);
  mirrored->Draw(0, 0, *src, TRect{-2, 0, 6, 1}, false, true, false);
  EXPECT_EQ(Row(*mirrored, 0), (std::vector<uint32_t>{0, 0, 4, 3, 2, 1, 0, 0}));
}

TEST(ClipTest, NoGeometryReachesOutsideTheSurfaces) {
  auto src = Numbered(5, 5, 16);
  auto mask = MakeSurface(3, 3, 8, 128);
  auto one_bit = MakeSurface(8, 8, 1);
  auto dst = MakeSurface(7, 6, 16, 0x1111);
  const int32_t values[] = {INT32_MIN, -70000, -3, 0, 2, 65536, INT32_MAX};
  const uint32_t palette[256] = {};
  for (int32_t a : values) {
    for (int32_t b : values) {
      const TRect r{a, b, b, a};
      const TRect r2{a, a, b, b};
      for (const TRect& rect : {r, r2}) {
        dst->FillRect(rect, 1);
        dst->BlendFillRect(rect, 2, 100);
        dst->FrameRect(rect, b, 3);
        dst->Draw(a, b, *src, rect, true, true, false);
        dst->DrawMasked(b, a, *src, rect, false, true, *mask);
        dst->DrawAdd(a, a, *src, rect, false, false, false, b);
        dst->StretchDraw(rect, *src, r2, false, true, true, 128);
        dst->StretchDrawMasked(r2, *src, rect, false, false, *mask, 255);
        dst->DrawRotateZoom(a, b, b, a, *src, rect, a, b, b, false, true, false, 300);
        dst->DrawRotateZoom(2, 2, b, b, *src, r2, 0, 0, a, false, false, true, 255);
        dst->TileDraw(rect, a, b, *src, r2, false, a, b);
        dst->PatternZoomFill(rect, *src, r2, a, b, false, 128);
        dst->DrawReduced(a, b, *one_bit, rect, 0xFFFF, false, false, 255, b);
        dst->DrawPalette4(a, b, *src, rect, false, false, 255, palette);
        dst->DrawColorMasked(a, b, *mask, rect, true, false, 0xFFFF, b);
        dst->PatternFillRect(rect, *src, true, false, a, b);
      }
    }
  }
  dst->SetClipRect(TRect{-100, -100, 100000, 100000});  // raw, unclamped
  dst->FillRect(TRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 7);
  dst->StretchDraw(TRect{-1000, -1000, 1000, 1000}, *src, TRect{0, 0, 5, 5}, false, false, false, 255);
  EXPECT_EQ(dst->GetPixel(0, 0), src->GetPixel(2, 2));
}

TEST(FillTest, FramesAndWholeSurfaceFills) {
  auto s = MakeSurface(6, 6, 32);
  s->FrameRect(TRect{0, 0, 6, 6}, 2, 9);
  EXPECT_EQ(s->GetPixel(2, 2), 0u);
  EXPECT_EQ(s->GetPixel(1, 3), 9u);
  EXPECT_EQ(s->GetPixel(4, 5), 9u);
  auto thick = MakeSurface(6, 6, 32);
  thick->FrameRect(TRect{0, 0, 6, 6}, 3, 9);
  EXPECT_EQ(Pixels(*thick), std::vector<uint32_t>(36, 9));
  for (int32_t bits : {8, 15, 16, 24, 32}) {
    auto f = MakeSurface(5, 3, bits);
    f->AddClip(TRect{1, 1, 2, 2});
    f->Fill(0x15);
    EXPECT_EQ(Pixels(*f), std::vector<uint32_t>(15, 0x15)) << bits;
  }
  auto one = MakeSurface(9, 2, 1);
  one->Fill(3);
  EXPECT_EQ(Pixels(*one), std::vector<uint32_t>(18, 1));
  auto four = MakeSurface(3, 2, 4);
  four->Fill(0xA);
  EXPECT_EQ(Pixels(*four), std::vector<uint32_t>(6, 0xA));
}

TEST(StretchTest, NearestSamplingWithMirrorsAndClips) {
  auto src = Numbered(4, 1);
  auto dst = MakeSurface(8, 1, 32);
  dst->StretchDraw(TRect{0, 0, 8, 1}, *src, TRect{0, 0, 4, 1}, false, false, false, 255);
  EXPECT_EQ(Row(*dst, 0), (std::vector<uint32_t>{1, 1, 2, 2, 3, 3, 4, 4}));
  dst->StretchDraw(TRect{0, 0, 8, 1}, *src, TRect{0, 0, 4, 1}, false, true, false, 255);
  EXPECT_EQ(Row(*dst, 0), (std::vector<uint32_t>{4, 4, 3, 3, 2, 2, 1, 1}));
  auto small = MakeSurface(2, 1, 32);
  small->StretchDraw(TRect{0, 0, 2, 1}, *Numbered(3, 1), TRect{0, 0, 3, 1}, false, false, false, 255);
  EXPECT_EQ(Row(*small, 0), (std::vector<uint32_t>{1, 2}));
  // Two columns over three: the clipped start keeps the fraction of the cut.
  auto clipped = MakeSurface(3, 1, 32);
  clipped->AddClip(TRect{1, 0, 3, 1});
  clipped->StretchDraw(TRect{0, 0, 3, 1}, *Numbered(2, 1), TRect{0, 0, 2, 1}, false, false, false, 255);
  EXPECT_EQ(Row(*clipped, 0), (std::vector<uint32_t>{0, 1, 2}));
  // A destination left of the surface: the cut columns are skipped in the source too.
  auto left = MakeSurface(4, 1, 32);
  left->StretchDraw(TRect{-4, 0, 4, 1}, *src, TRect{0, 0, 4, 1}, false, false, false, 255);
  EXPECT_EQ(Row(*left, 0), (std::vector<uint32_t>{3, 3, 4, 4}));
}

TEST(RotateTest, AngleZeroAtFullSizeEqualsDraw) {
  std::mt19937 random(7);
  for (bool mirror : {false, true}) {
    auto src = MakeSurface(9, 7, 32);
    test::Randomize(*src, random);
    src->ColorKey = static_cast<int32_t>(src->GetPixel(3, 3));
    auto a = MakeSurface(12, 10, 32, 5);
    auto b = MakeSurface(12, 10, 32, 5);
    a->AddClip(TRect{1, 1, 11, 8});
    b->AddClip(TRect{1, 1, 11, 8});
    const TRect part{1, 1, 8, 6};
    a->Draw(-1, 2, *src, part, true, mirror, !mirror);
    b->DrawRotateZoom(-1, 2, 256, 256, *src, part, 0, 0, 0, true, mirror, !mirror, 255);
    EXPECT_EQ(Pixels(*a), Pixels(*b)) << mirror;
  }
}

TEST(RotateTest, QuarterTurnZoomAndModes) {
  auto src = Numbered(2, 1);
  auto dst = MakeSurface(4, 4, 32);
  dst->DrawRotateZoom(1, 1, 256, 256, *src, TRect{0, 0, 2, 1}, 0, 0, 64, false, false, false, 255);
  EXPECT_EQ(dst->GetPixel(1, 1), 1u);
  EXPECT_EQ(dst->GetPixel(1, 2), 2u);
  EXPECT_EQ(Pixels(*dst)[0], 0u);
  auto zoomed = MakeSurface(4, 2, 32);
  zoomed->DrawRotateZoom(0, 0, 512, 512, *src, TRect{0, 0, 2, 1}, 0, 0, 0, false, false, false, 255);
  EXPECT_EQ(Pixels(*zoomed), (std::vector<uint32_t>{1, 1, 2, 2, 1, 1, 2, 2}));

  std::mt19937 random(3);
  auto colour = MakeSurface(6, 5, 16);
  test::Randomize(*colour, random);
  auto added = MakeSurface(6, 5, 16, 0x1234);
  auto rotated = MakeSurface(6, 5, 16, 0x1234);
  added->DrawAdd(0, 0, *colour, colour->GetBounds(), false, false, false, 44);
  rotated->DrawRotateZoom(0, 0, 256, 256, *colour, colour->GetBounds(), 0, 0, 0, false, false, false, 300);
  EXPECT_EQ(Pixels(*added), Pixels(*rotated));
  rotated->DrawRotateZoom(0, 0, 0, 256, *colour, colour->GetBounds(), 0, 0, 0, false, false, false, 255);
  rotated->DrawRotateZoom(0, 0, 256, 256, *colour, colour->GetBounds(), 0, 0, 0, false, false, false, 0);
  EXPECT_EQ(Pixels(*added), Pixels(*rotated));
}

TEST(TileTest, TilesWithGapsAndOriginsRestoreTheClip) {
  auto src = Numbered(2, 1);
  auto dst = MakeSurface(7, 1, 32);
  dst->TileDraw(TRect{0, 0, 7, 1}, 1, 0, *src, TRect{0, 0, 2, 1}, false, 0, 0);
  EXPECT_EQ(Row(*dst, 0), (std::vector<uint32_t>{1, 2, 0, 1, 2, 0, 1}));
  auto shifted = MakeSurface(7, 1, 32);
  shifted->AddClip(TRect{0, 0, 6, 1});
  shifted->TileDraw(TRect{1, 0, 7, 1}, 1, 0, *src, TRect{0, 0, 2, 1}, false, -1, 0);
  EXPECT_EQ(Row(*shifted, 0), (std::vector<uint32_t>{0, 2, 0, 1, 2, 0, 0}));
  EXPECT_EQ(shifted->GetClipRect(), (TRect{0, 0, 6, 1}));
  auto pattern = MakeSurface(5, 1, 32);
  pattern->PatternFillRect(TRect{0, 0, 5, 1}, *Numbered(3, 1), true, false, 1, 0);
  EXPECT_EQ(Row(*pattern, 0), (std::vector<uint32_t>{2, 1, 3, 2, 1}));
  auto zoom = MakeSurface(6, 1, 32);
  zoom->PatternZoomFill(TRect{0, 0, 6, 1}, *src, TRect{0, 0, 2, 1}, 512, 256, false, 255);
  EXPECT_EQ(Row(*zoom, 0), (std::vector<uint32_t>{1, 1, 2, 2, 1, 1}));
}

TEST(IndexedTest, PaletteSourcesAndReducedGlyphs) {
  auto indices = MakeSurface(4, 1, 4);
  for (int32_t x = 0; x < 4; ++x) indices->SetPixel(x, 0, static_cast<uint32_t>(x));
  indices->ColorKey = 2;
  std::vector<uint32_t> palette(16);
  for (uint32_t i = 0; i < 16; ++i) palette[i] = 0x100 * i;
  auto dst = MakeSurface(4, 1, 16, 0x0001);
  dst->DrawPalette4(0, 0, *indices, indices->GetBounds(), false, false, 255, palette);
  EXPECT_EQ(Row(*dst, 0), (std::vector<uint32_t>{0, 0x100, 0x0001, 0x300}));
  dst->SetPixel(1, 0, 0xFFFF);
  dst->DrawPalette4(0, 0, *indices, indices->GetBounds(), false, false, 256 + 255, palette);
  EXPECT_EQ(Row(*dst, 0), (std::vector<uint32_t>{0, 0xFFFF, 0x0001, 0x300 + 0x2E0}));

  auto bytes = MakeSurface(3, 1, 8);
  for (int32_t x = 0; x < 3; ++x) bytes->SetPixel(x, 0, static_cast<uint32_t>(x));
  bytes->ColorKey = 0;
  std::vector<uint32_t> table(256, 0x000100);
  auto sum = MakeSurface(3, 1, 32, 0x10);
  sum->DrawPaletteAdd(0, 0, *bytes, bytes->GetBounds(), false, false, 128, table);
  EXPECT_EQ(Row(*sum, 0), (std::vector<uint32_t>{0x10, 0x10, 0x10}));
  table.assign(256, 0x000200);
  sum->DrawPaletteAdd(0, 0, *bytes, bytes->GetBounds(), false, false, 128, table);
  EXPECT_EQ(Row(*sum, 0), (std::vector<uint32_t>{0x10, 0x110, 0x110}));

  // A 4 x 4 cell with 8 ink bits (cleared) is half the colour over black.
  auto glyph = MakeSurface(8, 4, 1);
  glyph->Fill(1);
  for (int32_t y = 0; y < 4; ++y) {
    glyph->SetPixel(0, y, 0);
    glyph->SetPixel(1, y, 0);
    for (int32_t x = 4; x < 8; ++x) glyph->SetPixel(x, y, 0);
  }
  auto text = MakeSurface(2, 1, 32);
  text->DrawReduced(0, 0, *glyph, glyph->GetBounds(), 0xFFFFFF, false, false, 255, 4);
  EXPECT_EQ(Row(*text, 0), (std::vector<uint32_t>{0x7F7F7F, 0xFFFFFF}));

  // Body and decoration colours share a cell: a quarter white, a quarter blue, half black.
  auto layers = MakeSurface(4, 4, 8);
  for (int32_t x = 0; x < 4; ++x) {
    layers->SetPixel(x, 0, 1);
    layers->SetPixel(x, 1, 2);
  }
  const uint32_t colours[] = {0xFFFFFF, 0x0000FF};
  auto decorated = MakeSurface(1, 1, 32);
  decorated->DrawReducedColors(0, 0, *layers, layers->GetBounds(), colours, false, false, 255, 4);
  EXPECT_EQ(decorated->GetPixel(0, 0), 0x3F3F7Fu);

  auto stretched = MakeSurface(4, 1, 32);
  auto two = MakeSurface(2, 1, 8);
  two->SetPixel(0, 0, 1);
  two->SetPixel(1, 0, 2);
  two->ColorKey = 2;
  std::vector<uint32_t> natives(256, 0);
  natives[1] = 0xAA;
  natives[2] = 0xBB;
  stretched->StretchDrawPalette(TRect{0, 0, 4, 1}, *two, two->GetBounds(), true, false, false, 255, natives);
  EXPECT_EQ(Row(*stretched, 0), (std::vector<uint32_t>{0xAA, 0xAA, 0, 0}));
}

TEST(WaveTest, RowsShiftByTheirOffsetsAroundTheOrigin) {
  auto target = MakeSurface(10, 4, 32);
  TDIBXWave wave;
  wave.SetTarget(target.get());
  wave.SetSize(5, 4, 32);
  wave.Offsets() = {0, 0, 2, -1};
  wave.OriginX = 1;
  wave.FillRect(TRect{0, 0, 5, 4}, 7);
  EXPECT_EQ(Row(*target, 0), (std::vector<uint32_t>{0, 7, 7, 7, 7, 7, 0, 0, 0, 0}));
  EXPECT_EQ(Row(*target, 2), (std::vector<uint32_t>{0, 0, 0, 7, 7, 7, 7, 7, 0, 0}));
  EXPECT_EQ(Row(*target, 3), (std::vector<uint32_t>{7, 7, 7, 7, 7, 0, 0, 0, 0, 0}));
  EXPECT_EQ(target->GetClipRect(), target->GetBounds());
  auto src = Numbered(2, 4);
  wave.Draw(0, 0, *src, src->GetBounds(), false, false, false);
  EXPECT_EQ(target->GetPixel(3, 2), 201u);
  EXPECT_EQ(target->GetPixel(0, 3), 301u);
  EXPECT_EQ(wave.GetPixel(0, 2), 201u);
  EXPECT_EQ(wave.GetBitCount(), 32);
  wave.AddClip(TRect{0, 0, 2, 2});
  EXPECT_EQ(target->GetClipRect(), (TRect{1, 0, 3, 2}));
  wave.ResetClip();
  EXPECT_EQ(target->ClipRight, 0);
}

TEST(SurfaceTest, ColorToPixelPlacesTruncatedChannels) {
  struct Case {
    int32_t bits;
    int32_t colour;
    int32_t expected;
  };
  const Case cases[] = {{32, 0x00FF8040, 0x4080FF}, {16, 0x00FF8040, 0x441F}, {15, 0x00FF8040, 0x221F},
                        {32, -1, -1},               {16, -5, -1},           {8, 0x00FF8040, 0x00FF8040},
                        {24, 0x00FF8040, 0x00FF8040}};
  for (const Case& c : cases) EXPECT_EQ(MakeSurface(1, 1, c.bits)->ColorToPixel(c.colour), c.expected) << c.bits;
}

TEST(SurfaceTest, StorageGeometryAndLifecycle) {
  TDIBX fresh;
  EXPECT_TRUE(fresh.IsEmpty());
  EXPECT_EQ(fresh.GetBitCount(), 15);
  EXPECT_EQ(fresh.ColorKey, -1);
  auto s = MakeSurface(3, 2, 24);
  EXPECT_EQ(s->GetPitch(), -12);
  EXPECT_EQ(s->Lock(0, 1), s->Lock(0, 0) - 12);
  EXPECT_EQ(s->Lock(2, 0), s->Lock(0, 0) + 6);
  EXPECT_EQ(s->BytesPerPixel(), 3);
  s->SetBitCount(16);
  EXPECT_EQ(s->GetGreenMask(), 0x07E0u);
  s->SetBitCount(15);
  EXPECT_EQ(s->GetStorageBitCount(), 16);
  EXPECT_EQ(s->GetRedShift(), 10);
  EXPECT_EQ(s->GetGreenShift(), 5);
  s->Clear();
  EXPECT_TRUE(s->IsEmpty());

  auto a = Numbered(3, 3);
  auto b = MakeSurface(3, 3, 32);
  b->Assign(*a);
  EXPECT_EQ(Pixels(*a), Pixels(*b));
  auto c = MakeSurface(2, 2, 32);
  c->Assign(*a);
  EXPECT_EQ(Pixels(*c), (std::vector<uint32_t>{1, 2, 101, 102}));

  uint32_t entries[2] = {0x0000FF, 0x00FF00};
  auto indexed = MakeSurface(2, 1, 8);
  indexed->SetPaletteEntries(entries, 10, 2);
  uint32_t back[256];
  indexed->GetPalette(back);
  EXPECT_EQ(back[10], 0x0000FFu);
  EXPECT_EQ(back[11], 0x00FF00u);
  EXPECT_EQ(indexed->Bitmap().Palette()[10], 0xFF0000u);  // stored B, G, R
}

}  // namespace
}  // namespace orva
