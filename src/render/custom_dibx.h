#pragma once
// TCustomDIBX: the drawing surface every picture passes through. The base class clips, converts,
// blends and copies pixels in terms of a few storage operations (bit count, masks, pitch, pixel
// access, size, lock); the concrete kinds supply the storage. All colours are native pixel values
// (the little-endian integer of the pixel's bytes), except where an operation says otherwise.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/rect.h"

namespace orva {

class TCustomDIBX {
 public:
  TCustomDIBX();
  virtual ~TCustomDIBX();
  TCustomDIBX(const TCustomDIBX&) = delete;
  TCustomDIBX& operator=(const TCustomDIBX&) = delete;

  int32_t ClipLeft = 0;
  int32_t ClipTop = 0;
  int32_t ClipRight = 0;  // 0: no clip rectangle, operations clip to the whole surface
  int32_t ClipBottom = 0;
  int32_t ColorKey = -1;  // native value skipped by keyed operations; -1 = none
  int32_t Height = 0;
  int32_t Width = 0;
  std::vector<TRect> Regions;
  std::vector<TRect> Regions2;

  // Storage.
  virtual bool IsEmpty() const;
  virtual int32_t GetBitCount() const = 0;
  virtual void SetBitCount(int32_t bits) = 0;
  virtual uint32_t GetRedMask() const = 0;
  virtual uint32_t GetGreenMask() const = 0;
  virtual uint32_t GetBlueMask() const = 0;
  virtual int32_t GetPitch() const = 0;
  // Pixels outside the surface read 0 and ignore writes.
  virtual uint32_t GetPixel(int32_t x, int32_t y) const = 0;
  virtual void SetPixel(int32_t x, int32_t y, uint32_t value) = 0;
  virtual int32_t GetBlueShift() const;
  virtual int32_t GetGreenShift() const;
  virtual int32_t GetRedShift() const;
  virtual int32_t GetHeight() const { return Height; }
  virtual int32_t GetWidth() const { return Width; }
  virtual TCustomDIBX* GetTarget() { return this; }
  virtual int32_t GetStorageBitCount() const = 0;
  virtual void SetSize(int32_t width, int32_t height, int32_t bits) = 0;
  // Address of pixel (x, y), or nullptr; every Lock is paired with Unlock.
  virtual uint8_t* Lock(int32_t x, int32_t y) = 0;
  virtual void Unlock() {}

  // Clipping.
  virtual void ResetClip();
  virtual void AddClip(const TRect& rect);
  virtual int32_t ColorToPixel(int32_t colour) const;

  // Fills and frames.
  virtual void Fill(uint32_t value);
  virtual void FillRect(const TRect& rect, uint32_t value);
  virtual void BlendFillRect(const TRect& rect, uint32_t colour, int32_t alpha);
  virtual void AddFillRect(const TRect& rect, uint32_t colour);
  virtual void SubFillRect(const TRect& rect, uint32_t colour);
  virtual void FrameRect(const TRect& rect, int32_t thickness, uint32_t value);
  virtual void BlendFrameRect(const TRect& rect, int32_t thickness, uint32_t colour, int32_t alpha);
  virtual void AddFrameRect(const TRect& rect, int32_t thickness, uint32_t colour);

  // Copies.
  virtual void Assign(TCustomDIBX& source);
  virtual void Draw(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool keyed, bool mirror_h,
                    bool mirror_v);
  virtual void DrawMasked(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                          bool mirror_v, TCustomDIBX& mask);
  virtual void DrawAlpha(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool keyed, bool mirror_h,
                         bool mirror_v, int32_t alpha);
  virtual void DrawMaskedAlpha(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                               bool mirror_v, TCustomDIBX& mask, int32_t alpha);
  virtual void DrawAdd(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool keyed, bool mirror_h,
                       bool mirror_v, int32_t alpha);
  virtual void DrawMaskedAdd(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                             bool mirror_v, TCustomDIBX& mask, int32_t alpha);
  virtual void DrawRotateZoom(int32_t x, int32_t y, int32_t zoom_x, int32_t zoom_y, TCustomDIBX& source,
                              const TRect& src_rect, int32_t pivot_x, int32_t pivot_y, int32_t angle, bool keyed,
                              bool mirror_h, bool mirror_v, int32_t alpha);
  virtual void DrawMaskedRotateZoom(int32_t x, int32_t y, int32_t zoom_x, int32_t zoom_y, TCustomDIBX& source,
                                    const TRect& src_rect, int32_t pivot_x, int32_t pivot_y, int32_t angle,
                                    TCustomDIBX& mask, bool mirror_h, bool mirror_v, int32_t alpha);

  // Scaled copies (nearest neighbour).
  virtual void StretchDraw(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                           bool mirror_h, bool mirror_v, int32_t alpha);
  virtual void StretchDrawMasked(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                                 bool mirror_v, TCustomDIBX& mask, int32_t alpha);
  virtual void StretchDrawAdd(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                              bool mirror_h, bool mirror_v, int32_t alpha);
  virtual void StretchDrawMaskedAdd(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                                    bool mirror_v, TCustomDIBX& mask, int32_t alpha);

  // One-bit sources drawn reduced by factor with coverage antialiasing.
  virtual void DrawReduced(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, uint32_t colour,
                           bool mirror_h, bool mirror_v, int32_t alpha, int32_t factor);
  // The same for an indexed source: index 0 is no ink, index k (1 .. colours.size()) is ink of colours[k - 1]
  // (the glyph body first, then its decorations).
  virtual void DrawReducedColors(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect,
                                 std::span<const uint32_t> colours, bool mirror_h, bool mirror_v, int32_t alpha,
                                 int32_t factor);

  // Tiles of the single-tile operations; the origin picks where in the source the first tile starts.
  virtual void TileDraw(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                        const TRect& src_rect, bool keyed, int32_t origin_x, int32_t origin_y);
  virtual void TileDrawAlpha(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                             const TRect& src_rect, bool keyed, int32_t origin_x, int32_t origin_y, int32_t alpha);
  virtual void TileDrawAdd(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                           const TRect& src_rect, bool keyed, int32_t origin_x, int32_t origin_y, int32_t alpha);
  virtual void TileDrawMasked(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                              const TRect& src_rect, TCustomDIBX& mask, int32_t origin_x, int32_t origin_y);
  virtual void TileDrawMaskedAlpha(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                                   const TRect& src_rect, TCustomDIBX& mask, int32_t origin_x, int32_t origin_y,
                                   int32_t alpha);
  virtual void TileDrawMaskedAdd(const TRect& dst_rect, int32_t h_gap, int32_t v_gap, TCustomDIBX& source,
                                 const TRect& src_rect, TCustomDIBX& mask, int32_t origin_x, int32_t origin_y,
                                 int32_t alpha);
  // Tiles of tile_width x tile_height, each the source stretched to that size.
  virtual void TileStretchDraw(const TRect& dst_rect, int32_t tile_width, int32_t tile_height, int32_t h_gap,
                               int32_t v_gap, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                               int32_t origin_x, int32_t origin_y, int32_t alpha, bool additive);
  virtual void TileStretchDrawMasked(const TRect& dst_rect, int32_t tile_width, int32_t tile_height, int32_t h_gap,
                                     int32_t v_gap, TCustomDIBX& source, const TRect& src_rect, TCustomDIBX& mask,
                                     int32_t origin_x, int32_t origin_y, int32_t alpha, bool additive);
  virtual void PatternFrameRect(const TRect& rect, int32_t thickness, TCustomDIBX& source, bool mirror_h,
                                bool mirror_v, int32_t offset_x, int32_t offset_y);

  // Indexed sources.
  virtual void DrawPalette4(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                            bool mirror_v, int32_t alpha, std::span<const uint32_t> palette);
  virtual void DrawPaletteAdd(int32_t x, int32_t y, TCustomDIBX& source, const TRect& src_rect, bool mirror_h,
                              bool mirror_v, int32_t alpha, std::span<const uint32_t> palette);
  virtual void StretchDrawPalette(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, bool keyed,
                                  bool mirror_h, bool mirror_v, int32_t alpha, std::span<const uint32_t> palette);

  // Patterns: the source repeated (and scaled) over a rectangle.
  virtual void PatternZoomFill(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect, int32_t zoom_x,
                               int32_t zoom_y, bool keyed, int32_t alpha);
  virtual void PatternZoomFillMasked(const TRect& dst_rect, TCustomDIBX& source, const TRect& src_rect,
                                     TCustomDIBX& mask, int32_t zoom_x, int32_t zoom_y, int32_t alpha);
  virtual void PatternFillRect(const TRect& rect, TCustomDIBX& source, bool mirror_h, bool mirror_v,
                               int32_t offset_x, int32_t offset_y);

  // Files. LoadFromStream picks the format by signature; an unknown signature or a file that cannot
  // be read leaves the surface unchanged and returns false; damaged data raises EOrvaError, also
  // leaving the surface unchanged.
  virtual bool LoadFromFile(const std::string& name);
  virtual bool LoadFromStream(std::span<const uint8_t> data, int32_t key);
  virtual bool SaveToFile(const std::string& name);
  virtual void Clear();
  virtual void ReleaseSurface() {}

  // Palette of an indexed surface: entries R, G, B, 0 (as 0x00BBGGRR).
  virtual void GetPalette(uint32_t entries[256]);
  virtual void GetPaletteEntries(uint32_t* entries, int32_t first, int32_t count);
  virtual void SetPalette(const uint32_t entries[256]);
  virtual void SetPaletteEntries(const uint32_t* entries, int32_t first, int32_t count);

  virtual void DrawColorMasked(int32_t x, int32_t y, TCustomDIBX& mask, const TRect& src_rect, bool mirror_h,
                               bool mirror_v, uint32_t colour, int32_t alpha);
  virtual void MakeUnique() {}

  TRect GetClipRect() const;
  void SetClipRect(const TRect& rect);
  TRect GetBounds() const { return TRect{0, 0, GetWidth(), GetHeight()}; }
  int32_t BytesPerPixel() const { return (GetBitCount() + 7) / 8; }

 protected:
  // Storage hooks for the loader: the picture is taken over at the surface's own bit count.
  virtual void AdoptPicture(const class TDIBSurface& picture);
};

}  // namespace orva
