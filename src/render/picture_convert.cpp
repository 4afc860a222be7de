#include "render/picture_convert.h"

#include <cstring>
#include <unordered_map>

namespace orva {

namespace {

uint32_t IndexAt(const uint8_t* row, int32_t x, int32_t bits) {
  switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    default: return row[x];
  }
}

void PutIndex(uint8_t* row, int32_t x, int32_t bits, uint32_t index) {
  switch (bits) {
    case 1:
      if (index & 1) row[x >> 3] = static_cast<uint8_t>(row[x >> 3] | (0x80 >> (x & 7)));
      break;
    case 4: row[x >> 1] = static_cast<uint8_t>(row[x >> 1] | ((index & 15) << ((x & 1) ? 0 : 4))); break;
    default: row[x] = static_cast<uint8_t>(index); break;
  }
}

// Nearest palette entry by squared distance, cached per colour.
class NearestEntry {
 public:
  NearestEntry(const std::vector<uint32_t>& palette, int32_t entries) : palette_(palette), entries_(entries) {}
  uint32_t operator()(uint32_t rgb) {
    auto found = cache_.find(rgb);
    if (found != cache_.end()) return found->second;
    uint32_t best = 0;
    int64_t best_distance = INT64_MAX;
    for (int32_t i = 0; i < entries_ && i < static_cast<int32_t>(palette_.size()); ++i) {
      const uint32_t p = palette_[static_cast<size_t>(i)];
      int64_t distance = 0;
      for (int shift : {0, 8, 16}) {
        const int64_t d = int64_t{(p >> shift) & 0xFF} - int64_t{(rgb >> shift) & 0xFF};
        distance += d * d;
      }
      if (distance < best_distance) {
        best_distance = distance;
        best = static_cast<uint32_t>(i);
      }
    }
    cache_.emplace(rgb, best);
    return best;
  }

 private:
  const std::vector<uint32_t>& palette_;
  int32_t entries_;
  std::unordered_map<uint32_t, uint32_t> cache_;
};

}  // namespace

uint32_t PictureNative(const TDIBSurface& picture, int32_t x, int32_t y) {
  const uint8_t* row = picture.Row(y);
  switch (picture.StorageBitCount()) {
    case 1:
    case 4:
    case 8: return IndexAt(row, x, picture.BitCount());
    case 16: return uint32_t{row[x * 2]} | uint32_t{row[x * 2 + 1]} << 8;
    case 24: return uint32_t{row[x * 3]} | uint32_t{row[x * 3 + 1]} << 8 | uint32_t{row[x * 3 + 2]} << 16;
    default: {
      uint32_t v;
      std::memcpy(&v, row + x * 4, 4);
      return v;
    }
  }
}

uint32_t PictureRgb(const TDIBSurface& picture, int32_t x, int32_t y) {
  const uint8_t* row = picture.Row(y);
  switch (picture.BitCount()) {
    case 1:
    case 4:
    case 8: {
      const uint32_t index = IndexAt(row, x, picture.BitCount());
      return index < picture.Palette().size() ? picture.Palette()[index] & 0xFFFFFF : 0;
    }
    case 15:
    case 16: {
      uint16_t v;
      std::memcpy(&v, row + x * 2, 2);
      const int green_bits = picture.BitCount() == 16 ? 6 : 5;
      const uint32_t r = (v >> (5 + green_bits)) & 31;
      const uint32_t g = (v >> 5) & ((1u << green_bits) - 1);
      const uint32_t b = v & 31;
      return r << 3 << 16 | g << (8 - green_bits) << 8 | b << 3;
    }
    case 24: return uint32_t{row[x * 3]} | uint32_t{row[x * 3 + 1]} << 8 | uint32_t{row[x * 3 + 2]} << 16;
    default: {
      uint32_t v;
      std::memcpy(&v, row + x * 4, 4);
      return v & 0xFFFFFF;
    }
  }
}

void ConvertPicture(const TDIBSurface& source, int32_t target_bits, const std::vector<uint32_t>& target_palette,
                    TDIBSurface& out) {
  const int32_t width = source.Width();
  const int32_t height = source.Height();
  out.SetSize(width, height, target_bits);
  target_bits = out.BitCount();
  if (target_bits <= 8) {
    const bool same_indices = source.BitCount() <= target_bits;
    if (same_indices) out.Palette() = source.Palette();
    else if (target_palette.size() == 256) out.Palette() = target_palette;
    NearestEntry nearest(out.Palette(), 1 << target_bits);
    for (int32_t y = 0; y < height; ++y) {
      uint8_t* row = out.Row(y);
      const uint8_t* from = source.Row(y);
      for (int32_t x = 0; x < width; ++x) {
        const uint32_t index = same_indices ? IndexAt(from, x, source.BitCount()) : nearest(PictureRgb(source, x, y));
        PutIndex(row, x, target_bits, index);
      }
    }
    return;
  }
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = out.Row(y);
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t rgb = PictureRgb(source, x, y);
      const uint32_t r = rgb >> 16 & 0xFF;
      const uint32_t g = rgb >> 8 & 0xFF;
      const uint32_t b = rgb & 0xFF;
      switch (target_bits) {
        case 15: {
          const auto v = static_cast<uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
          std::memcpy(row + x * 2, &v, 2);
          break;
        }
        case 16: {
          const auto v = static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
          std::memcpy(row + x * 2, &v, 2);
          break;
        }
        case 24:
          row[x * 3] = static_cast<uint8_t>(b);
          row[x * 3 + 1] = static_cast<uint8_t>(g);
          row[x * 3 + 2] = static_cast<uint8_t>(r);
          break;
        default: std::memcpy(row + x * 4, &rgb, 4); break;
      }
    }
  }
}

}  // namespace orva
