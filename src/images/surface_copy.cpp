#include "images/surface_copy.h"

#include <cstring>
#include <vector>

#include "core/error.h"
#include "images/picture_pixels.h"
#include "render/layered_picture_loader.h"
#include "render/picture_convert.h"

namespace orva {
namespace {

// Hands the address of each row, top row first, to row_source; every Lock is paired with Unlock.
template <typename RowSource>
void WriteRows(TCustomDIBX& surface, int32_t height, RowSource row_source) {
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = surface.Lock(0, y);
    if (row != nullptr) row_source(y, row);
    surface.Unlock();
  }
}

}  // namespace

void CopyToSurface(const TMosaFrame& frame, TCustomDIBX& surface) {
  const TDIBSurface& picture = frame.Picture;
  const int32_t width = picture.Width(), height = picture.Height();
  const int32_t bits = surface.GetBitCount();
  if (bits == 32 && (picture.BitCount() == 24 || picture.BitCount() == 32)) {
    surface.SetSize(width, height, 32);
    const int32_t step = picture.BitCount() / 8;
    WriteRows(surface, height, [&](int32_t y, uint8_t* row) {
      const uint8_t* source = picture.Row(y);
      for (int32_t x = 0; x < width; ++x, source += step, row += 4) {
        row[0] = source[0];
        row[1] = source[1];
        row[2] = source[2];
        row[3] = 0;
      }
    });
  } else {
    std::vector<uint32_t> palette(256);
    if (bits <= 8) {
      surface.GetPalette(palette.data());
      // Surfaces hand out R, G, B, 0; pictures keep B, G, R, 0.
      for (uint32_t& e : palette) e = (e >> 16 & 0xFF) | (e & 0xFF00) | (e & 0xFF) << 16;
    }
    TDIBSurface converted;
    ConvertPicture(picture, bits, palette, converted);
    surface.SetSize(width, height, bits);
    const size_t row_bytes = PackedRowBytes(width, surface.GetStorageBitCount());
    WriteRows(surface, height, [&](int32_t y, uint8_t* row) { std::memcpy(row, converted.Row(y), row_bytes); });
  }
  surface.Regions = frame.Regions;
  surface.Regions2 = frame.Regions2;
}

void CopyAlphaToSurface(const TMosaFrame& frame, TCustomDIBX& surface) {
  const TDIBSurface* alpha = frame.Picture.Alpha();
  if (alpha == nullptr) return;
  surface.SetSize(alpha->Width(), alpha->Height(), 8);
  const size_t width = static_cast<size_t>(alpha->Width());
  WriteRows(surface, alpha->Height(), [&](int32_t y, uint8_t* row) { std::memcpy(row, alpha->Row(y), width); });
}

void RegisterLayeredImageLoader() {
  RegisterLayeredPictureLoader([](std::span<const uint8_t> data, int32_t key, TDIBSurface& picture) {
    TMosaFrameList list(key);
    list.LoadFromBytes(data, FrameSelection::FirstOnly);
    if (list.Count() == 0) throw EOrvaError("damaged layered image: the file holds no frame");
    CopyPicture(picture, list[0]->Picture);
  });
}

}  // namespace orva
