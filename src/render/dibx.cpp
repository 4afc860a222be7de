#include "render/dibx.h"

#include <cstring>

#include "render/picture_convert.h"

namespace orva {

TDIBX::TDIBX() : owned_(std::make_unique<TDIBSurface>()), bitmap_(owned_.get()) {
  bitmap_->SetSize(1, 1, 15);
}

TDIBX::TDIBX(TDIBSurface* borrowed) : bitmap_(borrowed) {
  Width = bitmap_->Width();
  Height = bitmap_->Height();
}

TDIBX::~TDIBX() = default;

void TDIBX::SetBitCount(int32_t bits) {
  if (bits == GetBitCount()) return;
  bitmap_->SetBitCount(bits);
}

uint32_t TDIBX::GetRedMask() const {
  switch (GetBitCount()) {
    case 15: return 0x7C00;
    case 16: return 0xF800;
    default: return 0xFF0000;
  }
}

uint32_t TDIBX::GetGreenMask() const {
  switch (GetBitCount()) {
    case 15: return 0x03E0;
    case 16: return 0x07E0;
    default: return 0x00FF00;
  }
}

uint32_t TDIBX::GetBlueMask() const {
  switch (GetBitCount()) {
    case 15:
    case 16: return 0x001F;
    default: return 0x0000FF;
  }
}

uint32_t TDIBX::GetPixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= Width || y >= Height || x >= bitmap_->Width() || y >= bitmap_->Height()) return 0;
  const uint8_t* row = bitmap_->Row(y);
  switch (bitmap_->StorageBitCount()) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    case 8: return row[x];
    case 16: {
      uint16_t v;
      std::memcpy(&v, row + x * 2, 2);
      return v;
    }
    case 24: return uint32_t{row[x * 3]} | uint32_t{row[x * 3 + 1]} << 8 | uint32_t{row[x * 3 + 2]} << 16;
    default: {
      uint32_t v;
      std::memcpy(&v, row + x * 4, 4);
      return v;
    }
  }
}

void TDIBX::SetPixel(int32_t x, int32_t y, uint32_t value) {
  if (x < 0 || y < 0 || x >= Width || y >= Height || x >= bitmap_->Width() || y >= bitmap_->Height()) return;
  uint8_t* row = bitmap_->Row(y);
  switch (bitmap_->StorageBitCount()) {
    case 1: {
      const auto bit = static_cast<uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>((value & 1) ? row[x >> 3] | bit : row[x >> 3] & ~bit);
      break;
    }
    case 4: {
      uint8_t& b = row[x >> 1];
      b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (value & 15)) : static_cast<uint8_t>((b & 0x0F) | (value & 15) << 4);
      break;
    }
    case 8: row[x] = static_cast<uint8_t>(value); break;
    case 16: {
      const auto v = static_cast<uint16_t>(value);
      std::memcpy(row + x * 2, &v, 2);
      break;
    }
    case 24:
      row[x * 3] = static_cast<uint8_t>(value);
      row[x * 3 + 1] = static_cast<uint8_t>(value >> 8);
      row[x * 3 + 2] = static_cast<uint8_t>(value >> 16);
      break;
    default: std::memcpy(row + x * 4, &value, 4); break;
  }
}

void TDIBX::SetSize(int32_t width, int32_t height, int32_t bits) {
  if (width < 0 || height < 0) width = height = 0;
  // An empty surface keeps a small storage so that the bitmap always exists.
  if (width == 0 || height == 0) bitmap_->SetSize(1, 1, bits);
  else bitmap_->SetSize(width, height, bits);
  Width = width == 0 || height == 0 ? 0 : width;
  Height = width == 0 || height == 0 ? 0 : height;
}

uint8_t* TDIBX::Lock(int32_t x, int32_t y) {
  if (Width == 0 || Height == 0) return nullptr;
  // Addresses of pixels beside the surface are computed for row walking, never dereferenced.
  const int64_t offset = -int64_t{y} * bitmap_->RowBytes() + int64_t{x} * bitmap_->StorageBitCount() / 8;
  return bitmap_->Row(0) + offset;
}

void TDIBX::Fill(uint32_t value) {
  if (IsEmpty()) return;
  std::span<uint8_t> bits = bitmap_->Bits();
  switch (bitmap_->StorageBitCount()) {
    case 1: std::memset(bits.data(), value != 0 ? 255 : 0, bits.size()); break;
    case 4: std::memset(bits.data(), static_cast<int>((value & 15) * 0x11), bits.size()); break;
    case 8: std::memset(bits.data(), static_cast<int>(value & 0xFF), bits.size()); break;
    default:
      // The whole surface whatever the clip rectangle, at every depth.
      TCustomDIBX::Fill(value);
  }
}

void TDIBX::Assign(TCustomDIBX& source) {
  auto* memory = dynamic_cast<TDIBX*>(&source);
  if (memory && memory != this && memory->Width == Width && memory->Height == Height &&
      memory->GetPitch() == GetPitch() && !IsEmpty()) {
    std::span<const uint8_t> from = memory->bitmap_->Bits();
    std::span<uint8_t> to = bitmap_->Bits();
    std::memcpy(to.data(), from.data(), std::min(from.size(), to.size()));
    return;
  }
  TCustomDIBX::Assign(source);
}

void TDIBX::Clear() {
  TCustomDIBX::Clear();
  bitmap_->SetSize(8, 8, bitmap_->BitCount());
}

void TDIBX::GetPaletteEntries(uint32_t* entries, int32_t first, int32_t count) {
  const auto& palette = bitmap_->Palette();
  for (int32_t i = 0; i < count; ++i) {
    const int64_t index = int64_t{first} + i;
    if (index < 0 || index >= static_cast<int64_t>(palette.size())) {
      entries[i] = 0;
      continue;
    }
    // Stored B, G, R, 0; handed out R, G, B, 0.
    const uint32_t bgr = palette[static_cast<size_t>(index)];
    entries[i] = (bgr >> 16 & 0xFF) | (bgr & 0xFF00) | (bgr & 0xFF) << 16;
  }
}

void TDIBX::SetPaletteEntries(const uint32_t* entries, int32_t first, int32_t count) {
  auto& palette = bitmap_->Palette();
  for (int32_t i = 0; i < count; ++i) {
    const int64_t index = int64_t{first} + i;
    if (index < 0 || index >= static_cast<int64_t>(palette.size())) continue;
    const uint32_t rgb = entries[i];
    palette[static_cast<size_t>(index)] = (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
  }
}

void TDIBX::AdoptPicture(const TDIBSurface& picture) {
  // Converted into a fresh bitmap first, so that a failure leaves this surface as it was.
  TDIBSurface converted;
  ConvertPicture(picture, bitmap_->BitCount(), bitmap_->Palette(), converted);
  bitmap_->SetSize(converted.Width(), converted.Height(), converted.BitCount());
  std::span<const uint8_t> from = converted.Bits();
  std::memcpy(bitmap_->Bits().data(), from.data(), from.size());
  bitmap_->Palette() = converted.Palette();
  Width = converted.Width();
  Height = converted.Height();
}

}  // namespace orva
