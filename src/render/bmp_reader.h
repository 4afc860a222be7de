#pragma once
// Reading Windows bitmap files: 1-, 4-, 8-, 16-, 24- and 32-bit pictures, bottom-up and top-down,
// run-length encoded (4 and 8 bits) and with bit-field masks; the picture keeps the file's depth
// where a surface can hold it. Damaged data raises EOrvaError ("Bitmap image is not valid").

#include <cstdint>
#include <span>

#include "render/dib_surface.h"

namespace orva {

inline constexpr const char* kInvalidBitmap = "Bitmap image is not valid";

void DecodeBmp(std::span<const uint8_t> data, TDIBSurface& picture);

}  // namespace orva
