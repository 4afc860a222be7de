#pragma once
// Hand-built layered image files for the tests: every field written as the test says, so that
// versions, kinds and damaged records can be produced without our own writer.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/rect.h"
#include "render/dib_surface.h"

namespace orva::testing {

struct LayerSpec {
  bool visible = true;
  int32_t transparent = -1;
  int32_t opacity = 255;
  bool use_alpha = true;
  std::vector<uint8_t> colour;  // the block as stored
  std::vector<uint8_t> alpha;   // the block as stored; empty: size 0
};

struct FrameSpec {
  std::string name = "Frame1";
  int32_t transparent = -1;
  int32_t delay = 100;
  int32_t width = 2;
  int32_t height = 2;
  int32_t bits = 24;
  std::vector<uint32_t> palette;  // written as 2^bits entries for 8 bits or less
  std::vector<LayerSpec> layers;
  int32_t regions_count = 0;  // written as is; rectangles follow when positive
  std::vector<TRect> regions;
  std::vector<TRect> regions2;
};

struct FileSpec {
  int32_t version = 106;  // 0: no signature
  int32_t header_size = 40;
  uint32_t back_color = 0;
  uint8_t scrambled = 0;
  uint8_t kind = 0;
  int32_t tile_width = 0;
  int32_t tile_height = 0;
  uint8_t base_opaque = 0;
  int32_t frame_count = -1;  // -1: the number of frames given
  std::vector<FrameSpec> frames;
};

std::string BuildMosa(const FileSpec& description);

std::vector<uint8_t> Zlib(std::span<const uint8_t> plain);
// Padded rows top-down from pixel values (one value per pixel, in row order).
std::vector<uint8_t> Rows(int32_t width, int32_t height, int32_t bits, const std::vector<uint32_t>& pixels);
// An 8-bit alpha picture's padded rows.
std::vector<uint8_t> AlphaRows(int32_t width, int32_t height, const std::vector<uint8_t>& values);

// Every pixel value of a picture, row by row.
std::vector<uint32_t> PixelsOf(const TDIBSurface& picture);
std::vector<uint8_t> AlphaOf(const TDIBSurface& picture);

inline std::span<const uint8_t> AsBytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

}  // namespace orva::testing
