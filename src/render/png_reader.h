#pragma once
// Reading PNG pictures (through libpng) into a 32-bit picture with an alpha channel when the file
// has one. Damaged data raises EOrvaError ("PNG image is not valid: ...").

#include <cstdint>
#include <span>

#include "render/dib_surface.h"

namespace orva {

void DecodePng(std::span<const uint8_t> data, TDIBSurface& picture);

}  // namespace orva
