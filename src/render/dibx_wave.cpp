#include "render/dibx_wave.h"

namespace orva {

namespace {

TRect Moved(const TRect& r, int32_t dx, int32_t dy) {
  return TRect{static_cast<int32_t>(int64_t{r.Left} + dx), static_cast<int32_t>(int64_t{r.Top} + dy),
               static_cast<int32_t>(int64_t{r.Right} + dx), static_cast<int32_t>(int64_t{r.Bottom} + dy)};
}

}  // namespace

template <typename DrawRun>
void TDIBXWave::ForEachRun(DrawRun draw) {
  if (!target_ || Width <= 0 || Height <= 0) return;
  const int32_t saved[4] = {target_->ClipLeft, target_->ClipTop, target_->ClipRight, target_->ClipBottom};
  const TRect target_clip = target_->GetClipRect();
  const int32_t rows = std::min<int32_t>(Height, static_cast<int32_t>(offsets_.size()));
  int32_t first = 0;
  while (first < rows) {
    int32_t end = first + 1;
    while (end < rows && offsets_[static_cast<size_t>(end)] == offsets_[static_cast<size_t>(first)]) ++end;
    const int64_t dx = int64_t{OriginX} + offsets_[static_cast<size_t>(first)];
    const int64_t dy = OriginY;
    const TRect band{static_cast<int32_t>(std::clamp<int64_t>(dx, INT32_MIN, INT32_MAX)),
                     static_cast<int32_t>(std::clamp<int64_t>(dy + first, INT32_MIN, INT32_MAX)),
                     static_cast<int32_t>(std::clamp<int64_t>(dx + Width, INT32_MIN, INT32_MAX)),
                     static_cast<int32_t>(std::clamp<int64_t>(dy + end, INT32_MIN, INT32_MAX))};
    const TRect run_clip = Intersect(Intersect(band, target_clip), target_->GetBounds());
    if (!run_clip.IsEmpty() && dx >= INT32_MIN && dx <= INT32_MAX) {
      target_->SetClipRect(run_clip);
      draw(*target_, static_cast<int32_t>(dx), static_cast<int32_t>(dy));
    }
    first = end;
  }
  target_->ClipLeft = saved[0];
  target_->ClipTop = saved[1];
  target_->ClipRight = saved[2];
  target_->ClipBottom = saved[3];
}

uint32_t TDIBXWave::GetPixel(int32_t x, int32_t y) const {
  if (!target_ || y < 0 || y >= Height || y >= static_cast<int32_t>(offsets_.size())) return 0;
  return target_->GetPixel(static_cast<int32_t>(int64_t{x} + OriginX + offsets_[static_cast<size_t>(y)]),
                           static_cast<int32_t>(int64_t{y} + OriginY));
}

void TDIBXWave::SetPixel(int32_t x, int32_t y, uint32_t value) {
  if (!target_ || y < 0 || y >= Height || y >= static_cast<int32_t>(offsets_.size())) return;
  target_->SetPixel(static_cast<int32_t>(int64_t{x} + OriginX + offsets_[static_cast<size_t>(y)]),
                    static_cast<int32_t>(int64_t{y} + OriginY), value);
}

void TDIBXWave::SetSize(int32_t width, int32_t height, int32_t) {
  if (width <= 0 || height <= 0 || height > 16384) width = height = 0;
  Width = width;
  Height = height;
  offsets_.assign(static_cast<size_t>(height), 0);
}

void TDIBXWave::ResetClip() {
  TCustomDIBX::ResetClip();
  if (target_) target_->ResetClip();
}

void TDIBXWave::AddClip(const TRect& rect) {
  TCustomDIBX::AddClip(rect);
  if (target_ && ClipRight != 0) target_->AddClip(Moved(GetClipRect(), OriginX, OriginY));
}

void TDIBXWave::Fill(uint32_t value) { FillRect(GetBounds(), value); }

void TDIBXWave::FillRect(const TRect& rect, uint32_t value) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) { t.FillRect(Moved(rect, dx, dy), value); });
}
void TDIBXWave::BlendFillRect(const TRect& rect, uint32_t colour, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) { t.BlendFillRect(Moved(rect, dx, dy), colour, alpha); });
}
void TDIBXWave::AddFillRect(const TRect& rect, uint32_t colour) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) { t.AddFillRect(Moved(rect, dx, dy), colour); });
}
void TDIBXWave::SubFillRect(const TRect& rect, uint32_t colour) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) { t.SubFillRect(Moved(rect, dx, dy), colour); });
}

#define ORVA_AT(x, y) static_cast<int32_t>(int64_t{x} + dx), static_cast<int32_t>(int64_t{y} + dy)

void TDIBXWave::Draw(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool keyed, bool mirror_h,
                     bool mirror_v) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.Draw(ORVA_AT(x, y), source, src_rect, keyed, mirror_h, mirror_v);
  });
}
void TDIBXWave::DrawMasked(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                           bool mirror_v, TCustomDIBX& mask) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.DrawMasked(ORVA_AT(x, y), source, src_rect, mirror_h, mirror_v, mask);
  });
}
void TDIBXWave::DrawAlpha(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                          bool mirror_h, bool mirror_v, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.DrawAlpha(ORVA_AT(x, y), source, src_rect, keyed, mirror_h, mirror_v, alpha);
  });
}
void TDIBXWave::DrawMaskedAlpha(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                                bool mirror_v, TCustomDIBX& mask, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.DrawMaskedAlpha(ORVA_AT(x, y), source, src_rect, mirror_h, mirror_v, mask, alpha);
  });
}
void TDIBXWave::DrawAdd(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool keyed, bool mirror_h,
                        bool mirror_v, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.DrawAdd(ORVA_AT(x, y), source, src_rect, keyed, mirror_h, mirror_v, alpha);
  });
}
void TDIBXWave::DrawMaskedAdd(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                              bool mirror_v, TCustomDIBX& mask, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.DrawMaskedAdd(ORVA_AT(x, y), source, src_rect, mirror_h, mirror_v, mask, alpha);
  });
}
void TDIBXWave::DrawRotateZoom(int32_t x, int32_t y, int32_t zoom_x, int32_t zoom_y, TCustomDIBX& source,
                               const TRect& src_rect, int32_t pivot_x, int32_t pivot_y, int32_t angle, bool keyed,
                               bool mirror_h, bool mirror_v, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.DrawRotateZoom(ORVA_AT(x, y), zoom_x, zoom_y, source, src_rect, pivot_x, pivot_y, angle, keyed, mirror_h,
                     mirror_v, alpha);
  });
}
void TDIBXWave::DrawMaskedRotateZoom(int32_t x, int32_t y, int32_t zoom_x, int32_t zoom_y, TCustomDIBX& source,
                                     const TRect& src_rect, int32_t pivot_x, int32_t pivot_y, int32_t angle,
                                     TCustomDIBX& mask, bool mirror_h, bool mirror_v, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.DrawMaskedRotateZoom(ORVA_AT(x, y), zoom_x, zoom_y, source, src_rect, pivot_x, pivot_y, angle, mask, mirror_h,
                           mirror_v, alpha);
  });
}
void TDIBXWave::StretchDraw(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                            bool mirror_h, bool mirror_v, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.StretchDraw(Moved(dst_rect, dx, dy), source, src_rect, keyed, mirror_h, mirror_v, alpha);
  });
}
void TDIBXWave::StretchDrawMasked(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                                  bool mirror_v, TCustomDIBX& mask, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.StretchDrawMasked(Moved(dst_rect, dx, dy), source, src_rect, mirror_h, mirror_v, mask, alpha);
  });
}
void TDIBXWave::StretchDrawAdd(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                               bool mirror_h, bool mirror_v, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.StretchDrawAdd(Moved(dst_rect, dx, dy), source, src_rect, keyed, mirror_h, mirror_v, alpha);
  });
}
void TDIBXWave::StretchDrawMaskedAdd(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect,
                                     bool mirror_h, bool mirror_v, TCustomDIBX& mask, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.StretchDrawMaskedAdd(Moved(dst_rect, dx, dy), source, src_rect, mirror_h, mirror_v, mask, alpha);
  });
}
void TDIBXWave::DrawReduced(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, uint32_t colour,
                            bool mirror_h, bool mirror_v, int32_t alpha, int32_t factor) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.DrawReduced(ORVA_AT(x, y), source, src_rect, colour, mirror_h, mirror_v, alpha, factor);
  });
}
void TDIBXWave::DrawReducedColors(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect,
                                  std::span<const uint32_t> colours, bool mirror_h, bool mirror_v, int32_t alpha,
                                  int32_t factor) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.DrawReducedColors(ORVA_AT(x, y), source, src_rect, colours, mirror_h, mirror_v, alpha, factor);
  });
}
void TDIBXWave::TileDraw(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                         const TRect& src_rect, bool keyed, int32_t origin_x, int32_t origin_y) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.TileDraw(Moved(dst_rect, dx, dy), h_gap, v_gap, source, src_rect, keyed, origin_x, origin_y);
  });
}
void TDIBXWave::TileDrawAlpha(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                              const TRect& src_rect, bool keyed, int32_t origin_x, int32_t origin_y, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.TileDrawAlpha(Moved(dst_rect, dx, dy), h_gap, v_gap, source, src_rect, keyed, origin_x, origin_y, alpha);
  });
}
void TDIBXWave::TileDrawAdd(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                            const TRect& src_rect, bool keyed, int32_t origin_x, int32_t origin_y, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.TileDrawAdd(Moved(dst_rect, dx, dy), h_gap, v_gap, source, src_rect, keyed, origin_x, origin_y, alpha);
  });
}
void TDIBXWave::TileDrawMasked(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                               const TRect& src_rect, TCustomDIBX& mask, int32_t origin_x, int32_t origin_y) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.TileDrawMasked(Moved(dst_rect, dx, dy), h_gap, v_gap, source, src_rect, mask, origin_x, origin_y);
  });
}
void TDIBXWave::TileDrawMaskedAlpha(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                                    const TRect& src_rect, TCustomDIBX& mask, int32_t origin_x, int32_t origin_y,
                                    int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.TileDrawMaskedAlpha(Moved(dst_rect, dx, dy), h_gap, v_gap, source, src_rect, mask, origin_x, origin_y, alpha);
  });
}
void TDIBXWave::TileDrawMaskedAdd(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                                  const TRect& src_rect, TCustomDIBX& mask, int32_t origin_x, int32_t origin_y,
                                  int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.TileDrawMaskedAdd(Moved(dst_rect, dx, dy), h_gap, v_gap, source, src_rect, mask, origin_x, origin_y, alpha);
  });
}
void TDIBXWave::TileStretchDraw(const TRect& dst_rect, int32_t tile_width, int32_t tile_height, int32_t h_gap,
                                int32_t v_gap, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                                int32_t origin_x, int32_t origin_y, int32_t alpha, bool additive) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.TileStretchDraw(Moved(dst_rect, dx, dy), tile_width, tile_height, h_gap, v_gap, source, src_rect, keyed,
                      origin_x, origin_y, alpha, additive);
  });
}
void TDIBXWave::TileStretchDrawMasked(const TRect& dst_rect, int32_t tile_width, int32_t tile_height,
                                      int32_t h_gap, int32_t v_gap, TCustomDIBX& source, const TRect& src_rect,
                                      TCustomDIBX& mask, int32_t origin_x, int32_t origin_y, int32_t alpha,
                                      bool additive) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.TileStretchDrawMasked(Moved(dst_rect, dx, dy), tile_width, tile_height, h_gap, v_gap, source, src_rect, mask,
                            origin_x, origin_y, alpha, additive);
  });
}
void TDIBXWave::DrawPalette4(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                             bool mirror_v, int32_t alpha, std::span<const uint32_t> palette) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.DrawPalette4(ORVA_AT(x, y), source, src_rect, mirror_h, mirror_v, alpha, palette);
  });
}
void TDIBXWave::DrawPaletteAdd(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                               bool mirror_v, int32_t alpha, std::span<const uint32_t> palette) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.DrawPaletteAdd(ORVA_AT(x, y), source, src_rect, mirror_h, mirror_v, alpha, palette);
  });
}
void TDIBXWave::StretchDrawPalette(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                                   bool mirror_h, bool mirror_v, int32_t alpha, std::span<const uint32_t> palette) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.StretchDrawPalette(Moved(dst_rect, dx, dy), source, src_rect, keyed, mirror_h, mirror_v, alpha, palette);
  });
}
void TDIBXWave::PatternZoomFill(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, int32_t zoom_x,
                                int32_t zoom_y, bool keyed, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.PatternZoomFill(Moved(dst_rect, dx, dy), source, src_rect, zoom_x, zoom_y, keyed, alpha);
  });
}
void TDIBXWave::PatternZoomFillMasked(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect,
                                      TCustomDIBX& mask, int32_t zoom_x, int32_t zoom_y, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.PatternZoomFillMasked(Moved(dst_rect, dx, dy), source, src_rect, mask, zoom_x, zoom_y, alpha);
  });
}
void TDIBXWave::PatternFillRect(const TRect& rect, TCustomDIBX& source, bool mirror_h, bool mirror_v,
                                int32_t offset_x, int32_t offset_y) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.PatternFillRect(Moved(rect, dx, dy), source, mirror_h, mirror_v, offset_x, offset_y);
  });
}
void TDIBXWave::DrawColorMasked(int32_t x, int32_t y, TCustomDIBX& mask, const TRect& src_rect, bool mirror_h,
                                bool mirror_v, uint32_t colour, int32_t alpha) {
  ForEachRun([&](TCustomDIBX& t, int32_t dx, int32_t dy) {
    t.DrawColorMasked(ORVA_AT(x, y), mask, src_rect, mirror_h, mirror_v, colour, alpha);
  });
}

#undef ORVA_AT

}  // namespace orva
