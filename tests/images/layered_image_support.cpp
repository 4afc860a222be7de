#include "layered_image_support.h"

#include "core/byte_writer.h"
#include "images/picture_pixels.h"
#include "images/zlib_block.h"

namespace orva::testing {

std::string BuildMosa(const FileSpec& description) {
  ByteWriter out;
  const int32_t version = description.version;
  if (version != 0) {
    char signature[8];
    std::snprintf(signature, sizeof signature, "Mosa%03d", version);
    out.Chars(std::string_view(signature, 7));
  }
  const int32_t frame_count = description.frame_count >= 0 ? description.frame_count : static_cast<int32_t>(description.frames.size());
  if (version < 103) {
    out.I32(frame_count);
    out.U8(0);
    if (version > 101) out.U32(description.back_color);
  } else {
    ByteWriter record;
    const FrameSpec* first = description.frames.empty() ? nullptr : &description.frames[0];
    record.I32(version);
    record.I32(first ? first->width : 0);
    record.I32(first ? first->height : 0);
    record.I32(first ? first->bits : 0);
    record.I32(frame_count);
    record.U8(1);
    record.U8(description.scrambled);
    record.U8(description.kind);
    record.U8(0);
    record.U32(description.back_color);
    record.I32(description.tile_width);
    record.I32(description.tile_height);
    record.U8(description.base_opaque);
    record.U8(80);
    record.U16(0);
    std::string bytes = record.Take();
    bytes.resize(static_cast<size_t>(description.header_size), '\x5A');
    out.I32(description.header_size);
    out.Chars(bytes);
  }
  for (const FrameSpec& frame : description.frames) {
    out.String(frame.name);
    out.I32(frame.transparent);
    out.I32(frame.delay);
    out.U8(2);
    out.I32(0);
    out.I32(static_cast<int32_t>(frame.layers.size()));
    out.I32(frame.width);
    out.I32(frame.height);
    out.I32(frame.bits);
    if (frame.bits <= 8) {
      for (size_t i = 0; i < (size_t{1} << frame.bits); ++i) out.U32(i < frame.palette.size() ? frame.palette[i] : 0);
    }
    for (const LayerSpec& layer : frame.layers) {
      out.I32(0);
      out.I32(0);
      out.Bool(layer.visible);
      out.I32(layer.transparent);
      out.I32(layer.opacity);
      if (version > 100) out.Bool(layer.use_alpha);
      out.String("Layer");
      out.I32(static_cast<int32_t>(layer.colour.size()));
      out.Bytes(layer.colour);
      if (version > 99) {
        out.I32(static_cast<int32_t>(layer.alpha.size()));
        out.Bytes(layer.alpha);
      }
    }
    if (version >= 104) {
      for (const std::vector<TRect>* list : {&frame.regions, &frame.regions2}) {
        out.I32(list->empty() ? frame.regions_count : static_cast<int32_t>(list->size()));
        for (const TRect& r : *list) {
          out.I32(r.Left);
          out.I32(r.Top);
          out.I32(r.Right);
          out.I32(r.Bottom);
        }
      }
    }
  }
  return out.Take();
}

std::vector<uint8_t> Zlib(std::span<const uint8_t> plain) { return DeflateBlock(plain); }

std::vector<uint8_t> Rows(int32_t width, int32_t height, int32_t bits, const std::vector<uint32_t>& pixels) {
  TDIBSurface picture;
  picture.SetSize(width, height, bits);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      SetPixelValue(picture, x, y, pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]);
    }
  }
  const size_t row_bytes = PaddedRowBytes(width, bits);
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < height; ++y) out.insert(out.end(), picture.Row(y), picture.Row(y) + row_bytes);
  return out;
}

std::vector<uint8_t> AlphaRows(int32_t width, int32_t height, const std::vector<uint8_t>& values) {
  std::vector<uint32_t> pixels(values.begin(), values.end());
  return Rows(width, height, 8, pixels);
}

std::vector<uint32_t> PixelsOf(const TDIBSurface& picture) {
  std::vector<uint32_t> out;
  for (int32_t y = 0; y < picture.Height(); ++y) {
    for (int32_t x = 0; x < picture.Width(); ++x) out.push_back(PixelValue(picture, x, y));
  }
  return out;
}

std::vector<uint8_t> AlphaOf(const TDIBSurface& picture) {
  std::vector<uint8_t> out;
  if (!picture.Alpha()) return out;
  for (uint32_t v : PixelsOf(*picture.Alpha())) out.push_back(static_cast<uint8_t>(v));
  return out;
}

}  // namespace orva::testing
