// Indexed sources drawn through a table of native values.

#include <algorithm>

#include "render/alpha_mode.h"
#include "render/custom_dibx.h"
#include "render/draw_engine.h"

namespace orva {

void TCustomDIBX::DrawPalette4(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                               bool mirror_v, int32_t alpha, std::span<const uint32_t> palette) {
  if (source.GetBitCount() != 4 || palette.size() < 16) return;
  const std::optional<CopyOp> op = ModeOp(alpha, false, -1);
  if (!op) return;
  CopySpan span;
  if (!ClipCopy(EffectiveClip(*this), x, y, src_rect, source.GetBounds(), mirror_h, mirror_v, span)) return;
  const ChannelMasks masks = MasksOf(*this);
  const uint32_t white = masks.red | masks.green | masks.blue;
  const bool dst_8bit = GetBitCount() == 8;
  SurfaceLock dst_lock(*this);
  SurfaceLock src_lock(source);
  for (int32_t r = 0; r < span.height; ++r) {
    for (int32_t c = 0; c < span.width; ++c) {
      const uint32_t index = source.GetPixel(span.src_x + c * span.step_x, span.src_y + r * span.step_y);
      if (source.ColorKey != -1 && index == static_cast<uint32_t>(source.ColorKey)) continue;
      const uint32_t value = palette[index & 15];
      const int32_t dx = span.dst_x + c;
      const int32_t dy = span.dst_y + r;
      const uint32_t d = GetPixel(dx, dy);
      // Adding nothing, or adding to a pixel already at full intensity, changes nothing.
      if (op->kind == CopyKind::kAdd && (value == 0 || d == white)) continue;
      uint32_t out;
      if (CombinePixel(*op, d, value, 255, masks, dst_8bit, out)) SetPixel(dx, dy, out);
    }
  }
}

void TCustomDIBX::DrawPaletteAdd(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                                 bool mirror_v, int32_t alpha, std::span<const uint32_t> palette) {
  if (alpha <= 0 || source.GetBitCount() != 8 || palette.size() < 256) return;
  CopySpan span;
  if (!ClipCopy(EffectiveClip(*this), x, y, src_rect, source.GetBounds(), mirror_h, mirror_v, span)) return;
  const ChannelMasks masks = MasksOf(*this);
  const auto a = static_cast<uint32_t>(std::min(alpha, 255));
  SurfaceLock dst_lock(*this);
  SurfaceLock src_lock(source);
  for (int32_t r = 0; r < span.height; ++r) {
    for (int32_t c = 0; c < span.width; ++c) {
      const auto index =
          static_cast<int32_t>(source.GetPixel(span.src_x + c * span.step_x, span.src_y + r * span.step_y));
      // Indices up to the key are the transparent end of the table.
      if (index <= source.ColorKey) continue;
      const int32_t dx = span.dst_x + c;
      const int32_t dy = span.dst_y + r;
      SetPixel(dx, dy, formulas::Add(GetPixel(dx, dy), palette[static_cast<size_t>(index)], a, masks));
    }
  }
}

}  // namespace orva
