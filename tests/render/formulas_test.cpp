// The per-channel results of every blending family at 15, 16 and 32 bits, on every drawing path.
// Rows are 37 pixels wide so that vector bodies and remainders both take part.

#include <gtest/gtest.h>

#include "render_test_support.h"

namespace orva {
namespace {

using test::MakeSurface;
using test::PathScope;

enum class Op { kBlendFill, kAddFill, kSubFill, kDrawAlpha, kDrawAdd, kDrawMasked, kDrawMaskedAlpha, kDrawMaskedAdd,
                kStretchAlpha };

struct FormulaCase {
  const char* name;
  int32_t bits;
  Op op;
  uint32_t d;
  uint32_t s;  // source pixel or colour
  int32_t alpha;
  uint32_t mask;
  uint32_t expected;
};

const FormulaCase kCases[] = {
    {"blend fill 32", 32, Op::kBlendFill, 0x000000, 0xFFFFFF, 128, 0, 0x7F7F7F},
    {"blend fill onto the colour itself", 32, Op::kBlendFill, 0xAB123456, 0xAB123456, 128, 0, 0xAB123456},
    {"add fill 32", 32, Op::kAddFill, 0x102030, 0x010203, 0, 0, 0x112233},
    {"add fill saturates per channel", 32, Op::kAddFill, 0xF0F0F0, 0x000020, 0, 0, 0xF0F0FF},
    {"sub fill floors each channel", 32, Op::kSubFill, 0x102030, 0x203010, 0, 0, 0x000020},
    {"alpha 32", 32, Op::kDrawAlpha, 0x000000, 0xFF8040, 64, 0, 0x3F2010},
    {"alpha where source equals destination", 32, Op::kDrawAlpha, 0xFF8040, 0xFF8040, 64, 0, 0xFF8040},
    {"stretched alpha blends equal pixels too", 32, Op::kStretchAlpha, 0xFF8040, 0xFF8040, 64, 0, 0xFE7F3F},
    {"add saturates and scales by alpha", 32, Op::kDrawAdd, 0xF00010, 0x204080, 255, 0, 0xFF3F8F},
    {"mask 255 copies exactly", 32, Op::kDrawMasked, 0x000000, 0xAB123456, 0, 255, 0xAB123456},
    {"mask 0 leaves the destination", 32, Op::kDrawMasked, 0xCD654321, 0xFFFFFF, 0, 0, 0xCD654321},
    {"mask 128", 32, Op::kDrawMasked, 0x000000, 0xFFFFFF, 0, 128, 0x7F7F7F},
    {"mask times alpha", 32, Op::kDrawMaskedAlpha, 0x000000, 0xFFFFFF, 128, 255, 0x7E7E7E},
    {"mask times alpha, mask 0", 32, Op::kDrawMaskedAlpha, 0x123456, 0xFFFFFF, 128, 0, 0x123456},
    {"mask add", 32, Op::kDrawMaskedAdd, 0x101010, 0x808080, 255, 128, 0x4F4F4F},

    {"blend fill 16 (0x7BEF)", 16, Op::kBlendFill, 0x0000, 0xFFFF, 128, 0, 0x7BEF},
    {"add fill 16 saturates red", 16, Op::kAddFill, 0xF800, 0x0801, 0, 0, 0xF801},
    {"sub fill 16", 16, Op::kSubFill, 0x7BEF, 0x0821, 0, 0, 0x73CE},
    {"add 16 at full alpha", 16, Op::kDrawAdd, 0x0000, 0xFFFF, 255, 0, 0xF7DE},
    {"add 16 saturates", 16, Op::kDrawAdd, 0xFFFF, 0xFFFF, 255, 0, 0xFFFF},
    {"alpha 16", 16, Op::kDrawAlpha, 0x0000, 0xFFFF, 128, 0, 0x7BEF},
    {"mask 16", 16, Op::kDrawMasked, 0x0000, 0xFFFF, 0, 128, 0x7BEF},
    {"mask times alpha 16", 16, Op::kDrawMaskedAlpha, 0xFFFF, 0x0000, 255, 128, 0x7BEF},

    {"blend fill 15", 15, Op::kBlendFill, 0x0000, 0x7FFF, 128, 0, 0x3DEF},
    {"add 15 saturates red", 15, Op::kDrawAdd, 0x7C00, 0x7C00, 255, 0, 0x7C00},
    {"mask 15", 15, Op::kDrawMasked, 0x0000, 0x7FFF, 0, 128, 0x3DEF},
    {"the unused top bit of 5-5-5 is dropped by blending", 15, Op::kDrawAlpha, 0x8000, 0x8000 | 0x7FFF, 128, 0,
     0x3DEF},
    {"mask add 15", 15, Op::kDrawMaskedAdd, 0x0421, 0x7FFF, 255, 255, 0x7FFF},
};

class FormulaTest : public ::testing::TestWithParam<PixelPath> {};

TEST_P(FormulaTest, EveryFamilyGivesTheChannelFormula) {
  PathScope path(GetParam());
  constexpr int32_t kWidth = 37;
  for (const FormulaCase& c : kCases) {
    SCOPED_TRACE(c.name);
    auto dst = MakeSurface(kWidth, 2, c.bits, c.d);
    auto src = MakeSurface(kWidth, 2, c.bits, c.s);
    auto mask = MakeSurface(kWidth, 2, 8, c.mask);
    const TRect all{0, 0, kWidth, 2};
    switch (c.op) {
      case Op::kBlendFill: dst->BlendFillRect(all, c.s, c.alpha); break;
      case Op::kAddFill: dst->AddFillRect(all, c.s); break;
      case Op::kSubFill: dst->SubFillRect(all, c.s); break;
      case Op::kDrawAlpha: dst->DrawAlpha(0, 0, *src, all, false, false, false, c.alpha); break;
      case Op::kDrawAdd: dst->DrawAdd(0, 0, *src, all, false, false, false, c.alpha); break;
      case Op::kDrawMasked: dst->DrawMasked(0, 0, *src, all, false, false, *mask); break;
      case Op::kDrawMaskedAlpha: dst->DrawMaskedAlpha(0, 0, *src, all, false, false, *mask, c.alpha); break;
      case Op::kDrawMaskedAdd: dst->DrawMaskedAdd(0, 0, *src, all, false, false, *mask, c.alpha); break;
      case Op::kStretchAlpha: dst->StretchDraw(all, *src, all, false, false, false, c.alpha); break;
    }
    for (int32_t y = 0; y < 2; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        ASSERT_EQ(dst->GetPixel(x, y), c.expected) << "pixel " << x << "," << y;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, FormulaTest,
                         ::testing::Values(PixelPath::kGeneric, PixelPath::kPortable, PixelPath::kSse2,
                                           PixelPath::kAvx2),
                         [](const auto& info) {
                           switch (info.param) {
                             case PixelPath::kGeneric: return "Generic";
                             case PixelPath::kPortable: return "Portable";
                             case PixelPath::kSse2: return "Sse2";
                             case PixelPath::kAvx2: return "Avx2";
                           }
                           return "Unknown";
                         });

TEST(SurfaceTest, AlphaZeroDrawsNothingAndOpaqueAlphaCopies) {
  auto dst = MakeSurface(4, 1, 32, 0x102030);
  auto src = MakeSurface(4, 1, 32, 0xFFFFFF);
  const TRect all{0, 0, 4, 1};
  dst->DrawAlpha(0, 0, *src, all, false, false, false, 0);
  dst->BlendFillRect(all, 0xFFFFFF, 0);
  dst->DrawAdd(0, 0, *src, all, false, false, false, 0);
  EXPECT_EQ(dst->GetPixel(0, 0), 0x102030u);
  dst->DrawAlpha(0, 0, *src, all, false, false, false, 255);
  EXPECT_EQ(dst->GetPixel(3, 0), 0xFFFFFFu);
  dst->BlendFillRect(all, 0x123456, 255);
  EXPECT_EQ(dst->GetPixel(3, 0), 0x123456u);
}

TEST(SurfaceTest, AddOntoAnEightBitSurfaceSumsMasks) {
  auto dst = MakeSurface(3, 1, 8, 200);
  auto src = MakeSurface(3, 1, 8, 100);
  src->SetPixel(1, 0, 20);
  dst->DrawAdd(0, 0, *src, TRect{0, 0, 3, 1}, false, false, false, 1);
  EXPECT_EQ(test::Pixels(*dst), (std::vector<uint32_t>{255, 220, 255}));
}

TEST(SurfaceTest, KeyedCopiesSkipTheSourceKeyAndAddAlwaysDoes) {
  auto src = MakeSurface(3, 1, 16, 0x1234);
  src->SetPixel(1, 0, 0xF81F);
  src->ColorKey = 0xF81F;
  auto dst = MakeSurface(3, 1, 16, 0x0001);
  dst->Draw(0, 0, *src, TRect{0, 0, 3, 1}, true, false, false);
  EXPECT_EQ(test::Pixels(*dst), (std::vector<uint32_t>{0x1234, 0x0001, 0x1234}));
  dst->Draw(0, 0, *src, TRect{0, 0, 3, 1}, false, false, false);
  EXPECT_EQ(dst->GetPixel(1, 0), 0xF81Fu);
  auto sum = MakeSurface(3, 1, 16, 0);
  sum->DrawAdd(0, 0, *src, TRect{0, 0, 3, 1}, false, false, false, 255);
  EXPECT_EQ(sum->GetPixel(1, 0), 0u);
}

}  // namespace
}  // namespace orva
