#pragma once
// Conversion of a decoded picture into a surface's own pixel format, as a device-context blit
// does: 5- and 6-bit channels widen by a plain left shift, wider channels are truncated to the
// target's bits, and indexed targets take the nearest entry of their palette (or the source's
// indices and palette when the source is indexed and fits).

#include <cstdint>
#include <vector>

#include "render/dib_surface.h"

namespace orva {

// Palettes are B, G, R, 0 entries.
void ConvertPicture(const TDIBSurface& source, int32_t target_bits, const std::vector<uint32_t>& target_palette,
                    TDIBSurface& out);

// The colour of pixel (x, y) of any picture as 0x00RRGGBB (B in the low byte).
uint32_t PictureRgb(const TDIBSurface& picture, int32_t x, int32_t y);
// The stored value of pixel (x, y): the index, or the little-endian integer of the pixel's bytes.
uint32_t PictureNative(const TDIBSurface& picture, int32_t x, int32_t y);

}  // namespace orva
