#pragma once
// Single pictures in other formats, read into a layered image's frame: PNG (through libpng's
// simplified interface) and Windows bitmaps (through the surfaces' reader). Also the RGBA PNG writer of the image tool.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "render/dib_surface.h"

namespace orva {

// RGB and grey PNGs become 24-bit pictures, palette PNGs 8-bit palette pictures; transparency
// (an alpha channel, a tRNS table or a tRNS colour) becomes the picture's alpha channel.
// Pictures beyond the caps or max_pixels are refused before decoding.
void ReadPngPicture(std::span<const uint8_t> data, TDIBSurface& picture, int64_t max_pixels);

// A Windows bitmap as the surfaces read it, except that 32-bit bitmaps give their fourth byte as
// alpha channel and become 24-bit pictures.
void ReadBitmapPicture(std::span<const uint8_t> data, TDIBSurface& picture);

// An 8-bit RGBA PNG of width x height pixels given as rows of R, G, B, A.
std::string WritePngRgba(int32_t width, int32_t height, std::span<const uint8_t> rgba);

}  // namespace orva
