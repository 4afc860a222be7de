#include "images/picture_files.h"

#include <png.h>

#include <cstring>
#include <memory>

#include "core/error.h"
#include "core/limits.h"
#include "images/picture_pixels.h"
#include "render/bmp_reader.h"

namespace orva {
namespace {

struct PngImage {
  png_image image{};
  PngImage() { image.version = PNG_IMAGE_VERSION; }
  ~PngImage() { png_image_free(&image); }
};

void CheckPictureSize(int64_t width, int64_t height, int64_t max_pixels, const char* what) {
  if (!limits::PictureFits(width, height) || width * height > max_pixels) {
    throw EOrvaError(std::string(what) + " picture size " + std::to_string(width) + " x " +
                     std::to_string(height) + " exceeds the limits");
  }
}

void DecodePngColormap(PngImage& png, TDIBSurface& picture) {
  png_image& image = png.image;
  const bool has_alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = has_alpha ? PNG_FORMAT_BGRA_COLORMAP : PNG_FORMAT_BGR_COLORMAP;
  const int32_t width = static_cast<int32_t>(image.width), height = static_cast<int32_t>(image.height);
  std::vector<uint8_t> indices(static_cast<size_t>(width) * static_cast<size_t>(height));
  std::vector<uint8_t> colormap(PNG_IMAGE_COLORMAP_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, indices.data(), width, colormap.data())) {
    throw EOrvaError(std::string("damaged PNG data: ") + image.message);
  }
  SizePicture(picture, width, height, 8);
  const size_t channels = has_alpha ? 4 : 3;
  uint8_t entry_alpha[256];
  std::memset(entry_alpha, 255, sizeof entry_alpha);
  bool any_transparent = false;
  for (size_t i = 0; i < image.colormap_entries && i < 256; ++i) {
    const uint8_t* e = colormap.data() + i * channels;
    picture.Palette()[i] = static_cast<uint32_t>(e[0] | (e[1] << 8) | (e[2] << 16));
    if (has_alpha) {
      entry_alpha[i] = e[3];
      any_transparent = any_transparent || e[3] != 255;
    }
  }
  for (int32_t y = 0; y < height; ++y) {
    std::memcpy(picture.Row(y), indices.data() + static_cast<size_t>(y) * static_cast<size_t>(width),
                static_cast<size_t>(width));
  }
  if (any_transparent) {
    picture.SetAlphaChannel(true);
    for (int32_t y = 0; y < height; ++y) {
      const uint8_t* source = picture.Row(y);
      uint8_t* alpha = picture.Alpha()->Row(y);
      for (int32_t x = 0; x < width; ++x) alpha[x] = entry_alpha[source[x]];
    }
  }
}

}  // namespace

void ReadPngPicture(std::span<const uint8_t> data, TDIBSurface& picture, int64_t max_pixels) {
  PngImage png;
  png_image& image = png.image;
  if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) {
    throw EOrvaError(std::string("damaged PNG data: ") + image.message);
  }
  CheckPictureSize(image.width, image.height, max_pixels, "PNG");
  if (image.format & PNG_FORMAT_FLAG_COLORMAP) {
    DecodePngColormap(png, picture);
    return;
  }
  const int32_t width = static_cast<int32_t>(image.width), height = static_cast<int32_t>(image.height);
  if ((image.format & PNG_FORMAT_FLAG_ALPHA) == 0) {
    image.format = PNG_FORMAT_BGR;
    SizePicture(picture, width, height, 24);
    // Our rows are stored bottom-up: a negative stride starting from the buffer's beginning.
    const png_int_32 stride = -static_cast<png_int_32>(picture.RowBytes());
    if (!png_image_finish_read(&image, nullptr, picture.Bits().data(), stride, nullptr)) {
      throw EOrvaError(std::string("damaged PNG data: ") + image.message);
    }
    return;
  }
  // Read in the file's own channel order (asking libpng for BGRA costs it a pass of its own); the
  // split below puts blue first.
  image.format = PNG_FORMAT_RGBA;
  // Every byte is written by the decoder, so the buffer needs no clearing.
  std::unique_ptr<uint8_t[]> pixels(new uint8_t[PNG_IMAGE_SIZE(image)]);
  if (!png_image_finish_read(&image, nullptr, pixels.get(), 0, nullptr)) {
    throw EOrvaError(std::string("damaged PNG data: ") + image.message);
  }
  SizePicture(picture, width, height, 24);
  picture.SetAlphaChannel(true);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* source = pixels.get() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
    uint8_t* colour = picture.Row(y);
    uint8_t* alpha = picture.Alpha()->Row(y);
    for (int32_t x = 0; x < width; ++x, source += 4, colour += 3) {
      colour[0] = source[2];
      colour[1] = source[1];
      colour[2] = source[0];
      alpha[x] = source[3];
    }
  }
}

void ReadBitmapPicture(std::span<const uint8_t> data, TDIBSurface& picture) {
  TDIBSurface bitmap;
  DecodeBmp(data, bitmap);
  if (bitmap.BitCount() != 32) {
    CopyPicture(picture, bitmap);
    return;
  }
  // The fourth byte of each pixel becomes the alpha channel of a 24-bit picture.
  const int32_t width = bitmap.Width(), height = bitmap.Height();
  picture.SetAlphaChannel(false);
  picture.SetSize(width, height, 24);
  picture.SetAlphaChannel(true);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* source = bitmap.Row(y);
    uint8_t* colour = picture.Row(y);
    uint8_t* alpha = picture.Alpha()->Row(y);
    for (int32_t x = 0; x < width; ++x, source += 4, colour += 3) {
      colour[0] = source[0];
      colour[1] = source[1];
      colour[2] = source[2];
      alpha[x] = source[3];
    }
  }
}

std::string WritePngRgba(int32_t width, int32_t height, std::span<const uint8_t> rgba) {
  PngImage png;
  png_image& image = png.image;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr)) {
    throw EOrvaError(std::string("cannot write PNG data: ") + image.message);
  }
  std::string out(size, '\0');
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr)) {
    throw EOrvaError(std::string("cannot write PNG data: ") + image.message);
  }
  out.resize(size);
  return out;
}

}  // namespace orva
