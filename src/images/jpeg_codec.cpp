#include "images/jpeg_codec.h"

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <csetjmp>
#include <jpeglib.h>

#include <algorithm>
#include <string>

#include "core/error.h"
#include "core/limits.h"
#include "images/picture_pixels.h"

namespace orva {
namespace {

// Progressive files can ask for thousands of scans over the same coefficients; real encoders
// write a dozen or so.
constexpr int kMaxScans = 500;

struct JpegErrorManager {
  jpeg_error_mgr base;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// libjpeg reports fatal errors through this hook, which must not return: jump back to the caller
// in our own frame, since unwinding a C++ exception through the library's C frames is not safe.
[[noreturn]] void OnJpegError(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

void OnJpegMessage(j_common_ptr, int) {}

void OnDecodeProgress(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxScans) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    std::snprintf(manager->message, sizeof manager->message, "more than %d scans", kMaxScans);
    std::longjmp(manager->jump, 1);
  }
}

void SetUpErrors(jpeg_error_mgr* base, JpegErrorManager& manager) {
  jpeg_std_error(base);
  base->error_exit = OnJpegError;
  base->emit_message = OnJpegMessage;
  manager.message[0] = 0;
}

struct DecompressGuard {
  jpeg_decompress_struct* info;
  ~DecompressGuard() { jpeg_destroy_decompress(info); }
};

struct CompressGuard {
  jpeg_compress_struct* info;
  unsigned char** buffer;
  ~CompressGuard() {
    jpeg_destroy_compress(info);
    std::free(*buffer);
  }
};

}  // namespace

void DecodeJpeg(std::span<const uint8_t> data, TDIBSurface& picture, int64_t max_pixels) {
  jpeg_decompress_struct info{};
  JpegErrorManager errors{};
  info.err = &errors.base;
  SetUpErrors(&errors.base, errors);
  jpeg_progress_mgr progress{};
  progress.progress_monitor = OnDecodeProgress;
  jpeg_create_decompress(&info);
  DecompressGuard guard{&info};
  if (setjmp(errors.jump)) throw EOrvaError(std::string("damaged JPEG data: ") + errors.message);

  info.progress = &progress;
  // The library's whole-image buffers (progressive files) stay within what a capped picture needs.
  info.mem->max_memory_to_use = 1L << 30;
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  const int64_t width = info.image_width, height = info.image_height;
  if (!limits::PictureFits(width, height) || width * height > max_pixels) {
    throw EOrvaError("JPEG picture size " + std::to_string(width) + " x " + std::to_string(height) +
                     " exceeds the limits");
  }
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  if (info.output_components != 3) throw EOrvaError("damaged JPEG data: unexpected colour layout");
  SizePicture(picture, static_cast<int32_t>(width), static_cast<int32_t>(height), 24);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = picture.Row(static_cast<int32_t>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
}

std::vector<uint8_t> EncodeJpeg(const TDIBSurface& picture, int32_t quality) {
  jpeg_compress_struct info{};
  JpegErrorManager errors{};
  info.err = &errors.base;
  SetUpErrors(&errors.base, errors);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_create_compress(&info);
  CompressGuard guard{&info, &buffer};
  std::vector<uint8_t> row_bytes(static_cast<size_t>(picture.Width()) * 3 + 3);
  if (setjmp(errors.jump)) throw EOrvaError(std::string("cannot write JPEG data: ") + errors.message);

  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(picture.Width());
  info.image_height = static_cast<JDIMENSION>(picture.Height());
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, std::clamp(quality, 0, 100), TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const int32_t y = static_cast<int32_t>(info.next_scanline);
    JSAMPROW row;
    if (picture.BitCount() == 24) {
      row = const_cast<JSAMPROW>(picture.Row(y));
    } else {
      for (int32_t x = 0; x < picture.Width(); ++x) {
        const uint32_t colour = ValueToColor(picture, PixelValue(picture, x, y));
        row_bytes[static_cast<size_t>(x) * 3] = static_cast<uint8_t>(ColorBlue(colour));
        row_bytes[static_cast<size_t>(x) * 3 + 1] = static_cast<uint8_t>(ColorGreen(colour));
        row_bytes[static_cast<size_t>(x) * 3 + 2] = static_cast<uint8_t>(ColorRed(colour));
      }
      row = row_bytes.data();
    }
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  return std::vector<uint8_t>(buffer, buffer + size);
}

}  // namespace orva
