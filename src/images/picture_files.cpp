#include "images/picture_files.h"

#include <png.h>

#include <cstring>
#include <memory>

#include "core/byte_reader.h"
#include "core/error.h"
#include "core/limits.h"
#include "images/picture_pixels.h"

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
  image.format = PNG_FORMAT_BGRA;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    throw EOrvaError(std::string("damaged PNG data: ") + image.message);
  }
  SizePicture(picture, width, height, 24);
  picture.SetAlphaChannel(true);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* source = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
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

void ReadBitmapPicture(std::span<const uint8_t> data, TDIBSurface& picture, int64_t max_pixels) {
  ByteReader reader(data);
  size_t bits_offset = 0;
  const bool has_file_header = data.size() >= 2 && data[0] == 'B' && data[1] == 'M';
  if (has_file_header) {
    reader.Skip(2 + 4 + 4);
    bits_offset = reader.U32();
  }
  const size_t info_start = reader.Position();
  const uint32_t header_size = reader.U32();
  int64_t width = 0, height = 0;
  int32_t bits = 0;
  uint32_t compression = 0, colours_used = 0;
  size_t palette_entry = 4;
  uint32_t red_mask = 0;
  if (header_size == 12) {
    width = reader.U16();
    height = reader.I16();
    reader.Skip(2);
    bits = reader.U16();
    palette_entry = 3;
  } else if (header_size >= 40) {
    width = reader.I32();
    height = reader.I32();
    reader.Skip(2);
    bits = reader.U16();
    compression = reader.U32();
    reader.Skip(12);
    colours_used = reader.U32();
    reader.Skip(4);
    if (compression == 3) red_mask = reader.U32();  // the masks follow the header or end it
  } else {
    throw EOrvaError("damaged bitmap: unknown header size " + std::to_string(header_size));
  }
  if (compression == 3 && header_size == 40) {
    reader.Skip(8);
  } else {
    reader.Seek(info_start + header_size);
  }
  const bool bottom_up = height > 0;
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0 || width > limits::kMaxPictureSide || height > limits::kMaxPictureSide) {
    throw EOrvaError("damaged bitmap: picture size " + std::to_string(width) + " x " + std::to_string(height));
  }
  CheckPictureSize(width, height, max_pixels, "bitmap");
  if (compression != 0 && !(compression == 3 && (bits == 16 || bits == 32))) {
    throw EOrvaError("unsupported bitmap compression " + std::to_string(compression));
  }
  int32_t picture_bits = bits;
  if (bits == 16) picture_bits = (compression == 3 && red_mask == 0xF800) ? 16 : 15;
  if (bits == 32 || !IsPictureBitCount(picture_bits)) {
    if (bits != 32) throw EOrvaError("damaged bitmap: unsupported bit count " + std::to_string(bits));
    picture_bits = 24;
  }

  std::vector<uint32_t> palette;
  if (bits <= 8) {
    const size_t entries = colours_used > 0 && colours_used <= (1u << bits) ? colours_used : (size_t{1} << bits);
    std::span<const uint8_t> table = reader.Bytes(entries * palette_entry);
    for (size_t i = 0; i < entries; ++i) {
      const uint8_t* e = table.data() + i * palette_entry;
      palette.push_back(static_cast<uint32_t>(e[0] | (e[1] << 8) | (e[2] << 16)));
    }
  }
  if (has_file_header) reader.Seek(bits_offset);
  const size_t row_bytes = PaddedRowBytes(static_cast<int32_t>(width), bits == 32 ? 32 : picture_bits);
  if (row_bytes * static_cast<size_t>(height) > reader.Remaining()) {
    throw EOrvaError("damaged bitmap: the pixel data is shorter than its rows");
  }
  SizePicture(picture, static_cast<int32_t>(width), static_cast<int32_t>(height), picture_bits);
  std::copy(palette.begin(), palette.end(), picture.Palette().begin());
  if (bits == 32) picture.SetAlphaChannel(true);
  for (int64_t stored = 0; stored < height; ++stored) {
    const int32_t y = static_cast<int32_t>(bottom_up ? height - 1 - stored : stored);
    const std::span<const uint8_t> row = reader.Bytes(row_bytes);
    if (bits != 32) {
      std::memcpy(picture.Row(y), row.data(), PaddedRowBytes(static_cast<int32_t>(width), picture_bits));
      continue;
    }
    uint8_t* colour = picture.Row(y);
    uint8_t* alpha = picture.Alpha()->Row(y);
    for (int64_t x = 0; x < width; ++x) {
      colour[x * 3] = row[static_cast<size_t>(x) * 4];
      colour[x * 3 + 1] = row[static_cast<size_t>(x) * 4 + 1];
      colour[x * 3 + 2] = row[static_cast<size_t>(x) * 4 + 2];
      alpha[x] = row[static_cast<size_t>(x) * 4 + 3];
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
