#include "render/custom_dibx.h"

#include <algorithm>
#include <bit>

#include "render/draw_engine.h"

namespace orva {

namespace {

int32_t BitsOf(uint32_t mask) { return std::popcount(mask); }

}  // namespace

TCustomDIBX::TCustomDIBX() = default;
TCustomDIBX::~TCustomDIBX() = default;

bool TCustomDIBX::IsEmpty() const { return GetWidth() == 0 || GetHeight() == 0; }

int32_t TCustomDIBX::GetBlueShift() const { return 0; }
int32_t TCustomDIBX::GetGreenShift() const { return BitsOf(GetBlueMask()); }
int32_t TCustomDIBX::GetRedShift() const { return BitsOf(GetBlueMask()) + BitsOf(GetGreenMask()); }

TRect TCustomDIBX::GetClipRect() const {
  if (ClipRight == 0) return GetBounds();
  return TRect{ClipLeft, ClipTop, ClipRight, ClipBottom};
}

void TCustomDIBX::SetClipRect(const TRect& rect) {
  ClipLeft = rect.Left;
  ClipTop = rect.Top;
  ClipRight = rect.Right;
  ClipBottom = rect.Bottom;
}

void TCustomDIBX::ResetClip() { ClipRight = 0; }

void TCustomDIBX::AddClip(const TRect& rect) {
  const TRect clamped = Intersect(rect, GetBounds());
  if (clamped.IsEmpty()) return;
  if (ClipRight == 0) SetClipRect(clamped);
  else SetClipRect(Union(TRect{ClipLeft, ClipTop, ClipRight, ClipBottom}, clamped));
}

int32_t TCustomDIBX::ColorToPixel(int32_t colour) const {
  if (colour < 0) return -1;
  const int32_t bits = GetBitCount();
  if (bits != 15 && bits != 16 && bits != 32) return colour;
  const uint32_t c = static_cast<uint32_t>(colour);
  const uint32_t red = c & 0xFF;
  const uint32_t green = (c >> 8) & 0xFF;
  const uint32_t blue = (c >> 16) & 0xFF;
  const uint32_t pixel = (red >> (8 - BitsOf(GetRedMask()))) << GetRedShift() |
                         (green >> (8 - BitsOf(GetGreenMask()))) << GetGreenShift() |
                         (blue >> (8 - BitsOf(GetBlueMask()))) << GetBlueShift();
  return static_cast<int32_t>(pixel);
}

// ---- fills and frames

void TCustomDIBX::Fill(uint32_t value) { RunFill(*this, GetBounds(), FillKind::kFill, value, 255); }

void TCustomDIBX::FillRect(const TRect& rect, uint32_t value) {
  RunFill(*this, Intersect(rect, EffectiveClip(*this)), FillKind::kFill, value, 255);
}

void TCustomDIBX::BlendFillRect(const TRect& rect, uint32_t colour, int32_t alpha) {
  if (alpha <= 0) return;
  // Full opacity is a plain fill: the blend formula would darken by 1/256.
  if (alpha >= 255) return FillRect(rect, colour);
  RunFill(*this, Intersect(rect, EffectiveClip(*this)), FillKind::kBlend, colour, static_cast<uint32_t>(alpha));
}

void TCustomDIBX::AddFillRect(const TRect& rect, uint32_t colour) {
  RunFill(*this, Intersect(rect, EffectiveClip(*this)), FillKind::kAdd, colour, 255);
}

void TCustomDIBX::SubFillRect(const TRect& rect, uint32_t colour) {
  RunFill(*this, Intersect(rect, EffectiveClip(*this)), FillKind::kSub, colour, 255);
}

namespace {

// The four bars of a frame: top and bottom across the full width, then the sides between them
// when any height is left.
template <typename Bar>
void FrameBars(const TRect& rect, int32_t thickness, Bar bar) {
  if (thickness <= 0 || rect.IsEmpty()) return;
  const int64_t t = thickness;
  auto clamp = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  bar(TRect{rect.Left, rect.Top, rect.Right, clamp(rect.Top + t)});
  bar(TRect{rect.Left, clamp(rect.Bottom - t), rect.Right, rect.Bottom});
  if (rect.Height() - 2 * t > 0) {
    bar(TRect{rect.Left, clamp(rect.Top + t), clamp(rect.Left + t), clamp(rect.Bottom - t)});
    bar(TRect{clamp(rect.Right - t), clamp(rect.Top + t), rect.Right, clamp(rect.Bottom - t)});
  }
}

}  // namespace

void TCustomDIBX::FrameRect(const TRect& rect, int32_t thickness, uint32_t value) {
  FrameBars(rect, thickness, [&](const TRect& bar) { FillRect(bar, value); });
}

void TCustomDIBX::BlendFrameRect(const TRect& rect, int32_t thickness, uint32_t colour, int32_t alpha) {
  FrameBars(rect, thickness, [&](const TRect& bar) { BlendFillRect(bar, colour, alpha); });
}

void TCustomDIBX::AddFrameRect(const TRect& rect, int32_t thickness, uint32_t colour) {
  FrameBars(rect, thickness, [&](const TRect& bar) { AddFillRect(bar, colour); });
}

void TCustomDIBX::PatternFrameRect(const TRect& rect, int32_t thickness, TCustomDIBX& source, bool mirror_h,
                                   bool mirror_v, int32_t offset_x, int32_t offset_y) {
  FrameBars(rect, thickness,
            [&](const TRect& bar) { PatternFillRect(bar, source, mirror_h, mirror_v, offset_x, offset_y); });
}

// ---- copies

void TCustomDIBX::Assign(TCustomDIBX& source) {
  Draw(0, 0, source, source.GetBounds(), false, false, false);
}

namespace {

void CopyFamily(TCustomDIBX& dst, int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                bool mirror_v, TCustomDIBX* mask, const CopyOp& op) {
  TRect bounds = source.GetBounds();
  if (mask) bounds = Intersect(bounds, mask->GetBounds());
  CopySpan span;
  if (!ClipCopy(EffectiveClip(dst), x, y, src_rect, bounds, mirror_h, mirror_v, span)) return;
  RunCopy(dst, source, mask, span, op);
}

}  // namespace

void TCustomDIBX::Draw(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool keyed, bool mirror_h,
                       bool mirror_v) {
  CopyFamily(*this, x, y, source, src_rect, mirror_h, mirror_v, nullptr,
             CopyOp{CopyKind::kCopy, 255, SourceKey(source, keyed), false});
}

void TCustomDIBX::DrawMasked(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                             bool mirror_v, TCustomDIBX& mask) {
  if (mask.GetBitCount() != 8) return;
  CopyFamily(*this, x, y, source, src_rect, mirror_h, mirror_v, &mask, CopyOp{CopyKind::kMask, 255, -1, false});
}

void TCustomDIBX::DrawAlpha(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                            bool mirror_h, bool mirror_v, int32_t alpha) {
  if (alpha <= 0) return;
  if (alpha >= 255) return Draw(x, y, source, src_rect, keyed, mirror_h, mirror_v);
  CopyFamily(*this, x, y, source, src_rect, mirror_h, mirror_v, nullptr,
             CopyOp{CopyKind::kAlpha, static_cast<uint32_t>(alpha), SourceKey(source, keyed), true});
}

void TCustomDIBX::DrawMaskedAlpha(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                                  bool mirror_v, TCustomDIBX& mask, int32_t alpha) {
  if (alpha <= 0 || mask.GetBitCount() != 8) return;
  if (alpha >= 255) return DrawMasked(x, y, source, src_rect, mirror_h, mirror_v, mask);
  CopyFamily(*this, x, y, source, src_rect, mirror_h, mirror_v, &mask,
             CopyOp{CopyKind::kMaskAlpha, static_cast<uint32_t>(alpha), -1, false});
}

void TCustomDIBX::DrawAdd(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool /*keyed*/,
                          bool mirror_h, bool mirror_v, int32_t alpha) {
  if (alpha <= 0) return;
  // The source key applies to additive drawing whether or not the caller asked for it.
  CopyFamily(*this, x, y, source, src_rect, mirror_h, mirror_v, nullptr,
             CopyOp{CopyKind::kAdd, static_cast<uint32_t>(std::min(alpha, 255)), SourceKey(source, true), false});
}

void TCustomDIBX::DrawMaskedAdd(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                                bool mirror_v, TCustomDIBX& mask, int32_t alpha) {
  if (alpha <= 0 || mask.GetBitCount() != 8) return;
  CopyFamily(*this, x, y, source, src_rect, mirror_h, mirror_v, &mask,
             CopyOp{CopyKind::kMaskAdd, static_cast<uint32_t>(std::min(alpha, 255)), -1, false});
}

void TCustomDIBX::DrawColorMasked(int32_t x, int32_t y, TCustomDIBX& mask, const TRect& src_rect, bool mirror_h,
                                  bool mirror_v, uint32_t colour, int32_t alpha) {
  if (alpha <= 0 || mask.GetBitCount() != 8) return;
  CopySpan span;
  if (!ClipCopy(EffectiveClip(*this), x, y, src_rect, mask.GetBounds(), mirror_h, mirror_v, span)) return;
  // Full opacity paints the mask exactly, as DrawMasked does.
  const CopyOp op = alpha >= 255 ? CopyOp{CopyKind::kMask, 255, -1, false}
                                 : CopyOp{CopyKind::kMaskAlpha, static_cast<uint32_t>(alpha), -1, false};
  RunColourThroughMask(*this, mask, span, colour, op);
}

// ---- palette (only indexed memory surfaces have one)

void TCustomDIBX::GetPalette(uint32_t entries[256]) { GetPaletteEntries(entries, 0, 256); }
void TCustomDIBX::GetPaletteEntries(uint32_t* entries, int32_t /*first*/, int32_t count) {
  for (int32_t i = 0; i < count; ++i) entries[i] = 0;
}
void TCustomDIBX::SetPalette(const uint32_t entries[256]) { SetPaletteEntries(entries, 0, 256); }
void TCustomDIBX::SetPaletteEntries(const uint32_t*, int32_t, int32_t) {}

void TCustomDIBX::Clear() {
  Width = 0;
  Height = 0;
}

}  // namespace orva
