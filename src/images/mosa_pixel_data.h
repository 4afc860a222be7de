#pragma once
// How the plain (decompressed) colour and alpha data of a layer is laid out: whole padded rows, or
// a table of tiles followed by the tiles' rows; either may be stored in an order scrambled with
// the list's key.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "render/dib_surface.h"

namespace orva {

struct PixelDataLayout {
  bool scrambled = false;
  int32_t key = 0;
  // Both positive: tiles of this size.
  int32_t tile_width = 0;
  int32_t tile_height = 0;

  bool HasTiles() const { return tile_width > 0 && tile_height > 0; }
};

// Picture of frame `frame`, layer `layer` already read (its alpha channel when alpha data is being
// decoded), or nullptr when there is no such layer or channel.
using EarlierLayerLookup = std::function<const TDIBSurface*(int32_t frame, int32_t layer)>;

// The permutation P of n entries drawn from a fresh generator seeded with key.
std::vector<int32_t> ScramblePermutation(int32_t key, int32_t n);

// The largest plain size the layout can use for a picture of this geometry.
size_t MaxPlainSize(int32_t width, int32_t height, int32_t bits, const PixelDataLayout& layout);

// Places the plain data into picture, which has its final size and bit count. Raises EOrvaError
// when the data is short or a tile refers to a tile, frame or layer not yet decoded.
void PlacePixelData(std::span<const uint8_t> plain, TDIBSurface& picture, const PixelDataLayout& layout,
                    const EarlierLayerLookup& lookup);

// The plain data of picture as the writer stores it: padded rows top-down, or in scrambled order.
std::vector<uint8_t> StoredRows(const TDIBSurface& picture, const PixelDataLayout& layout);

}  // namespace orva
