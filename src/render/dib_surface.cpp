#include "render/dib_surface.h"

#include "core/error.h"
#include "core/limits.h"

namespace orva {

namespace {

int32_t NormalBits(int32_t bits) {
  switch (bits) {
    case 1: case 4: case 8: case 15: case 16: case 24: case 32: return bits;
    default: return 32;
  }
}

int32_t RowBytesFor(int32_t width, int32_t bits) {
  const int64_t storage = bits == 15 ? 16 : bits;
  return static_cast<int32_t>((int64_t{width} * storage + 31) / 32 * 4);
}

}  // namespace

TDIBSurface::TDIBSurface() : pixels_(std::make_shared<std::vector<uint8_t>>()) {}

void TDIBSurface::Allocate(int32_t width, int32_t height, int32_t bits) {
  if (!limits::PictureFits(width, height)) {
    throw EOrvaError("picture size " + std::to_string(width) + " x " + std::to_string(height) + " is out of range");
  }
  bits = NormalBits(bits);
  const int32_t row_bytes = RowBytesFor(width, bits);
  auto pixels = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(row_bytes) * static_cast<size_t>(height));
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = height;
  bits_ = bits;
  row_bytes_ = row_bytes;
  if (bits <= 8) {
    if (palette_.size() != 256) {
      palette_.assign(256, 0);
      // A grey ramp until the owner sets its own colours (two entries black and white for one bit).
      const int entries = 1 << bits;
      for (int i = 0; i < entries; ++i) {
        const uint32_t v = static_cast<uint32_t>(i * 255 / (entries - 1));
        palette_[static_cast<size_t>(i)] = v | v << 8 | v << 16;
      }
    }
  } else {
    palette_.clear();
  }
  if (alpha_) alpha_->SetSize(width, height, 8);
}

void TDIBSurface::SetSize(int32_t width, int32_t height, int32_t bits) { Allocate(width, height, bits); }

void TDIBSurface::SetBitCount(int32_t bits) {
  bits = NormalBits(bits);
  if (bits == bits_) return;
  if ((bits == 15 || bits == 16) && (bits_ == 15 || bits_ == 16)) {
    bits_ = bits;
    return;
  }
  Allocate(width_, height_, bits);
}

uint8_t* TDIBSurface::Row(int32_t y) {
  return pixels_->data() + static_cast<size_t>(height_ - 1 - y) * static_cast<size_t>(row_bytes_);
}

const uint8_t* TDIBSurface::Row(int32_t y) const {
  return pixels_->data() + static_cast<size_t>(height_ - 1 - y) * static_cast<size_t>(row_bytes_);
}

std::span<uint8_t> TDIBSurface::Bits() { return {pixels_->data(), pixels_->size()}; }
std::span<const uint8_t> TDIBSurface::Bits() const { return {pixels_->data(), pixels_->size()}; }

void TDIBSurface::SetAlphaChannel(bool present) {
  if (!present) {
    alpha_.reset();
  } else if (!alpha_) {
    alpha_ = std::make_unique<TDIBSurface>();
    alpha_->SetSize(width_, height_, 8);
  }
}

void TDIBSurface::ShareFrom(const TDIBSurface& other) {
  if (&other == this) return;
  pixels_ = other.pixels_;
  width_ = other.width_;
  height_ = other.height_;
  bits_ = other.bits_;
  row_bytes_ = other.row_bytes_;
  palette_ = other.palette_;
}

void TDIBSurface::MakeUnique() {
  if (pixels_.use_count() > 1) pixels_ = std::make_shared<std::vector<uint8_t>>(*pixels_);
}

}  // namespace orva
