// Reduced drawing of glyph bitmaps kept at a multiple of their size: each destination pixel takes
// the share of ink among the factor x factor source pixels it covers.

#include <algorithm>

#include "render/custom_dibx.h"
#include "render/draw_engine.h"

namespace orva {

namespace {

// Sources larger than this factor would be averaged over more samples than a glyph ever has.
constexpr int32_t kMaxReduceFactor = 16;

// The destination copy geometry of a reduced draw: the source rectangle shrunk by the factor.
bool ReducedSpan(TCustomDIBX& dst, int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                 bool mirror_v, int32_t factor, CopySpan& span) {
  const TRect readable = Intersect(src_rect, source.GetBounds());
  if (readable.IsEmpty()) return false;
  const TRect cells{0, 0, static_cast<int32_t>(readable.Width() / factor),
                    static_cast<int32_t>(readable.Height() / factor)};
  return ClipCopy(EffectiveClip(dst), x, y, cells, cells, mirror_h, mirror_v, span);
}

// Per channel (Σ colour_k·C_k + d·(F² − ΣC_k)) / F², the exact coverage average.
uint32_t Cover(uint32_t d, const uint32_t* colours, const uint32_t* counts, size_t n, uint32_t samples,
               const ChannelMasks& masks) {
  uint32_t result = 0;
  for (const uint32_t m : {masks.red, masks.green, masks.blue}) {
    uint64_t ink = 0;
    uint64_t total = 0;
    for (size_t k = 0; k < n; ++k) {
      ink += uint64_t{colours[k] & m} * counts[k];
      total += counts[k];
    }
    result |= static_cast<uint32_t>((ink + uint64_t{d & m} * (samples - total)) / samples) & m;
  }
  return result;
}

}  // namespace

void TCustomDIBX::DrawReduced(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, uint32_t colour,
                              bool mirror_h, bool mirror_v, int32_t alpha, int32_t factor) {
  if (alpha <= 0 || factor <= 0 || factor > kMaxReduceFactor || source.GetBitCount() != 1) return;
  const TRect readable = Intersect(src_rect, source.GetBounds());
  CopySpan span;
  if (!ReducedSpan(*this, x, y, source, src_rect, mirror_h, mirror_v, factor, span)) return;
  const ChannelMasks masks = MasksOf(*this);
  const auto samples = static_cast<uint32_t>(factor * factor);
  SurfaceLock dst_lock(*this);
  SurfaceLock src_lock(source);
  for (int32_t r = 0; r < span.height; ++r) {
    for (int32_t c = 0; c < span.width; ++c) {
      const int32_t cell_x = span.src_x + c * span.step_x;
      const int32_t cell_y = span.src_y + r * span.step_y;
      uint32_t ink = 0;
      for (int32_t j = 0; j < factor; ++j) {
        for (int32_t i = 0; i < factor; ++i) {
          // A cleared bit is ink.
          if (source.GetPixel(readable.Left + cell_x * factor + i, readable.Top + cell_y * factor + j) == 0) ++ink;
        }
      }
      if (alpha < 255) ink = (static_cast<uint32_t>(alpha) * ink) >> 8;
      if (ink == 0) continue;
      const int32_t dx = span.dst_x + c;
      const int32_t dy = span.dst_y + r;
      SetPixel(dx, dy, Cover(GetPixel(dx, dy), &colour, &ink, 1, samples, masks));
    }
  }
}

void TCustomDIBX::DrawReducedColors(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect,
                                    std::span<const uint32_t> colours, bool mirror_h, bool mirror_v, int32_t alpha,
                                    int32_t factor) {
  const int32_t bits = source.GetBitCount();
  if (alpha <= 0 || factor <= 0 || factor > kMaxReduceFactor || (bits != 4 && bits != 8) || colours.empty()) return;
  const size_t n = std::min<size_t>(colours.size(), 255);
  const TRect readable = Intersect(src_rect, source.GetBounds());
  CopySpan span;
  if (!ReducedSpan(*this, x, y, source, src_rect, mirror_h, mirror_v, factor, span)) return;
  const ChannelMasks masks = MasksOf(*this);
  const auto samples = static_cast<uint32_t>(factor * factor);
  std::vector<uint32_t> counts(n);
  SurfaceLock dst_lock(*this);
  SurfaceLock src_lock(source);
  for (int32_t r = 0; r < span.height; ++r) {
    for (int32_t c = 0; c < span.width; ++c) {
      const int32_t cell_x = span.src_x + c * span.step_x;
      const int32_t cell_y = span.src_y + r * span.step_y;
      std::fill(counts.begin(), counts.end(), 0);
      uint32_t total = 0;
      for (int32_t j = 0; j < factor; ++j) {
        for (int32_t i = 0; i < factor; ++i) {
          const uint32_t index =
              source.GetPixel(readable.Left + cell_x * factor + i, readable.Top + cell_y * factor + j);
          if (index == 0 || index > n) continue;
          ++counts[index - 1];
          ++total;
        }
      }
      if (total == 0) continue;
      if (alpha < 255) {
        for (uint32_t& count : counts) count = (static_cast<uint32_t>(alpha) * count) >> 8;
      }
      const int32_t dx = span.dst_x + c;
      const int32_t dy = span.dst_y + r;
      SetPixel(dx, dy, Cover(GetPixel(dx, dy), colours.data(), counts.data(), n, samples, masks));
    }
  }
}

}  // namespace orva
