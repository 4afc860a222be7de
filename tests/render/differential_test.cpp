// Every fast path against the per-pixel reference: random sizes, clips, positions, mirrors, keys,
// alphas and masks at every depth, each operation run on all paths from the same start.

#include <gtest/gtest.h>

#include "render_test_support.h"

namespace orva {
namespace {

using test::MakeSurface;
using test::PathScope;
using test::Pixels;

std::unique_ptr<TDIBX> Clone(const TDIBX& s) {
  auto copy = MakeSurface(s.GetWidth(), s.GetHeight(), s.GetBitCount());
  for (int32_t y = 0; y < s.GetHeight(); ++y) {
    for (int32_t x = 0; x < s.GetWidth(); ++x) copy->SetPixel(x, y, s.GetPixel(x, y));
  }
  copy->SetClipRect(TRect{s.ClipLeft, s.ClipTop, s.ClipRight, s.ClipBottom});
  return copy;
}

// Pixels drawn from a few values, so that keys and equal source/destination pairs occur often.
void FewValues(TCustomDIBX& s, std::mt19937& random, const std::vector<uint32_t>& values) {
  for (int32_t y = 0; y < s.GetHeight(); ++y) {
    for (int32_t x = 0; x < s.GetWidth(); ++x) s.SetPixel(x, y, values[random() % values.size()]);
  }
}

constexpr int kOperations = 21;

struct Trial {
  int operation;
  TRect rect;
  TRect src_rect;
  int32_t x, y;
  bool keyed, mirror_h, mirror_v;
  int32_t alpha;
  uint32_t colour;
  int32_t h_gap, v_gap, origin_x, origin_y;
};

void RunTrial(const Trial& t, TDIBX& dst, TDIBX& src, TDIBX& mask) {
  switch (t.operation) {
    case 0: dst.FillRect(t.rect, t.colour); break;
    case 1: dst.BlendFillRect(t.rect, t.colour, t.alpha); break;
    case 2: dst.AddFillRect(t.rect, t.colour); break;
    case 3: dst.SubFillRect(t.rect, t.colour); break;
    case 4: dst.Draw(t.x, t.y, src, t.src_rect, t.keyed, t.mirror_h, t.mirror_v); break;
    case 5: dst.DrawAlpha(t.x, t.y, src, t.src_rect, t.keyed, t.mirror_h, t.mirror_v, t.alpha); break;
    case 6: dst.DrawAdd(t.x, t.y, src, t.src_rect, t.keyed, t.mirror_h, t.mirror_v, t.alpha); break;
    case 7: dst.DrawMasked(t.x, t.y, src, t.src_rect, t.mirror_h, t.mirror_v, mask); break;
    case 8: dst.DrawMaskedAlpha(t.x, t.y, src, t.src_rect, t.mirror_h, t.mirror_v, mask, t.alpha); break;
    case 9: dst.DrawMaskedAdd(t.x, t.y, src, t.src_rect, t.mirror_h, t.mirror_v, mask, t.alpha); break;
    case 10: dst.StretchDraw(t.rect, src, t.src_rect, t.keyed, t.mirror_h, t.mirror_v, t.alpha); break;
    case 11: dst.StretchDrawMasked(t.rect, src, t.src_rect, t.mirror_h, t.mirror_v, mask, t.alpha); break;
    case 12: dst.StretchDrawAdd(t.rect, src, t.src_rect, t.keyed, t.mirror_h, t.mirror_v, t.alpha); break;
    case 13: dst.StretchDrawMaskedAdd(t.rect, src, t.src_rect, t.mirror_h, t.mirror_v, mask, t.alpha); break;
    case 14:
      dst.TileDrawAlpha(t.rect, t.h_gap, t.v_gap, src, t.src_rect, t.keyed, t.origin_x, t.origin_y, t.alpha);
      break;
    case 15:
      dst.TileDrawMaskedAdd(t.rect, t.h_gap, t.v_gap, src, t.src_rect, mask, t.origin_x, t.origin_y, t.alpha);
      break;
    case 16:
      dst.TileStretchDraw(t.rect, 7, 5, t.h_gap, t.v_gap, src, t.src_rect, t.keyed, t.origin_x, t.origin_y, t.alpha,
                          t.keyed);
      break;
    case 17: dst.PatternFillRect(t.rect, src, t.mirror_h, t.mirror_v, t.origin_x, t.origin_y); break;
    case 18: dst.Assign(src); break;
    case 19: dst.Draw(t.x, t.y, dst, t.src_rect, t.keyed, t.mirror_h, t.mirror_v); break;  // onto itself
    case 20: dst.DrawColorMasked(t.x, t.y, mask, t.src_rect, t.mirror_h, t.mirror_v, t.colour, t.alpha); break;
  }
}

TEST(DifferentialTest, FastPathsMatchTheReferenceAtEveryDepth) {
  std::mt19937 random(20261211);
  std::vector<PixelPath> paths = {PixelPath::kPortable, PixelPath::kSse2};
  if (ProcessorHasAvx2()) paths.push_back(PixelPath::kAvx2);
  const int32_t depths[] = {32, 16, 15, 32, 16, 15, 8, 24};
  const int32_t alphas[] = {1, 2, 127, 128, 200, 254, 255, 256, 300, 1000, -4};
  auto pick = [&](int32_t low, int32_t high) { return low + static_cast<int32_t>(random() % (high - low + 1)); };
  for (int trial = 0; trial < 4000; ++trial) {
    const int32_t bits = depths[random() % std::size(depths)];
    const int32_t w = pick(1, 70), h = pick(1, 12);
    // Same widths and positions at the origin often, where whole rows are drawn as one.
    const int32_t sw = random() % 3 == 0 ? w : pick(1, 70), sh = pick(1, 12);
    auto dst = MakeSurface(w, h, bits);
    auto src = MakeSurface(sw, sh, bits);
    auto mask = MakeSurface(sw, sh, 8);
    test::Randomize(*mask, random);
    if (random() % 2) {
      std::vector<uint32_t> values(3);
      test::Randomize(*src, random);
      for (auto& v : values) v = src->GetPixel(pick(0, sw - 1), pick(0, sh - 1));
      FewValues(*src, random, values);
      FewValues(*dst, random, values);
    } else {
      test::Randomize(*src, random);
      test::Randomize(*dst, random);
    }
    src->ColorKey = random() % 4 == 0 ? -1 : static_cast<int32_t>(src->GetPixel(pick(0, sw - 1), pick(0, sh - 1)));
    if (random() % 2) dst->AddClip(TRect{pick(-5, w), pick(-5, h), pick(0, w + 5), pick(0, h + 5)});
    Trial t{};
    t.operation = static_cast<int>(random() % kOperations);
    t.rect = TRect{pick(-10, w), pick(-10, h), pick(-5, w + 80), pick(-5, h + 20)};
    t.src_rect = random() % 3 == 0 ? src->GetBounds() : TRect{pick(-5, sw), pick(-5, sh), pick(0, sw + 5), pick(0, sh + 5)};
    t.x = random() % 3 == 0 ? 0 : pick(-30, w + 5);
    t.y = random() % 3 == 0 ? 0 : pick(-10, h + 5);
    t.keyed = random() % 2;
    t.mirror_h = random() % 2;
    t.mirror_v = random() % 2;
    t.alpha = alphas[random() % std::size(alphas)];
    t.colour = random() % 3 == 0 ? dst->GetPixel(0, 0) : static_cast<uint32_t>(random());
    if (bits == 15 || bits == 16) t.colour &= random() % 8 == 0 ? 0xFFFFFFFF : 0xFFFF;
    t.h_gap = pick(-3, 6);
    t.v_gap = pick(-3, 4);
    t.origin_x = pick(-100, 100);
    t.origin_y = pick(-100, 100);

    auto reference = Clone(*dst);
    {
      PathScope scope(PixelPath::kGeneric);
      RunTrial(t, *reference, *src, *mask);
    }
    for (PixelPath path : paths) {
      auto fast = Clone(*dst);
      PathScope scope(path);
      RunTrial(t, *fast, *src, *mask);
      ASSERT_EQ(Pixels(*fast), Pixels(*reference))
          << "trial " << trial << " operation " << t.operation << " bits " << bits << " path "
          << static_cast<int>(path) << " alpha " << t.alpha << " mirror " << t.mirror_h << t.mirror_v;
    }
  }
}

}  // namespace
}  // namespace orva
