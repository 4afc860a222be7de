#include "render/png_reader.h"

#include <png.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/limits.h"

namespace orva {

namespace {

[[noreturn]] void Invalid(const char* detail) { throw EOrvaError(std::string("PNG image is not valid: ") + detail); }

// Frees libpng's state on every way out.
struct ImageGuard {
  png_image* image;
  ~ImageGuard() { png_image_free(image); }
};

}  // namespace

void DecodePng(std::span<const uint8_t> data, TDIBSurface& picture) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  ImageGuard guard{&image};
  if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) Invalid(image.message);
  if (image.width == 0 || image.height == 0 || !limits::PictureFits(image.width, image.height)) {
    Invalid("picture size out of range");
  }
  // Compressed data expands at most about a thousandfold: a picture larger than that is damaged.
  if (PNG_IMAGE_SIZE(image) / limits::kMaxInflateRatio > data.size()) Invalid("picture larger than its data");
  const bool has_alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = PNG_FORMAT_BGRA;
  const auto width = static_cast<int32_t>(image.width);
  const auto height = static_cast<int32_t>(image.height);
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) Invalid(image.message);

  // Nothing below fails: the picture changes only once the data has been decoded.
  picture.SetSize(width, height, 32);
  picture.SetAlphaChannel(has_alpha);
  const size_t stride = static_cast<size_t>(width) * 4;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* from = pixels.data() + static_cast<size_t>(y) * stride;
    uint8_t* to = picture.Row(y);
    uint8_t* alpha = has_alpha ? picture.Alpha()->Row(y) : nullptr;
    for (int32_t x = 0; x < width; ++x) {
      to[x * 4] = from[x * 4];
      to[x * 4 + 1] = from[x * 4 + 1];
      to[x * 4 + 2] = from[x * 4 + 2];
      to[x * 4 + 3] = 0;
      if (alpha) alpha[x] = from[x * 4 + 3];
    }
  }
}

}  // namespace orva
