// Scaled copies: nearest-neighbour sampling in 16.16 fixed point, the column table computed once
// per call and as long as the clipped destination row.

#include <algorithm>

#include "render/custom_dibx.h"
#include "render/draw_engine.h"

namespace orva {

namespace {

void StretchFamily(TCustomDIBX& dst, const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect,
                   bool mirror_h, bool mirror_v, TCustomDIBX* mask, const CopyOp& op) {
  TRect bounds = source.GetBounds();
  if (mask) bounds = Intersect(bounds, mask->GetBounds());
  StretchSpan span;
  if (!ClipStretch(EffectiveClip(dst), dst_rect, src_rect, bounds, mirror_h, mirror_v, span)) return;
  RunStretch(dst, source, mask, span, op);
}

}  // namespace

void TCustomDIBX::StretchDraw(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                              bool mirror_h, bool mirror_v, int32_t alpha) {
  if (alpha <= 0) return;
  const CopyOp op = alpha >= 255
                        ? CopyOp{CopyKind::kCopy, 255, SourceKey(source, keyed), false}
                        : CopyOp{CopyKind::kAlpha, static_cast<uint32_t>(alpha), SourceKey(source, keyed), false};
  StretchFamily(*this, dst_rect, source, src_rect, mirror_h, mirror_v, nullptr, op);
}

void TCustomDIBX::StretchDrawMasked(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect,
                                    bool mirror_h, bool mirror_v, TCustomDIBX& mask, int32_t alpha) {
  if (alpha <= 0 || mask.GetBitCount() != 8) return;
  const CopyOp op = alpha >= 255 ? CopyOp{CopyKind::kMask, 255, -1, false}
                                 : CopyOp{CopyKind::kMaskAlpha, static_cast<uint32_t>(alpha), -1, false};
  StretchFamily(*this, dst_rect, source, src_rect, mirror_h, mirror_v, &mask, op);
}

void TCustomDIBX::StretchDrawAdd(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                                 bool mirror_h, bool mirror_v, int32_t alpha) {
  if (alpha <= 0) return;
  StretchFamily(*this, dst_rect, source, src_rect, mirror_h, mirror_v, nullptr,
                CopyOp{CopyKind::kAdd, static_cast<uint32_t>(std::min(alpha, 255)), SourceKey(source, keyed), false});
}

void TCustomDIBX::StretchDrawMaskedAdd(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect,
                                       bool mirror_h, bool mirror_v, TCustomDIBX& mask, int32_t alpha) {
  if (alpha <= 0 || mask.GetBitCount() != 8) return;
  StretchFamily(*this, dst_rect, source, src_rect, mirror_h, mirror_v, &mask,
                CopyOp{CopyKind::kMaskAdd, static_cast<uint32_t>(std::min(alpha, 255)), -1, false});
}

void TCustomDIBX::StretchDrawPalette(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                                     bool mirror_h, bool mirror_v, int32_t alpha, std::span<const uint32_t> palette) {
  if (alpha <= 0 || source.GetBitCount() != 8 || palette.empty()) return;
  StretchSpan span;
  if (!ClipStretch(EffectiveClip(*this), dst_rect, src_rect, source.GetBounds(), mirror_h, mirror_v, span)) return;
  const int64_t key = SourceKey(source, keyed);
  const CopyOp op = alpha >= 255 ? CopyOp{CopyKind::kCopy, 255, -1, false}
                                 : CopyOp{CopyKind::kAlpha, static_cast<uint32_t>(alpha), -1, false};
  const ChannelMasks masks = MasksOf(*this);
  const bool dst_8bit = GetBitCount() == 8;
  SurfaceLock dst_lock(*this);
  SurfaceLock src_lock(source);
  for (size_t r = 0; r < span.rows.size(); ++r) {
    const int32_t dy = span.dst_y + static_cast<int32_t>(r);
    for (size_t c = 0; c < span.columns.size(); ++c) {
      const uint32_t index = source.GetPixel(span.columns[c], span.rows[r]);
      if (key >= 0 && index == key) continue;
      if (index >= palette.size()) continue;
      const int32_t dx = span.dst_x + static_cast<int32_t>(c);
      uint32_t out;
      if (CombinePixel(op, GetPixel(dx, dy), palette[index], 255, masks, dst_8bit, out)) SetPixel(dx, dy, out);
    }
  }
}

}  // namespace orva
