#pragma once
// Pixel-level helpers on TDIBSurface for the layered-image code: native values, colours
// (0x00BBGGRR), format conversion and deep copies.

#include <cstddef>
#include <cstdint>

#include "render/dib_surface.h"

namespace orva {

bool IsPictureBitCount(int32_t bits);
// Bytes of one padded row.
size_t PaddedRowBytes(int32_t width, int32_t bits);
// Bytes of one unpadded row of width pixels (15-bit pixels take 16 bits).
size_t PackedRowBytes(int32_t width, int32_t bits);

// Sizes the picture after checking the bit count and the picture caps (EOrvaError otherwise).
void SizePicture(TDIBSurface& picture, int32_t width, int32_t height, int32_t bits);

// The native pixel value: palette index, 16-bit word, or B, G, R(, X) read little-endian.
uint32_t PixelValue(const TDIBSurface& picture, int32_t x, int32_t y);
void SetPixelValue(TDIBSurface& picture, int32_t x, int32_t y, uint32_t value);
void FillPicture(TDIBSurface& picture, uint32_t value);

// Reading widens 5- and 6-bit channels by a plain left shift; writing keeps each channel's high
// bits; palette pictures take the nearest entry.
uint32_t ValueToColor(const TDIBSurface& picture, uint32_t value);
uint32_t ColorToValue(const TDIBSurface& picture, uint32_t colour);
int32_t NearestPaletteIndex(const TDIBSurface& picture, uint32_t colour);

// Writes source's pixels, converted, into target (same size required).
void CopyConverted(TDIBSurface& target, const TDIBSurface& source);
// Converts the pixels to 15, 16, 24 or 32 bits; other targets leave the picture as it is.
void ConvertPictureBits(TDIBSurface& picture, int32_t bits);
// A deep copy: pixels, palette and alpha channel.
void CopyPicture(TDIBSurface& target, const TDIBSurface& source);

inline uint32_t ColorRed(uint32_t c) { return c & 0xFF; }
inline uint32_t ColorGreen(uint32_t c) { return (c >> 8) & 0xFF; }
inline uint32_t ColorBlue(uint32_t c) { return (c >> 16) & 0xFF; }
inline uint32_t MakeColor(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

}  // namespace orva
