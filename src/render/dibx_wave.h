#pragma once
// TDIBXWave: a view onto another surface that shifts each of its rows horizontally by its own
// offset. Drawing is split into runs of rows with equal offsets; each run is drawn on the target
// with the target's clip narrowed to the run and the destination moved by the origin and offset.

#include <vector>

#include "render/custom_dibx.h"

namespace orva {

class TDIBXWave : public TCustomDIBX {
 public:
  TDIBXWave() = default;

  // The surface drawn onto (not owned); nullptr draws nothing.
  void SetTarget(TCustomDIBX* target) { target_ = target; }
  std::vector<int32_t>& Offsets() { return offsets_; }
  int32_t OriginX = 0;
  int32_t OriginY = 0;

  int32_t GetBitCount() const override { return target_ ? target_->GetBitCount() : 0; }
  void SetBitCount(int32_t) override {}
  uint32_t GetRedMask() const override { return target_ ? target_->GetRedMask() : 0; }
  uint32_t GetGreenMask() const override { return target_ ? target_->GetGreenMask() : 0; }
  uint32_t GetBlueMask() const override { return target_ ? target_->GetBlueMask() : 0; }
  int32_t GetPitch() const override { return target_ ? target_->GetPitch() : 0; }
  uint32_t GetPixel(int32_t x, int32_t y) const override;
  void SetPixel(int32_t x, int32_t y, uint32_t value) override;
  int32_t GetBlueShift() const override { return target_ ? target_->GetBlueShift() : 0; }
  int32_t GetGreenShift() const override { return target_ ? target_->GetGreenShift() : 0; }
  int32_t GetRedShift() const override { return target_ ? target_->GetRedShift() : 0; }
  TCustomDIBX* GetTarget() override { return target_; }
  int32_t GetStorageBitCount() const override { return target_ ? target_->GetStorageBitCount() : 0; }
  // Sets the view's size and the length of the offset array; bits are the target's.
  void SetSize(int32_t width, int32_t height, int32_t bits) override;
  uint8_t* Lock(int32_t, int32_t) override { return nullptr; }
  void ResetClip() override;
  void AddClip(const TRect& rect) override;
  int32_t ColorToPixel(int32_t colour) const override { return target_ ? target_->ColorToPixel(colour) : colour; }

  void Fill(uint32_t value) override;
  void FillRect(const TRect& rect, uint32_t value) override;
  void BlendFillRect(const TRect& rect, uint32_t colour, int32_t alpha) override;
  void AddFillRect(const TRect& rect, uint32_t colour) override;
  void SubFillRect(const TRect& rect, uint32_t colour) override;
  void Draw(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool keyed, bool mirror_h,
            bool mirror_v) override;
  void DrawMasked(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h, bool mirror_v,
                  TCustomDIBX& mask) override;
  void DrawAlpha(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool keyed, bool mirror_h,
                 bool mirror_v, int32_t alpha) override;
  void DrawMaskedAlpha(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                       bool mirror_v, TCustomDIBX& mask, int32_t alpha) override;
  void DrawAdd(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool keyed, bool mirror_h,
               bool mirror_v, int32_t alpha) override;
  void DrawMaskedAdd(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h, bool mirror_v,
                     TCustomDIBX& mask, int32_t alpha) override;
  void DrawRotateZoom(int32_t x, int32_t y, int32_t zoom_x, int32_t zoom_y, TCustomDIBX& source, const TRect& src_rect,
                      int32_t pivot_x, int32_t pivot_y, int32_t angle, bool keyed, bool mirror_h, bool mirror_v,
                      int32_t alpha) override;
  void DrawMaskedRotateZoom(int32_t x, int32_t y, int32_t zoom_x, int32_t zoom_y, TCustomDIBX& source,
                            const TRect& src_rect, int32_t pivot_x, int32_t pivot_y, int32_t angle, TCustomDIBX& mask,
                            bool mirror_h, bool mirror_v, int32_t alpha) override;
  void StretchDraw(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool keyed, bool mirror_h,
                   bool mirror_v, int32_t alpha) override;
  void StretchDrawMasked(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                         bool mirror_v, TCustomDIBX& mask, int32_t alpha) override;
  void StretchDrawAdd(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool keyed, bool mirror_h,
                      bool mirror_v, int32_t alpha) override;
  void StretchDrawMaskedAdd(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                            bool mirror_v, TCustomDIBX& mask, int32_t alpha) override;
  void DrawReduced(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, uint32_t colour, bool mirror_h,
                   bool mirror_v, int32_t alpha, int32_t factor) override;
  void DrawReducedColors(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect,
                         std::span<const uint32_t> colours, bool mirror_h, bool mirror_v, int32_t alpha,
                         int32_t factor) override;
  void TileDraw(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source, const TRect& src_rect,
                bool keyed, int32_t origin_x, int32_t origin_y) override;
  void TileDrawAlpha(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source, const TRect& src_rect,
                     bool keyed, int32_t origin_x, int32_t origin_y, int32_t alpha) override;
  void TileDrawAdd(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source, const TRect& src_rect,
                   bool keyed, int32_t origin_x, int32_t origin_y, int32_t alpha) override;
  void TileDrawMasked(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source, const TRect& src_rect,
                      TCustomDIBX& mask, int32_t origin_x, int32_t origin_y) override;
  void TileDrawMaskedAlpha(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                           const TRect& src_rect, TCustomDIBX& mask, int32_t origin_x, int32_t origin_y,
                           int32_t alpha) override;
  void TileDrawMaskedAdd(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                         const TRect& src_rect, TCustomDIBX& mask, int32_t origin_x, int32_t origin_y,
                         int32_t alpha) override;
  void TileStretchDraw(const TRect& dst_rect, int32_t tile_width, int32_t tile_height, int32_t h_gap, int32_t v_gap,
                       TCustomDIBX& source, const TRect& src_rect, bool keyed, int32_t origin_x, int32_t origin_y,
                       int32_t alpha, bool additive) override;
  void TileStretchDrawMasked(const TRect& dst_rect, int32_t tile_width, int32_t tile_height, int32_t h_gap,
                             int32_t v_gap, TCustomDIBX& source, const TRect& src_rect, TCustomDIBX& mask,
                             int32_t origin_x, int32_t origin_y, int32_t alpha, bool additive) override;
  void DrawPalette4(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h, bool mirror_v,
                    int32_t alpha, std::span<const uint32_t> palette) override;
  void DrawPaletteAdd(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h, bool mirror_v,
                      int32_t alpha, std::span<const uint32_t> palette) override;
  void StretchDrawPalette(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                          bool mirror_h, bool mirror_v, int32_t alpha, std::span<const uint32_t> palette) override;
  void PatternZoomFill(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, int32_t zoom_x,
                       int32_t zoom_y, bool keyed, int32_t alpha) override;
  void PatternZoomFillMasked(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, TCustomDIBX& mask,
                             int32_t zoom_x, int32_t zoom_y, int32_t alpha) override;
  void PatternFillRect(const TRect& rect, TCustomDIBX& source, bool mirror_h, bool mirror_v, int32_t offset_x,
                       int32_t offset_y) override;
  void DrawColorMasked(int32_t x, int32_t y, TCustomDIBX& mask, const TRect& src_rect, bool mirror_h, bool mirror_v,
                       uint32_t colour, int32_t alpha) override;

 private:
  // Calls draw(target, dx, dy) once per run of rows with equal offsets, the target's clip narrowed
  // to the run's band for the call.
  template <typename DrawRun>
  void ForEachRun(DrawRun draw);

  TCustomDIBX* target_ = nullptr;
  std::vector<int32_t> offsets_;
};

}  // namespace orva
