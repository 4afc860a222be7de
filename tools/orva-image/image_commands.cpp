#include "image_commands.h"

#include <cstdio>
#include <vector>

#include "core/encoding.h"
#include "core/error.h"
#include "images/picture_files.h"
#include "images/picture_pixels.h"
#include "resources/atomic_file.h"
#include "resources/stream.h"

namespace orva::image_tool {
namespace {

void ReadLayeredImage(const std::string& path, int32_t key, TMosaFrameList& list) {
  TMemoryStream contents;
  contents.LoadFromFile(path);
  list.Key = key;
  list.LoadFromBytes(contents.Bytes());
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", u);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonRects(const std::vector<TRect>& rects) {
  std::string out = "[";
  for (size_t i = 0; i < rects.size(); ++i) {
    const TRect& r = rects[i];
    if (i > 0) out += ", ";
    out += "[" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " + std::to_string(r.Right) + ", " +
           std::to_string(r.Bottom) + "]";
  }
  return out + "]";
}

}  // namespace

void Info(const std::string& path, int32_t key, std::ostream& out) {
  TMosaFrameList list;
  ReadLayeredImage(path, key, list);
  out << "{\"version\": " << list.Version << ", \"back_color\": " << static_cast<int32_t>(list.BackColor)
      << ", \"frames\": [";
  for (int i = 0; i < list.Count(); ++i) {
    const TMosaFrame& frame = *list[i];
    if (i > 0) out << ", ";
    out << "{\"name\": " << JsonString(Cp932ToUtf8(frame.Name)) << ", \"width\": " << frame.Picture.Width()
        << ", \"height\": " << frame.Picture.Height() << ", \"bits\": " << frame.Picture.BitCount()
        << ", \"delay\": " << frame.Delay << ", \"transparent_value\": " << frame.TransparentValue
        << ", \"transparent_color\": " << frame.TransparentColor
        << ", \"alpha\": " << (frame.Picture.Alpha() ? "true" : "false")
        << ", \"regions\": " << JsonRects(frame.Regions) << ", \"regions2\": " << JsonRects(frame.Regions2) << "}";
  }
  out << "]}\n";
}

void Decode(const std::string& path, int32_t key, int32_t frame_index, const std::string& out_path) {
  TMosaFrameList list;
  ReadLayeredImage(path, key, list);
  if (frame_index < 0 || frame_index >= list.Count()) {
    throw EOrvaError("frame " + std::to_string(frame_index) + " does not exist (the file has " +
                     std::to_string(list.Count()) + ")");
  }
  const TDIBSurface& picture = list[frame_index]->Picture;
  const int32_t width = picture.Width(), height = picture.Height();
  if (width == 0 || height == 0) throw EOrvaError("frame " + std::to_string(frame_index) + " has no picture");
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  uint8_t* pixel = rgba.data();
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* alpha = picture.Alpha() ? picture.Alpha()->Row(y) : nullptr;
    for (int32_t x = 0; x < width; ++x, pixel += 4) {
      const uint32_t colour = ValueToColor(picture, PixelValue(picture, x, y));
      pixel[0] = static_cast<uint8_t>(ColorRed(colour));
      pixel[1] = static_cast<uint8_t>(ColorGreen(colour));
      pixel[2] = static_cast<uint8_t>(ColorBlue(colour));
      pixel[3] = alpha ? alpha[x] : 255;
    }
  }
  WriteFileAtomically(out_path, WritePngRgba(width, height, rgba));
}

void Encode(const std::string& png_path, int32_t key, MosaCompression compression, int32_t quality,
            const std::string& out_path) {
  TMemoryStream contents;
  contents.LoadFromFile(png_path);
  TMosaFrameList list(key);
  ReadPngPicture(contents.Bytes(), list.AddFrame()->Picture, list.PixelBudget());
  list.SaveToFile(out_path, compression, quality);
}

}  // namespace orva::image_tool
