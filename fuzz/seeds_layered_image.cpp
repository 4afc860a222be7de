// Seeds for fuzz_layered_image: files of every version, kind, bit count and tile source, scrambled
// and plain, plus a PNG and a bitmap.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/byte_writer.h"
#include "images/mosa_frames.h"
#include "images/picture_files.h"
#include "images/picture_pixels.h"
#include "images/zlib_block.h"

namespace {

void Save(const std::string& folder, const std::string& name, const std::string& bytes) {
  std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
}

void Paint(orva::TDIBSurface& picture, int32_t width, int32_t height, int32_t bits, bool alpha) {
  picture.SetSize(width, height, bits);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) orva::SetPixelValue(picture, x, y, static_cast<uint32_t>(x * 3 + y * 5));
  if (!alpha) return;
  picture.SetAlphaChannel(true);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) picture.Alpha()->Row(y)[x] = static_cast<uint8_t>(x * 40);
}

void I32(std::vector<uint8_t>& out, int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

// A hand-written file of an older version: two frames of two 4 x 2 24-bit layers each, the second
// layer half transparent; version 103 and later carry tiles from every source.
std::string OldVersion(int32_t version, bool tiles) {
  orva::ByteWriter out;
  if (version > 0) {
    char signature[8];
    std::snprintf(signature, sizeof signature, "Mosa%03d", version);
    out.Chars(std::string(signature, 7));
  }
  if (version < 103) {
    out.I32(2);
    out.U8(0);
    if (version > 101) out.U32(0x00336699);
  } else {
    out.I32(40);
    out.I32(version);
    out.I32(4);
    out.I32(2);
    out.I32(24);
    out.I32(2);
    out.U8(1);
    out.U8(0);
    out.U8(0);
    out.U8(0);
    out.U32(0x00336699);
    out.I32(tiles ? 2 : 0);
    out.I32(tiles ? 2 : 0);
    out.U8(1);
    out.U8(80);
    out.U16(0);
  }
  for (int frame = 0; frame < 2; ++frame) {
    out.String("Frame" + std::to_string(frame + 1));
    out.I32(-1);
    out.I32(100);
    out.U8(2);
    out.I32(0);
    out.I32(2);
    out.I32(4);
    out.I32(2);
    out.I32(24);
    for (int layer = 0; layer < 2; ++layer) {
      out.I32(0);
      out.I32(0);
      out.U8(1);
      out.I32(layer == 0 ? -1 : 0x000000FF);
      out.I32(layer == 0 ? 255 : 128);
      if (version > 100) out.U8(1);
      out.String("Layer");
      std::vector<uint8_t> plain;
      if (tiles) {
        if (frame == 0) {
          I32(plain, -1), I32(plain, 0), I32(plain, -2), I32(plain, 0);
          for (int i = 0; i < 12; ++i) plain.push_back(static_cast<uint8_t>(i * 20 + layer));
        } else {
          I32(plain, 0), I32(plain, layer), I32(plain, -1), I32(plain, 0);
          for (int i = 0; i < 12; ++i) plain.push_back(static_cast<uint8_t>(255 - i));
        }
      } else {
        for (int i = 0; i < 24; ++i) plain.push_back(static_cast<uint8_t>(i * 10 + frame + layer));
      }
      const std::vector<uint8_t> colour = orva::DeflateBlock(plain);
      out.I32(static_cast<int32_t>(colour.size()));
      out.Bytes(colour);
      if (version > 99) {
        if (layer == 1) {
          std::vector<uint8_t> alpha_plain;
          if (tiles) {
            I32(alpha_plain, -1), I32(alpha_plain, 0), I32(alpha_plain, -1), I32(alpha_plain, 0);
            for (int i = 0; i < 8; ++i) alpha_plain.push_back(static_cast<uint8_t>(i * 30));
          } else {
            for (int i = 0; i < 8; ++i) alpha_plain.push_back(static_cast<uint8_t>(i * 30));
          }
          const std::vector<uint8_t> alpha = orva::DeflateBlock(alpha_plain);
          out.I32(static_cast<int32_t>(alpha.size()));
          out.Bytes(alpha);
        } else {
          out.I32(0);
        }
      }
    }
    if (version >= 104) {
      out.I32(1);
      for (int32_t v : {0, 0, 2, 2}) out.I32(v);
      out.I32(-1);
    }
  }
  return out.Take();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string folder = argv[1];
  for (const int32_t version : {0, 99, 100, 101, 102, 103, 104, 105, 106}) {
    Save(folder, "version-" + std::to_string(version) + ".mos", OldVersion(version, false));
    if (version >= 103) Save(folder, "tiles-" + std::to_string(version) + ".mos", OldVersion(version, true));
  }
  for (const int32_t bits : {1, 4, 8, 15, 16, 24, 32}) {
    for (const int32_t kind : {0, 1, 2}) {
      for (const int32_t key : {0, 12345}) {
        if (kind == 2 && bits < 15) continue;
        orva::TMosaFrameList list(key);
        for (int f = 0; f < 2; ++f) Paint(list.AddFrame()->Picture, 5 + f, 3, bits, f == 1);
        Save(folder,
             "written-" + std::to_string(bits) + "-" + std::to_string(kind) + "-" + std::to_string(key) + ".mos",
             list.SaveToBytes(static_cast<orva::MosaCompression>(kind), 70));
      }
    }
  }
  std::vector<uint8_t> rgba(4 * 3 * 4);
  for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<uint8_t>(i * 7);
  Save(folder, "picture.png", orva::WritePngRgba(4, 3, rgba));
  orva::ByteWriter bitmap;
  bitmap.Chars("BM");
  bitmap.I32(54 + 16);
  bitmap.I32(0);
  bitmap.I32(54);
  for (int32_t v : {40, 2, 2}) bitmap.I32(v);
  bitmap.U16(1);
  bitmap.U16(32);
  for (int i = 0; i < 6; ++i) bitmap.I32(0);
  for (int i = 0; i < 16; ++i) bitmap.U8(static_cast<uint8_t>(i * 16));
  Save(folder, "picture.bmp", bitmap.Take());
  return 0;
}
