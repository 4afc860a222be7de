#pragma once
// TDIBSurface: a device-independent bitmap in memory. Rows are stored bottom-up with each row padded
// to 4 bytes, as Windows bitmaps are; 1-, 4- and 8-bit pictures carry a palette of B, G, R, 0 entries.
// The pixel storage may be shared between bitmaps until one of them asks for its own copy.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace orva {

class TDIBSurface {
 public:
  TDIBSurface();
  TDIBSurface(const TDIBSurface&) = delete;
  TDIBSurface& operator=(const TDIBSurface&) = delete;

  // Reallocates (contents zeroed). Bit counts: 1, 4, 8, 15 (5-5-5 in 16-bit words), 16 (5-6-5), 24, 32;
  // anything else is treated as 32. Sizes outside the picture limits raise EOrvaError.
  void SetSize(int32_t width, int32_t height, int32_t bits);
  // Changes how the stored pixels are read without touching them (15 <-> 16); reallocates otherwise.
  void SetBitCount(int32_t bits);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t BitCount() const { return bits_; }
  int32_t StorageBitCount() const { return bits_ == 15 ? 16 : bits_; }
  // Bytes per stored row (positive); rows are padded to 4 bytes.
  int32_t RowBytes() const { return row_bytes_; }

  // Row y counted from the top; y must lie in 0 .. Height() - 1.
  uint8_t* Row(int32_t y);
  const uint8_t* Row(int32_t y) const;

  std::span<uint8_t> Bits();
  std::span<const uint8_t> Bits() const;

  // Palette of 4-byte entries B, G, R, 0 (256 entries for indexed pictures, none otherwise).
  std::vector<uint32_t>& Palette() { return palette_; }
  const std::vector<uint32_t>& Palette() const { return palette_; }

  // The optional 8-bit alpha channel, resized with the picture.
  TDIBSurface* Alpha() { return alpha_.get(); }
  const TDIBSurface* Alpha() const { return alpha_.get(); }
  void SetAlphaChannel(bool present);

  // Shares other's pixel storage (and takes its geometry and palette).
  void ShareFrom(const TDIBSurface& other);
  bool SharesStorage() const { return pixels_.use_count() > 1; }
  // Gives this bitmap its own copy of shared storage.
  void MakeUnique();
  bool SameStorage(const TDIBSurface& other) const { return pixels_ == other.pixels_; }

 private:
  void Allocate(int32_t width, int32_t height, int32_t bits);

  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t bits_ = 32;
  int32_t row_bytes_ = 0;
  std::shared_ptr<std::vector<uint8_t>> pixels_;
  std::vector<uint32_t> palette_;
  std::unique_ptr<TDIBSurface> alpha_;
};

}  // namespace orva
