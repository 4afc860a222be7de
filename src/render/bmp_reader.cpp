#include "render/bmp_reader.h"

#include <bit>
#include <cstring>

#include "core/byte_reader.h"
#include "core/error.h"
#include "core/limits.h"

namespace orva {

namespace {

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

[[noreturn]] void Invalid() { throw EOrvaError(kInvalidBitmap); }

struct Header {
  int32_t width = 0;
  int32_t height = 0;  // positive
  bool top_down = false;
  uint16_t bits = 0;
  uint32_t compression = kRgb;
  uint32_t colours_used = 0;
  uint32_t masks[3] = {0, 0, 0};  // red, green, blue
  bool has_masks = false;
  size_t palette_entry = 4;
};

Header ReadHeader(ByteReader& reader) {
  Header h;
  const size_t header_start = reader.Position();
  const uint32_t size = reader.U32();
  if (size == 12) {
    h.width = reader.U16();
    const int32_t height = reader.U16();
    h.height = height;
    reader.U16();
    h.bits = reader.U16();
    h.palette_entry = 3;
  } else if (size >= 40 && size <= 4096) {
    h.width = reader.I32();
    const int32_t height = reader.I32();
    if (height == INT32_MIN) Invalid();
    h.top_down = height < 0;
    h.height = height < 0 ? -height : height;
    reader.U16();
    h.bits = reader.U16();
    h.compression = reader.U32();
    reader.Skip(12);  // image size, resolution
    h.colours_used = reader.U32();
    reader.U32();
    if (size >= 52) {
      for (uint32_t& m : h.masks) m = reader.U32();
      h.has_masks = true;
    }
    reader.Seek(header_start + size);
    // Masks of a plain 40-byte header follow it.
    if (!h.has_masks && (h.compression == kBitFields || h.compression == kAlphaBitFields)) {
      for (uint32_t& m : h.masks) m = reader.U32();
      if (h.compression == kAlphaBitFields) reader.U32();
      h.has_masks = true;
    }
  } else {
    Invalid();
  }
  if (h.width <= 0 || h.height <= 0 || !limits::PictureFits(h.width, h.height)) Invalid();
  switch (h.bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: Invalid();
  }
  switch (h.compression) {
    case kRgb: break;
    case kRle8: if (h.bits != 8 || h.top_down) Invalid(); break;
    case kRle4: if (h.bits != 4 || h.top_down) Invalid(); break;
    case kBitFields:
    case kAlphaBitFields: if (h.bits != 16 && h.bits != 32) Invalid(); break;
    default: Invalid();
  }
  return h;
}

// Channel value of a bit-field mask, scaled to 8 bits by shifting (wider fields keep their top bits).
uint32_t FieldValue(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int width = std::popcount(mask >> shift);
  const uint32_t value = (pixel & mask) >> shift;
  return width >= 8 ? value >> (width - 8) : value << (8 - width);
}

void DecodeRle(ByteReader& reader, const Header& h, TDIBSurface& picture) {
  const bool four = h.compression == kRle4;
  int64_t x = 0;
  int64_t row = 0;  // counted from the bottom
  auto put = [&](uint32_t index) {
    if (x < h.width && row < h.height) {
      uint8_t* line = picture.Row(static_cast<int32_t>(h.height - 1 - row));
      if (four) {
        line[x >> 1] = static_cast<uint8_t>(line[x >> 1] | ((index & 15) << ((x & 1) ? 0 : 4)));
      } else {
        line[x] = static_cast<uint8_t>(index);
      }
    }
    ++x;
  };
  while (!reader.AtEnd() && row < h.height) {
    const uint8_t count = reader.U8();
    const uint8_t value = reader.U8();
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? ((i & 1) ? value & 15 : value >> 4) : value);
      continue;
    }
    switch (value) {
      case 0: x = 0; ++row; break;         // end of line
      case 1: return;                      // end of picture
      case 2: x += reader.U8(); row += reader.U8(); break;
      default: {
        const size_t bytes = four ? (value + 1u) / 2 : value;
        std::span<const uint8_t> run = reader.Bytes(bytes);
        for (int i = 0; i < value; ++i) {
          put(four ? ((i & 1) ? run[static_cast<size_t>(i / 2)] & 15 : run[static_cast<size_t>(i / 2)] >> 4)
                   : run[static_cast<size_t>(i)]);
        }
        if (bytes & 1) reader.Skip(1);
      }
    }
  }
}

void Decode(std::span<const uint8_t> data, TDIBSurface& picture) {
  ByteReader reader(data);
  if (reader.U16() != 0x4D42) Invalid();
  reader.Skip(8);
  const uint32_t bits_offset = reader.U32();
  const Header h = ReadHeader(reader);

  std::vector<uint32_t> palette;
  if (h.bits <= 8) {
    uint32_t entries = h.colours_used == 0 ? (1u << h.bits) : h.colours_used;
    if (entries > 256) Invalid();
    if (entries * h.palette_entry > reader.Remaining()) Invalid();
    palette.assign(256, 0);
    for (uint32_t i = 0; i < entries; ++i) {
      std::span<const uint8_t> e = reader.Bytes(h.palette_entry);
      palette[i] = uint32_t{e[0]} | uint32_t{e[1]} << 8 | uint32_t{e[2]} << 16;
    }
  }
  if (bits_offset < reader.Position() || bits_offset > data.size()) {
    // Some writers leave the offset 0: the pixels then follow the palette.
    if (bits_offset != 0) Invalid();
  } else {
    reader.Seek(bits_offset);
  }

  // The picture's depth: what a surface can hold, 16-bit bit fields by their layout.
  int32_t depth = h.bits;
  bool by_masks = false;
  if (h.bits == 16) {
    depth = 15;
    if (h.has_masks && (h.compression == kBitFields || h.compression == kAlphaBitFields)) {
      if (h.masks[0] == 0xF800 && h.masks[1] == 0x07E0 && h.masks[2] == 0x001F) depth = 16;
      else if (!(h.masks[0] == 0x7C00 && h.masks[1] == 0x03E0 && h.masks[2] == 0x001F)) by_masks = true;
    }
  } else if (h.bits == 32 && h.has_masks && (h.compression == kBitFields || h.compression == kAlphaBitFields)) {
    by_masks = !(h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF);
  }
  if (by_masks) depth = 32;

  // Run lengths expand at most about a thousandfold (the same bound as compressed archives).
  if ((h.compression == kRle8 || h.compression == kRle4) &&
      int64_t{h.width} * h.height / limits::kMaxInflateRatio > static_cast<int64_t>(data.size())) {
    Invalid();
  }
  TDIBSurface result;
  result.SetSize(h.width, h.height, depth);
  if (h.bits <= 8) result.Palette() = palette;

  if (h.compression == kRle8 || h.compression == kRle4) {
    DecodeRle(reader, h, result);
  } else {
    const size_t row_bytes = static_cast<size_t>((int64_t{h.width} * h.bits + 31) / 32 * 4);
    if (row_bytes > 0 && reader.Remaining() / row_bytes < static_cast<size_t>(h.height)) Invalid();
    const size_t used = static_cast<size_t>((int64_t{h.width} * h.bits + 7) / 8);
    for (int32_t i = 0; i < h.height; ++i) {
      std::span<const uint8_t> line = reader.Bytes(row_bytes);
      const int32_t y = h.top_down ? i : h.height - 1 - i;
      uint8_t* out = result.Row(y);
      if (!by_masks) {
        std::memcpy(out, line.data(), used);
        continue;
      }
      for (int32_t x = 0; x < h.width; ++x) {
        uint32_t pixel = 0;
        if (h.bits == 16) pixel = uint32_t{line[static_cast<size_t>(x) * 2]} | uint32_t{line[static_cast<size_t>(x) * 2 + 1]} << 8;
        else std::memcpy(&pixel, line.data() + static_cast<size_t>(x) * 4, 4);
        const uint32_t rgb = FieldValue(pixel, h.masks[0]) << 16 | FieldValue(pixel, h.masks[1]) << 8 |
                             FieldValue(pixel, h.masks[2]);
        std::memcpy(out + x * 4, &rgb, 4);
      }
    }
  }
  picture.SetSize(result.Width(), result.Height(), result.BitCount());
  std::memcpy(picture.Bits().data(), result.Bits().data(), result.Bits().size());
  picture.Palette() = result.Palette();
}

}  // namespace

void DecodeBmp(std::span<const uint8_t> data, TDIBSurface& picture) {
  try {
    Decode(data, picture);
  } catch (const EOrvaError& e) {
    if (std::string(e.what()) == kInvalidBitmap) throw;
    throw EOrvaError(kInvalidBitmap);
  }
}

}  // namespace orva
