// Tiles and patterns: the source repeated over a rectangle, as whole single-tile draws or sampled
// per pixel.

#include <algorithm>

#include "render/alpha_mode.h"
#include "render/custom_dibx.h"
#include "render/draw_engine.h"

namespace orva {

namespace {

int64_t WrapInto(int64_t value, int64_t size) {
  const int64_t r = value % size;
  return r < 0 ? r + size : r;
}

// Calls draw(x, y) for every tile that meets the destination, with the clip rectangle narrowed to
// the destination for the duration and restored afterwards.
template <typename DrawOne>
void Tiles(TCustomDIBX& dst, const TRect& dst_rect, int64_t tile_w, int64_t tile_h, int32_t h_gap, int32_t v_gap,
           int32_t origin_x, int32_t origin_y, DrawOne draw) {
  if (tile_w <= 0 || tile_h <= 0) return;
  const TRect area = Intersect(dst.GetClipRect(), dst_rect);
  if (area.IsEmpty()) return;
  const TRect visible = Intersect(area, dst.GetBounds());
  if (visible.IsEmpty()) return;
  const int32_t saved[4] = {dst.ClipLeft, dst.ClipTop, dst.ClipRight, dst.ClipBottom};
  dst.SetClipRect(area);
  // A gap that swallows the tile would never advance; a step of at least one column keeps moving.
  const int64_t step_x = std::max<int64_t>(1, tile_w + h_gap);
  const int64_t step_y = std::max<int64_t>(1, tile_h + v_gap);
  const int64_t first_x = int64_t{dst_rect.Left} - WrapInto(origin_x, tile_w);
  const int64_t first_y = int64_t{dst_rect.Top} - WrapInto(origin_y, tile_h);
  // Skip the tiles that end before the visible part.
  auto start = [](int64_t first, int64_t step, int64_t size, int64_t low) {
    if (first + size > low) return first;
    return first + (low - (first + size)) / step * step;
  };
  for (int64_t y = start(first_y, step_y, tile_h, visible.Top); y < visible.Bottom; y += step_y) {
    if (y + tile_h <= visible.Top) continue;
    for (int64_t x = start(first_x, step_x, tile_w, visible.Left); x < visible.Right; x += step_x) {
      if (x + tile_w <= visible.Left) continue;
      draw(static_cast<int32_t>(x), static_cast<int32_t>(y));
    }
  }
  dst.ClipLeft = saved[0];
  dst.ClipTop = saved[1];
  dst.ClipRight = saved[2];
  dst.ClipBottom = saved[3];
}

void PatternZoom(TCustomDIBX& dst, const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect,
                 TCustomDIBX* mask, int32_t zoom_x, int32_t zoom_y, bool keyed, int32_t alpha) {
  if (zoom_x <= 0 || zoom_y <= 0) return;
  const std::optional<CopyOp> op = ModeOp(alpha, mask != nullptr, SourceKey(source, keyed));
  if (!op) return;
  TRect bounds = source.GetBounds();
  if (mask) bounds = Intersect(bounds, mask->GetBounds());
  const TRect readable = Intersect(src_rect, bounds);
  if (readable.IsEmpty()) return;
  const TRect area = Intersect(dst_rect, EffectiveClip(dst));
  if (area.IsEmpty()) return;
  const int64_t width = readable.Width();
  const int64_t height = readable.Height();
  const int64_t step_x = int64_t{65536} * 256 / zoom_x;
  const int64_t step_y = int64_t{65536} * 256 / zoom_y;
  const ChannelMasks masks = MasksOf(dst);
  const bool dst_8bit = dst.GetBitCount() == 8;
  SurfaceLock dst_lock(dst);
  SurfaceLock src_lock(source);
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    const auto sy = static_cast<int32_t>(readable.Top + WrapInto(((int64_t{y} - dst_rect.Top) * step_y) >> 16, height));
    for (int32_t x = area.Left; x < area.Right; ++x) {
      const auto sx =
          static_cast<int32_t>(readable.Left + WrapInto(((int64_t{x} - dst_rect.Left) * step_x) >> 16, width));
      const uint32_t m = mask ? mask->GetPixel(sx, sy) : 255;
      uint32_t out;
      if (CombinePixel(*op, dst.GetPixel(x, y), source.GetPixel(sx, sy), m, masks, dst_8bit, out)) {
        dst.SetPixel(x, y, out);
      }
    }
  }
}

}  // namespace

void TCustomDIBX::TileDraw(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                           const TRect& src_rect, bool keyed, int32_t origin_x, int32_t origin_y) {
  Tiles(*this, dst_rect, src_rect.Width(), src_rect.Height(), h_gap, v_gap, origin_x, origin_y,
        [&](int32_t x, int32_t y) { Draw(x, y, source, src_rect, keyed, false, false); });
}

void TCustomDIBX::TileDrawAlpha(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                                const TRect& src_rect, bool keyed, int32_t origin_x, int32_t origin_y,
                                int32_t alpha) {
  if (alpha <= 0) return;
  Tiles(*this, dst_rect, src_rect.Width(), src_rect.Height(), h_gap, v_gap, origin_x, origin_y,
        [&](int32_t x, int32_t y) { DrawAlpha(x, y, source, src_rect, keyed, false, false, alpha); });
}

void TCustomDIBX::TileDrawAdd(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                              const TRect& src_rect, bool keyed, int32_t origin_x, int32_t origin_y, int32_t alpha) {
  if (alpha <= 0) return;
  Tiles(*this, dst_rect, src_rect.Width(), src_rect.Height(), h_gap, v_gap, origin_x, origin_y,
        [&](int32_t x, int32_t y) { DrawAdd(x, y, source, src_rect, keyed, false, false, alpha); });
}

void TCustomDIBX::TileDrawMasked(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                                 const TRect& src_rect, TCustomDIBX& mask, int32_t origin_x, int32_t origin_y) {
  Tiles(*this, dst_rect, src_rect.Width(), src_rect.Height(), h_gap, v_gap, origin_x, origin_y,
        [&](int32_t x, int32_t y) { DrawMasked(x, y, source, src_rect, false, false, mask); });
}

void TCustomDIBX::TileDrawMaskedAlpha(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                                      const TRect& src_rect, TCustomDIBX& mask, int32_t origin_x, int32_t origin_y,
                                      int32_t alpha) {
  if (alpha <= 0) return;
  Tiles(*this, dst_rect, src_rect.Width(), src_rect.Height(), h_gap, v_gap, origin_x, origin_y,
        [&](int32_t x, int32_t y) { DrawMaskedAlpha(x, y, source, src_rect, false, false, mask, alpha); });
}

void TCustomDIBX::TileDrawMaskedAdd(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                                    const TRect& src_rect, TCustomDIBX& mask, int32_t origin_x, int32_t origin_y,
                                    int32_t alpha) {
  if (alpha <= 0) return;
  Tiles(*this, dst_rect, src_rect.Width(), src_rect.Height(), h_gap, v_gap, origin_x, origin_y,
        [&](int32_t x, int32_t y) { DrawMaskedAdd(x, y, source, src_rect, false, false, mask, alpha); });
}

void TCustomDIBX::TileStretchDraw(const TRect& dst_rect, int32_t tile_width, int32_t tile_height, int32_t h_gap,
                                  int32_t v_gap, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                                  int32_t origin_x, int32_t origin_y, int32_t alpha, bool additive) {
  if (alpha <= 0) return;
  Tiles(*this, dst_rect, tile_width, tile_height, h_gap, v_gap, origin_x, origin_y, [&](int32_t x, int32_t y) {
    const TRect tile = Bounds(x, y, tile_width, tile_height);
    if (additive) StretchDrawAdd(tile, source, src_rect, keyed, false, false, alpha);
    else StretchDraw(tile, source, src_rect, keyed, false, false, alpha);
  });
}

void TCustomDIBX::TileStretchDrawMasked(const TRect& dst_rect, int32_t tile_width, int32_t tile_height,
                                        int32_t h_gap, int32_t v_gap, TCustomDIBX& source, const TRect& src_rect,
                                        TCustomDIBX& mask, int32_t origin_x, int32_t origin_y, int32_t alpha,
                                        bool additive) {
  if (alpha <= 0) return;
  Tiles(*this, dst_rect, tile_width, tile_height, h_gap, v_gap, origin_x, origin_y, [&](int32_t x, int32_t y) {
    const TRect tile = Bounds(x, y, tile_width, tile_height);
    if (additive) StretchDrawMaskedAdd(tile, source, src_rect, false, false, mask, alpha);
    else StretchDrawMasked(tile, source, src_rect, false, false, mask, alpha);
  });
}

void TCustomDIBX::PatternFillRect(const TRect& rect, TCustomDIBX& source, bool mirror_h, bool mirror_v,
                                  int32_t offset_x, int32_t offset_y) {
  const TRect src = source.GetBounds();
  Tiles(*this, rect, src.Width(), src.Height(), 0, 0, offset_x, offset_y,
        [&](int32_t x, int32_t y) { Draw(x, y, source, src, false, mirror_h, mirror_v); });
}

void TCustomDIBX::PatternZoomFill(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, int32_t zoom_x,
                                  int32_t zoom_y, bool keyed, int32_t alpha) {
  PatternZoom(*this, dst_rect, source, src_rect, nullptr, zoom_x, zoom_y, keyed, alpha);
}

void TCustomDIBX::PatternZoomFillMasked(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect,
                                        TCustomDIBX& mask, int32_t zoom_x, int32_t zoom_y, int32_t alpha) {
  if (mask.GetBitCount() != 8) return;
  PatternZoom(*this, dst_rect, source, src_rect, &mask, zoom_x, zoom_y, false, alpha);
}

}  // namespace orva
