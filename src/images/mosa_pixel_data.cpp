#include "images/mosa_pixel_data.h"

#include <cstring>
#include <string>

#include "core/byte_reader.h"
#include "core/error.h"
#include "images/picture_pixels.h"
#include "resources/random.h"

namespace orva {
namespace {

int32_t BytesPerPixel(int32_t bits) { return bits == 15 ? 2 : bits / 8; }

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

// Copies a w x h block between two pictures of one bit count; the caller has checked the bounds.
void CopyBlock(TDIBSurface& target, int32_t tx, int32_t ty, const TDIBSurface& source, int32_t sx, int32_t sy,
               int32_t w, int32_t h) {
  const int32_t bits = target.BitCount();
  if (bits >= 8) {
    const size_t bpp = static_cast<size_t>(BytesPerPixel(bits));
    for (int32_t y = 0; y < h; ++y) {
      std::memmove(target.Row(ty + y) + static_cast<size_t>(tx) * bpp,
                   source.Row(sy + y) + static_cast<size_t>(sx) * bpp, static_cast<size_t>(w) * bpp);
    }
    return;
  }
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) SetPixelValue(target, tx + x, ty + y, PixelValue(source, sx + x, sy + y));
  }
}

// One unpadded row of w pixels from packed bytes, placed at (x0, y).
void PlacePackedRow(TDIBSurface& picture, int32_t x0, int32_t y, int32_t w, std::span<const uint8_t> bytes) {
  const int32_t bits = picture.BitCount();
  if (bits >= 8) {
    const size_t bpp = static_cast<size_t>(BytesPerPixel(bits));
    std::memcpy(picture.Row(y) + static_cast<size_t>(x0) * bpp, bytes.data(), static_cast<size_t>(w) * bpp);
    return;
  }
  const uint32_t mask = (1u << bits) - 1;
  for (int32_t x = 0; x < w; ++x) {
    const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bits);
    const uint32_t value = (bytes[bit / 8] >> (8 - bits - static_cast<int>(bit % 8))) & mask;
    SetPixelValue(picture, x0 + x, y, value);
  }
}

void PlaceRows(ByteReader& data, TDIBSurface& picture, const PixelDataLayout& layout) {
  const int32_t height = picture.Height();
  const size_t row_bytes = PaddedRowBytes(picture.Width(), picture.BitCount());
  if (row_bytes * static_cast<size_t>(height) > data.Remaining()) {
    throw EOrvaError("damaged layered image: the picture data is shorter than its " + std::to_string(height) +
                     " rows");
  }
  if (!layout.scrambled) {
    for (int32_t y = 0; y < height; ++y) std::memcpy(picture.Row(y), data.Bytes(row_bytes).data(), row_bytes);
    return;
  }
  const std::vector<int32_t> order = ScramblePermutation(layout.key, height);
  for (int32_t i = 0; i < height; ++i) {
    std::memcpy(picture.Row(order[static_cast<size_t>(i)]), data.Bytes(row_bytes).data(), row_bytes);
  }
}

struct TileEntry {
  int32_t source;
  int32_t index;
};

void PlaceTiles(ByteReader& data, TDIBSurface& picture, const PixelDataLayout& layout,
                const EarlierLayerLookup& lookup) {
  const int32_t width = picture.Width(), height = picture.Height(), bits = picture.BitCount();
  const int64_t columns = CeilDiv(width, layout.tile_width);
  const int64_t rows = CeilDiv(height, layout.tile_height);
  const int64_t count = columns * rows;
  if (count > static_cast<int64_t>(data.Remaining() / 8)) {
    throw EOrvaError("damaged layered image: the tile table of " + std::to_string(count) +
                     " entries does not fit the data");
  }
  std::vector<TileEntry> table(static_cast<size_t>(count));
  if (layout.scrambled) {
    const std::vector<int32_t> order = ScramblePermutation(layout.key, static_cast<int32_t>(count));
    for (int64_t i = 0; i < count; ++i) {
      TileEntry& entry = table[static_cast<size_t>(order[static_cast<size_t>(i)])];
      entry.source = data.I32();
      entry.index = data.I32();
    }
  } else {
    for (TileEntry& entry : table) {
      entry.source = data.I32();
      entry.index = data.I32();
    }
  }

  for (int64_t t = 0; t < count; ++t) {
    const TileEntry& entry = table[static_cast<size_t>(t)];
    const int32_t x0 = static_cast<int32_t>((t % columns) * layout.tile_width);
    const int32_t y0 = static_cast<int32_t>((t / columns) * layout.tile_height);
    const int32_t w = std::min(layout.tile_width, width - x0);
    const int32_t h = std::min(layout.tile_height, height - y0);
    if (entry.source == -1) {
      const size_t row_bytes = PackedRowBytes(w, bits);
      for (int32_t y = 0; y < h; ++y) PlacePackedRow(picture, x0, y0 + y, w, data.Bytes(row_bytes));
    } else if (entry.source == -2) {
      if (entry.index < 0 || entry.index >= t) {
        throw EOrvaError("damaged layered image: tile " + std::to_string(t) + " copies tile " +
                         std::to_string(entry.index) + ", which is not decoded yet");
      }
      const int32_t sx = static_cast<int32_t>((entry.index % columns) * layout.tile_width);
      const int32_t sy = static_cast<int32_t>((entry.index / columns) * layout.tile_height);
      if (int64_t{sx} + w > width || int64_t{sy} + h > height) {
        throw EOrvaError("damaged layered image: tile " + std::to_string(t) + " copies beyond the picture");
      }
      CopyBlock(picture, x0, y0, picture, sx, sy, w, h);
    } else if (entry.source >= 0) {
      const TDIBSurface* source = lookup ? lookup(entry.source, entry.index) : nullptr;
      if (source == nullptr) {
        throw EOrvaError("damaged layered image: tile " + std::to_string(t) + " refers to frame " +
                         std::to_string(entry.source) + ", layer " + std::to_string(entry.index) +
                         ", which is not read yet");
      }
      if (source->BitCount() != bits || int64_t{x0} + w > source->Width() || int64_t{y0} + h > source->Height()) {
        throw EOrvaError("damaged layered image: tile " + std::to_string(t) + " refers to frame " +
                         std::to_string(entry.source) + ", layer " + std::to_string(entry.index) +
                         ", whose picture does not match");
      }
      CopyBlock(picture, x0, y0, *source, x0, y0, w, h);
    } else {
      throw EOrvaError("damaged layered image: tile " + std::to_string(t) + " has the unknown source " +
                       std::to_string(entry.source));
    }
  }
}

}  // namespace

std::vector<int32_t> ScramblePermutation(int32_t key, int32_t n) {
  std::vector<int32_t> order(static_cast<size_t>(n < 0 ? 0 : n));
  TQnRandom random(key);
  random.InitDeck(n);
  for (int32_t& entry : order) entry = random.Draw();
  return order;
}

size_t MaxPlainSize(int32_t width, int32_t height, int32_t bits, const PixelDataLayout& layout) {
  if (!layout.HasTiles()) return PaddedRowBytes(width, bits) * static_cast<size_t>(height);
  const int64_t columns = CeilDiv(width, layout.tile_width);
  const int64_t rows = CeilDiv(height, layout.tile_height);
  // Every tile stored in full: the table, then each tile column's packed rows over the whole height.
  size_t column_bytes = 0;
  for (int64_t c = 0; c < columns; ++c) {
    const int64_t x0 = c * layout.tile_width;
    column_bytes += PackedRowBytes(static_cast<int32_t>(std::min<int64_t>(layout.tile_width, width - x0)), bits);
  }
  return static_cast<size_t>(columns * rows) * 8 + column_bytes * static_cast<size_t>(height);
}

void PlacePixelData(std::span<const uint8_t> plain, TDIBSurface& picture, const PixelDataLayout& layout,
                    const EarlierLayerLookup& lookup) {
  if (picture.Width() == 0 || picture.Height() == 0) return;
  ByteReader data(plain);
  if (layout.HasTiles()) {
    PlaceTiles(data, picture, layout, lookup);
  } else {
    PlaceRows(data, picture, layout);
  }
}

std::vector<uint8_t> StoredRows(const TDIBSurface& picture, const PixelDataLayout& layout) {
  const int32_t height = picture.Height();
  const size_t row_bytes = PaddedRowBytes(picture.Width(), picture.BitCount());
  std::vector<uint8_t> out(row_bytes * static_cast<size_t>(height));
  std::vector<int32_t> order;
  if (layout.scrambled) order = ScramblePermutation(layout.key, height);
  for (int32_t i = 0; i < height; ++i) {
    // The i-th stored row is source row P(i).
    const int32_t source_row = layout.scrambled ? order[static_cast<size_t>(i)] : i;
    std::memcpy(out.data() + static_cast<size_t>(i) * row_bytes, picture.Row(source_row), row_bytes);
  }
  return out;
}

}  // namespace orva
