#pragma once
// TDIBX: the memory surface, over a device-independent bitmap (TDIBSurface) that it owns or borrows.

#include <memory>

#include "render/custom_dibx.h"
#include "render/dib_surface.h"

namespace orva {

class TDIBX : public TCustomDIBX {
 public:
  // A new surface: width and height 0, storage 1 x 1 at 15 bits.
  TDIBX();
  // A surface over a bitmap owned elsewhere; destroying the surface leaves the bitmap alone.
  explicit TDIBX(TDIBSurface* borrowed);
  ~TDIBX() override;

  int32_t GetBitCount() const override { return bitmap_->BitCount(); }
  void SetBitCount(int32_t bits) override;
  uint32_t GetRedMask() const override;
  uint32_t GetGreenMask() const override;
  uint32_t GetBlueMask() const override;
  int32_t GetPitch() const override { return -bitmap_->RowBytes(); }
  uint32_t GetPixel(int32_t x, int32_t y) const override;
  void SetPixel(int32_t x, int32_t y, uint32_t value) override;
  int32_t GetStorageBitCount() const override { return bitmap_->StorageBitCount(); }
  void SetSize(int32_t width, int32_t height, int32_t bits) override;
  uint8_t* Lock(int32_t x, int32_t y) override;

  void Fill(uint32_t value) override;
  void Assign(TCustomDIBX& source) override;
  void Clear() override;
  void GetPaletteEntries(uint32_t* entries, int32_t first, int32_t count) override;
  void SetPaletteEntries(const uint32_t* entries, int32_t first, int32_t count) override;
  void MakeUnique() override { bitmap_->MakeUnique(); }

  TDIBSurface& Bitmap() { return *bitmap_; }
  const TDIBSurface& Bitmap() const { return *bitmap_; }
  bool Borrowed() const { return !owned_; }

 protected:
  void AdoptPicture(const TDIBSurface& picture) override;

 private:
  std::unique_ptr<TDIBSurface> owned_;
  TDIBSurface* bitmap_;
};

}  // namespace orva
