#pragma once
// JPEG colour data of layered images (compression kind 2) through libjpeg-turbo: decoded to a
// 24-bit picture as stored, encoded from any picture's colours.

#include <cstdint>
#include <span>
#include <vector>

#include "render/dib_surface.h"

namespace orva {

// Decodes a complete JPEG image into picture (resized to 24 bits). Pictures beyond the caps or
// with more than max_pixels pixels are refused before decoding; damaged data raises EOrvaError.
void DecodeJpeg(std::span<const uint8_t> data, TDIBSurface& picture, int64_t max_pixels);

// Encodes the picture's colours with the given quality (0 .. 100).
std::vector<uint8_t> EncodeJpeg(const TDIBSurface& picture, int32_t quality);

}  // namespace orva
