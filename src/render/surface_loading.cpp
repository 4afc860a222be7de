// Loading and saving surfaces: the picture format is chosen by its signature, decoded into a
// picture, and taken over at the surface's own bit count.

#include <algorithm>
#include <cstring>

#include "core/sjis.h"
#include "render/bmp_reader.h"
#include "render/bmp_writer.h"
#include "render/custom_dibx.h"
#include "render/layered_picture_loader.h"
#include "render/picture_convert.h"
#include "render/png_reader.h"
#include "render/surface_files.h"

namespace orva {

namespace {

LayeredPictureLoader& LoaderSlot() {
  static LayeredPictureLoader loader;
  return loader;
}

bool HasBmpExtension(const std::string& name) {
  if (name.size() < 4) return false;
  return sjis::SameTextIgnoringCase(name.substr(name.size() - 4), ".bmp");
}

bool StartsWith(std::span<const uint8_t> data, size_t offset, const char* text) {
  const size_t n = std::strlen(text);
  return data.size() >= offset + n && std::memcmp(data.data() + offset, text, n) == 0;
}

}  // namespace

void RegisterLayeredPictureLoader(LayeredPictureLoader loader) { LoaderSlot() = std::move(loader); }
const LayeredPictureLoader& RegisteredLayeredPictureLoader() { return LoaderSlot(); }

bool TCustomDIBX::LoadFromStream(std::span<const uint8_t> data, int32_t key) {
  TDIBSurface picture;
  if (StartsWith(data, 0, "BM")) {
    DecodeBmp(data, picture);
  } else if (StartsWith(data, 1, "PNG")) {
    DecodePng(data, picture);
  } else if (StartsWith(data, 0, "Mosa")) {
    const LayeredPictureLoader& loader = RegisteredLayeredPictureLoader();
    if (!loader) return false;
    loader(data, key, picture);
  } else {
    return false;
  }
  AdoptPicture(picture);
  return true;
}

bool TCustomDIBX::LoadFromFile(const std::string& name) {
  if (!HasBmpExtension(name)) return false;
  const std::optional<std::string> bytes = ReadPictureFile(name);
  if (!bytes) return false;
  return LoadFromStream(std::span(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()), 0);
}

bool TCustomDIBX::SaveToFile(const std::string& name) {
  if (!HasBmpExtension(name) || IsEmpty()) return false;
  return WritePictureFile(name, EncodeBmp24(*this));
}

void TCustomDIBX::AdoptPicture(const TDIBSurface& picture) {
  TDIBSurface converted;
  std::vector<uint32_t> palette(256);
  if (GetBitCount() <= 8) {
    GetPalette(palette.data());
    // Handed out R, G, B, 0; pictures keep B, G, R, 0.
    for (uint32_t& e : palette) e = (e >> 16 & 0xFF) | (e & 0xFF00) | (e & 0xFF) << 16;
  }
  ConvertPicture(picture, GetBitCount(), palette, converted);
  const int32_t bits = GetBitCount();
  SetSize(converted.Width(), converted.Height(), bits);
  if (bits <= 8) {
    for (size_t i = 0; i < palette.size() && i < converted.Palette().size(); ++i) {
      const uint32_t e = converted.Palette()[i];
      palette[i] = (e >> 16 & 0xFF) | (e & 0xFF00) | (e & 0xFF) << 16;
    }
    SetPalette(palette.data());
  }
  for (int32_t y = 0; y < converted.Height(); ++y) {
    for (int32_t x = 0; x < converted.Width(); ++x) SetPixel(x, y, PictureNative(converted, x, y));
  }
}

}  // namespace orva
