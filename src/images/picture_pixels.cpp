#include "images/picture_pixels.h"

#include <climits>
#include <cstring>
#include <string>

#include "core/error.h"
#include "core/limits.h"

namespace orva {

bool IsPictureBitCount(int32_t bits) {
  switch (bits) {
    case 1: case 4: case 8: case 15: case 16: case 24: case 32:
      return true;
    default:
      return false;
  }
}

size_t PaddedRowBytes(int32_t width, int32_t bits) {
  const int64_t storage_bits = bits == 15 ? 16 : bits;
  return static_cast<size_t>((int64_t{width} * storage_bits + 31) / 32 * 4);
}

size_t PackedRowBytes(int32_t width, int32_t bits) {
  const int64_t storage_bits = bits == 15 ? 16 : bits;
  return static_cast<size_t>((int64_t{width} * storage_bits + 7) / 8);
}

void SizePicture(TDIBSurface& picture, int32_t width, int32_t height, int32_t bits) {
  if (!IsPictureBitCount(bits)) throw EOrvaError("unsupported bit count " + std::to_string(bits));
  if (!limits::PictureFits(width, height)) {
    throw EOrvaError("picture size " + std::to_string(width) + " x " + std::to_string(height) +
                     " exceeds the limits");
  }
  picture.SetSize(width, height, bits);
}

uint32_t PixelValue(const TDIBSurface& picture, int32_t x, int32_t y) {
  const uint8_t* row = picture.Row(y);
  switch (picture.BitCount()) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    case 8:
      return row[x];
    case 15:
    case 16:
      return static_cast<uint32_t>(row[x * 2] | (row[x * 2 + 1] << 8));
    case 24:
      return static_cast<uint32_t>(row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16));
    default: {
      uint32_t v;
      std::memcpy(&v, row + x * 4, 4);
      return v;
    }
  }
}

void SetPixelValue(TDIBSurface& picture, int32_t x, int32_t y, uint32_t value) {
  uint8_t* row = picture.Row(y);
  switch (picture.BitCount()) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>((value & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      break;
    }
    case 4: {
      uint8_t& b = row[x >> 1];
      b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (value & 0xF))
                  : static_cast<uint8_t>((b & 0x0F) | ((value & 0xF) << 4));
      break;
    }
    case 8:
      row[x] = static_cast<uint8_t>(value);
      break;
    case 15:
    case 16:
      row[x * 2] = static_cast<uint8_t>(value);
      row[x * 2 + 1] = static_cast<uint8_t>(value >> 8);
      break;
    case 24:
      row[x * 3] = static_cast<uint8_t>(value);
      row[x * 3 + 1] = static_cast<uint8_t>(value >> 8);
      row[x * 3 + 2] = static_cast<uint8_t>(value >> 16);
      break;
    default:
      std::memcpy(row + x * 4, &value, 4);
      break;
  }
}

void FillPicture(TDIBSurface& picture, uint32_t value) {
  if (picture.Width() == 0 || picture.Height() == 0) return;
  // The top row is built pixel by pixel (sub-byte pixels included), then repeated.
  for (int32_t x = 0; x < picture.Width(); ++x) SetPixelValue(picture, x, 0, value);
  const size_t row_bytes = PaddedRowBytes(picture.Width(), picture.BitCount());
  for (int32_t y = 1; y < picture.Height(); ++y) std::memcpy(picture.Row(y), picture.Row(0), row_bytes);
}

uint32_t ValueToColor(const TDIBSurface& picture, uint32_t value) {
  switch (picture.BitCount()) {
    case 1:
    case 4:
    case 8: {
      if (value >= picture.Palette().size()) return 0;
      const uint32_t e = picture.Palette()[value];
      return MakeColor((e >> 16) & 0xFF, (e >> 8) & 0xFF, e & 0xFF);
    }
    case 15:
      return MakeColor(((value >> 10) & 0x1F) << 3, ((value >> 5) & 0x1F) << 3, (value & 0x1F) << 3);
    case 16:
      return MakeColor(((value >> 11) & 0x1F) << 3, ((value >> 5) & 0x3F) << 2, (value & 0x1F) << 3);
    default:
      return MakeColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
  }
}

int32_t NearestPaletteIndex(const TDIBSurface& picture, uint32_t colour) {
  const size_t entries = std::min(picture.Palette().size(), size_t{1} << std::min(picture.BitCount(), 8));
  int32_t best = 0;
  int64_t best_distance = INT64_MAX;
  for (size_t i = 0; i < entries; ++i) {
    const uint32_t e = picture.Palette()[i];
    const int64_t dr = int64_t{ColorRed(colour)} - ((e >> 16) & 0xFF);
    const int64_t dg = int64_t{ColorGreen(colour)} - ((e >> 8) & 0xFF);
    const int64_t db = int64_t{ColorBlue(colour)} - (e & 0xFF);
    const int64_t distance = dr * dr + dg * dg + db * db;
    if (distance < best_distance) {
      best_distance = distance;
      best = static_cast<int32_t>(i);
      if (distance == 0) break;
    }
  }
  return best;
}

uint32_t ColorToValue(const TDIBSurface& picture, uint32_t colour) {
  const uint32_t r = ColorRed(colour), g = ColorGreen(colour), b = ColorBlue(colour);
  switch (picture.BitCount()) {
    case 1:
    case 4:
    case 8:
      return static_cast<uint32_t>(NearestPaletteIndex(picture, colour));
    case 15:
      return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case 16:
      return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    default:
      return (r << 16) | (g << 8) | b;
  }
}

void CopyConverted(TDIBSurface& target, const TDIBSurface& source) {
  if (source.Width() != target.Width() || source.Height() != target.Height()) {
    throw EOrvaError("internal error: converting between pictures of different sizes");
  }
  const int32_t width = target.Width(), height = target.Height();
  if (width == 0 || height == 0) return;
  if (source.BitCount() == target.BitCount() && (target.BitCount() > 8 || source.Palette() == target.Palette())) {
    const size_t row_bytes = PaddedRowBytes(width, target.BitCount());
    for (int32_t y = 0; y < height; ++y) std::memcpy(target.Row(y), source.Row(y), row_bytes);
    return;
  }
  if (source.BitCount() == 24 && target.BitCount() == 32) {
    for (int32_t y = 0; y < height; ++y) {
      const uint8_t* s = source.Row(y);
      uint8_t* d = target.Row(y);
      for (int32_t x = 0; x < width; ++x, s += 3, d += 4) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        d[3] = 0;
      }
    }
    return;
  }
  // Palette searches are remembered in a small table keyed by the whole colour.
  constexpr size_t kCacheSize = 4096;
  struct CacheEntry {
    uint32_t colour = UINT32_MAX;
    uint32_t value = 0;
  };
  std::vector<CacheEntry> cache(target.BitCount() <= 8 ? kCacheSize : 0);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t colour = ValueToColor(source, PixelValue(source, x, y));
      if (cache.empty()) {
        SetPixelValue(target, x, y, ColorToValue(target, colour));
        continue;
      }
      CacheEntry& entry = cache[((colour * 2654435761u) >> 20) % kCacheSize];
      if (entry.colour != colour) {
        entry.colour = colour;
        entry.value = ColorToValue(target, colour);
      }
      SetPixelValue(target, x, y, entry.value);
    }
  }
}

void ConvertPictureBits(TDIBSurface& picture, int32_t bits) {
  if (bits != 15 && bits != 16 && bits != 24 && bits != 32) return;
  if (bits == picture.BitCount()) return;
  TDIBSurface converted;
  converted.SetSize(picture.Width(), picture.Height(), bits);
  CopyConverted(converted, picture);
  // The alpha channel keeps its size and stays attached.
  picture.ShareFrom(converted);
}

void CopyPicture(TDIBSurface& target, const TDIBSurface& source) {
  target.SetAlphaChannel(false);
  target.SetSize(source.Width(), source.Height(), source.BitCount());
  target.Palette() = source.Palette();
  const size_t row_bytes = PaddedRowBytes(source.Width(), source.BitCount());
  if (row_bytes > 0) {
    for (int32_t y = 0; y < source.Height(); ++y) std::memcpy(target.Row(y), source.Row(y), row_bytes);
  }
  if (source.Alpha()) {
    target.SetAlphaChannel(true);
    CopyPicture(*target.Alpha(), *source.Alpha());
  }
}

}  // namespace orva
