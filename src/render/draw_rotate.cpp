// Rotated and zoomed copies: every destination pixel inside the transformed source's bounding box
// is mapped back to the source in 16.16 fixed point.

#include <cmath>
#include <numbers>

#include "render/alpha_mode.h"
#include "render/custom_dibx.h"
#include "render/draw_engine.h"

namespace orva {

namespace {

void RotateZoom(TCustomDIBX& dst, int32_t x, int32_t y, int32_t zoom_x, int32_t zoom_y, TCustomDIBX& source,
                const TRect& src_rect, int32_t pivot_x, int32_t pivot_y, int32_t angle, TCustomDIBX* mask,
                bool keyed, bool mirror_h, bool mirror_v, int32_t alpha) {
  if (zoom_x <= 0 || zoom_y <= 0) return;
  const std::optional<CopyOp> op = ModeOp(alpha, mask != nullptr, SourceKey(source, keyed));
  if (!op) return;
  TRect bounds = source.GetBounds();
  if (mask) bounds = Intersect(bounds, mask->GetBounds());
  // Sampling stays inside the part of the source rectangle that the surfaces hold.
  const TRect readable = Intersect(src_rect, bounds);
  if (readable.IsEmpty()) return;
  const int64_t width = src_rect.Width();
  const int64_t height = src_rect.Height();

  const long double theta = static_cast<long double>(angle) * 2.0L * std::numbers::pi_v<long double> / 256.0L;
  const long double cos_t = std::cos(theta);
  const long double sin_t = std::sin(theta);
  const long double zx = static_cast<long double>(zoom_x) / 256.0L;
  const long double zy = static_cast<long double>(zoom_y) / 256.0L;

  long double min_x = INFINITY, min_y = INFINITY, max_x = -INFINITY, max_y = -INFINITY;
  for (const int64_t cu : {int64_t{0}, width}) {
    for (const int64_t cv : {int64_t{0}, height}) {
      const long double u = static_cast<long double>(cu - pivot_x) * zx;
      const long double v = static_cast<long double>(cv - pivot_y) * zy;
      const long double px = x + u * cos_t - v * sin_t;
      const long double py = y + u * sin_t + v * cos_t;
      min_x = std::min(min_x, px);
      max_x = std::max(max_x, px);
      min_y = std::min(min_y, py);
      max_y = std::max(max_y, py);
    }
  }
  const TRect clip = EffectiveClip(dst);
  auto to_int = [](long double v) {
    return static_cast<int64_t>(std::clamp<long double>(v, -4e9L, 4e9L));
  };
  // Pixels are sampled at their top-left corner, so a turned picture can reach one pixel beyond
  // the box around its corners (a quarter turn puts its first column just left of it); the
  // per-pixel test below keeps only pixels that map inside the source.
  const int64_t left = std::max<int64_t>(to_int(std::floor(min_x)) - 1, clip.Left);
  const int64_t top = std::max<int64_t>(to_int(std::floor(min_y)) - 1, clip.Top);
  const int64_t right = std::min<int64_t>(to_int(std::ceil(max_x)) + 1, clip.Right);
  const int64_t bottom = std::min<int64_t>(to_int(std::ceil(max_y)) + 1, clip.Bottom);
  if (right <= left || bottom <= top) return;

  const long double cos_back = std::cos(-theta);
  const long double sin_back = std::sin(-theta);
  const auto du_col = static_cast<int64_t>(std::trunc(cos_back / zx * 65536.0L));
  const auto dv_col = static_cast<int64_t>(std::trunc(sin_back / zy * 65536.0L));
  const auto du_row = static_cast<int64_t>(std::trunc(-sin_back / zx * 65536.0L));
  const auto dv_row = static_cast<int64_t>(std::trunc(cos_back / zy * 65536.0L));
  const int64_t start_u = int64_t{pivot_x} * 65536 + (left - x) * du_col + (top - y) * du_row;
  const int64_t start_v = int64_t{pivot_y} * 65536 + (left - x) * dv_col + (top - y) * dv_row;

  const ChannelMasks masks = MasksOf(dst);
  const bool dst_8bit = dst.GetBitCount() == 8;
  SurfaceLock dst_lock(dst);
  SurfaceLock src_lock(source);
  for (int64_t row = 0; row < bottom - top; ++row) {
    int64_t u = start_u + row * du_row;
    int64_t v = start_v + row * dv_row;
    for (int64_t col = 0; col < right - left; ++col, u += du_col, v += dv_col) {
      const int64_t su = u >> 16;
      const int64_t sv = v >> 16;
      if (su < 0 || sv < 0 || su >= width || sv >= height) continue;
      const int64_t sx = mirror_h ? src_rect.Right - 1 - su : src_rect.Left + su;
      const int64_t sy = mirror_v ? src_rect.Bottom - 1 - sv : src_rect.Top + sv;
      if (!readable.Contains(static_cast<int32_t>(sx), static_cast<int32_t>(sy))) continue;
      const auto sxi = static_cast<int32_t>(sx);
      const auto syi = static_cast<int32_t>(sy);
      const auto dx = static_cast<int32_t>(left + col);
      const auto dy = static_cast<int32_t>(top + row);
      const uint32_t m = mask ? mask->GetPixel(sxi, syi) : 255;
      uint32_t out;
      if (CombinePixel(*op, dst.GetPixel(dx, dy), source.GetPixel(sxi, syi), m, masks, dst_8bit, out)) {
        dst.SetPixel(dx, dy, out);
      }
    }
  }
}

}  // namespace

void TCustomDIBX::DrawRotateZoom(int32_t x, int32_t y, int32_t zoom_x, int32_t zoom_y, TCustomDIBX& source,
                                 const TRect& src_rect, int32_t pivot_x, int32_t pivot_y, int32_t angle, bool keyed,
                                 bool mirror_h, bool mirror_v, int32_t alpha) {
  RotateZoom(*this, x, y, zoom_x, zoom_y, source, src_rect, pivot_x, pivot_y, angle, nullptr, keyed, mirror_h,
             mirror_v, alpha);
}

void TCustomDIBX::DrawMaskedRotateZoom(int32_t x, int32_t y, int32_t zoom_x, int32_t zoom_y, TCustomDIBX& source,
                                       const TRect& src_rect, int32_t pivot_x, int32_t pivot_y, int32_t angle,
                                       TCustomDIBX& mask, bool mirror_h, bool mirror_v, int32_t alpha) {
  if (mask.GetBitCount() != 8) return;
  RotateZoom(*this, x, y, zoom_x, zoom_y, source, src_rect, pivot_x, pivot_y, angle, &mask, false, mirror_h,
             mirror_v, alpha);
}

}  // namespace orva
