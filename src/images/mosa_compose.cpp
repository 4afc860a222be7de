#include "images/mosa_compose.h"

#include <algorithm>
#include <cstring>

#include "images/picture_pixels.h"

namespace orva {
namespace {

// Ordered 4 x 4 patterns for pictures of 8 bits or less: level L = opacity div 16, rows y = 0..3
// of cells x = 0..3. Level 15 and above takes every pixel.
constexpr const char* kPatterns[15] = {
    "1000" "0000" "0000" "0000",  // 0
    "1000" "0000" "0010" "0000",  // 1
    "1010" "0000" "0010" "0000",  // 2
    "1010" "0000" "1010" "0000",  // 3
    "1010" "0100" "1010" "0000",  // 4
    "1010" "0100" "1010" "0001",  // 5
    "1010" "0101" "1010" "0001",  // 6
    "1010" "0101" "1010" "0101",  // 7
    "1110" "0101" "1010" "0101",  // 8
    "1110" "0101" "1011" "0101",  // 9
    "1111" "0101" "1011" "0101",  // 10
    "1111" "0101" "1111" "0101",  // 11
    "1111" "1101" "1111" "0101",  // 12
    "1111" "1101" "1111" "0111",  // 13
    "1111" "1111" "1111" "0111",  // 14
};

struct Masks {
  uint32_t red, green, blue;
};

Masks MasksFor(int32_t bits) {
  if (bits == 15) return {0x7C00, 0x03E0, 0x001F};
  if (bits == 16) return {0xF800, 0x07E0, 0x001F};
  return {0xFF0000, 0x00FF00, 0x0000FF};
}

// ((255 - a)·d + a·s) / 255 per channel, channels in place.
uint32_t OpacityBlend(uint32_t d, uint32_t s, uint32_t a, int32_t bits) {
  if (bits == 32) {
    const uint32_t rb = (((d & 0xFF00FF) * (255 - a) + (s & 0xFF00FF) * a) >> 8) & 0xFF00FF;
    const uint32_t g = (((d & 0x00FF00) * (255 - a) + (s & 0x00FF00) * a) >> 8) & 0x00FF00;
    return rb | g;
  }
  const Masks m = MasksFor(bits);
  uint32_t result = 0;
  for (const uint32_t mask : {m.red, m.green, m.blue}) {
    result |= static_cast<uint32_t>((uint64_t{255 - a} * (d & mask) + uint64_t{a} * (s & mask)) / 255) & mask;
  }
  return result;
}

// ((255 - m)·d + m·s) >> 8 per channel, channels in place.
uint32_t MaskBlend(uint32_t d, uint32_t s, uint32_t m, int32_t bits) {
  const Masks masks = MasksFor(bits);
  uint32_t result = 0;
  for (const uint32_t mask : {masks.red, masks.green, masks.blue}) {
    result |= static_cast<uint32_t>((uint64_t{255 - m} * (d & mask) + uint64_t{m} * (s & mask)) >> 8) & mask;
  }
  return result;
}

void CopyWhole(TDIBSurface& target, const TDIBSurface& source, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return;
  const int32_t bits = target.BitCount();
  if (bits >= 8 || width == target.Width()) {
    const size_t bytes = bits >= 8 ? PackedRowBytes(width, bits) : PaddedRowBytes(width, bits);
    for (int32_t y = 0; y < height; ++y) std::memcpy(target.Row(y), source.Row(y), bytes);
    return;
  }
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) SetPixelValue(target, x, y, PixelValue(source, x, y));
  }
}

void DrawThroughMask(TDIBSurface& target, const TDIBSurface& source, const TDIBSurface& mask, int32_t width,
                     int32_t height) {
  const int32_t bits = target.BitCount();
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* m = mask.Row(y);
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t a = m[x];
      if (a == 0) continue;
      const uint32_t s = PixelValue(source, x, y);
      if (a == 255) {
        SetPixelValue(target, x, y, s);
      } else if (bits <= 8) {
        // Indices cannot be mixed: the ordered pattern of the mask's level decides.
        if (PatternTakesLayer(static_cast<int32_t>(a / 16), x, y)) SetPixelValue(target, x, y, s);
      } else {
        SetPixelValue(target, x, y, MaskBlend(PixelValue(target, x, y), s, a, bits));
      }
    }
  }
}

void DrawWithOpacity(TDIBSurface& target, const TDIBSurface& source, int32_t transparent, int32_t opacity,
                     int32_t width, int32_t height) {
  if (opacity <= 0) return;
  const int32_t bits = target.BitCount();
  const bool keyed = transparent >= 0;
  const uint32_t key = static_cast<uint32_t>(transparent);
  const uint32_t a = static_cast<uint32_t>(std::min(opacity, 255));
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t s = PixelValue(source, x, y);
      if (keyed && s == key) continue;
      if (a >= 255) {
        SetPixelValue(target, x, y, s);
      } else if (bits <= 8) {
        if (PatternTakesLayer(opacity / 16, x, y)) SetPixelValue(target, x, y, s);
      } else if (bits == 24) {
        uint8_t* d = target.Row(y) + static_cast<size_t>(x) * 3;
        const uint8_t* p = source.Row(y) + static_cast<size_t>(x) * 3;
        for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>(((255 - a) * d[c] + a * p[c]) / 255);
      } else {
        SetPixelValue(target, x, y, OpacityBlend(PixelValue(target, x, y), s, a, bits));
      }
    }
  }
}

}  // namespace

bool PatternTakesLayer(int32_t level, int32_t x, int32_t y) {
  if (level >= 15) return true;
  if (level < 0) return false;
  return kPatterns[level][(y & 3) * 4 + (x & 3)] == '1';
}

void FrameCanvas::Prepare(TDIBSurface& picture) {
  if (ready) {
    // The picture may still share a layer's storage, which later tiles can refer to.
    picture.MakeUnique();
    return;
  }
  picture.SetSize(width, height, bits);
  FillPicture(picture, ColorToValue(picture, back_color));
  ready = true;
}

void DrawLayer(TMosaFrame& frame, FrameCanvas& canvas, const TMosaLayer& layer, const LayerPlacement& placement) {
  if (!layer.Visible) return;
  TDIBSurface& picture = frame.Picture;
  const TDIBSurface* alpha = layer.UseAlpha ? layer.Picture.Alpha() : nullptr;

  // JPEG layers arrive as 24-bit pictures of their own size: bring them to the frame's format.
  TDIBSurface converted;
  const TDIBSurface* source = &layer.Picture;
  if (layer.HasColor && layer.Picture.BitCount() != canvas.bits) {
    converted.SetSize(layer.Picture.Width(), layer.Picture.Height(), canvas.bits);
    converted.Palette() = picture.Palette();
    CopyConverted(converted, layer.Picture);
    source = &converted;
  }
  const int32_t width = std::min(canvas.width, layer.Picture.Width());
  const int32_t height = std::min(canvas.height, layer.Picture.Height());
  const bool covers = width == canvas.width && height == canvas.height;

  if (alpha != nullptr && placement.position > 0) {
    if (layer.HasColor) {
      canvas.Prepare(picture);
      DrawThroughMask(picture, *source, *alpha, width, height);
    }
    return;
  }
  // A layer with an alpha channel carries no transparent value.
  const int32_t transparent = layer.Picture.Alpha() ? -1 : layer.TransparentValue;
  const bool copy_whole =
      (transparent < 0 || (placement.first_visible && placement.base_opaque)) && layer.Opacity >= 255;
  if (layer.HasColor && copy_whole && covers && !canvas.ready) {
    // Nothing lies below yet: the frame takes the layer's pixels (and alpha channel) as they are.
    // The alpha channel is attached while the picture is still empty, so nothing is allocated.
    if (alpha != nullptr) {
      picture.SetAlphaChannel(true);
      picture.Alpha()->ShareFrom(*alpha);
      alpha = nullptr;
    }
    picture.ShareFrom(*source);
    canvas.ready = true;
  } else if (layer.HasColor) {
    canvas.Prepare(picture);
    if (copy_whole) {
      CopyWhole(picture, *source, width, height);
    } else {
      DrawWithOpacity(picture, *source, transparent, layer.Opacity, width, height);
    }
  }
  if (alpha != nullptr) {
    canvas.Prepare(picture);
    picture.SetAlphaChannel(true);
    TDIBSurface& frame_alpha = *picture.Alpha();
    if (covers) {
      frame_alpha.ShareFrom(*alpha);
    } else {
      std::fill(frame_alpha.Bits().begin(), frame_alpha.Bits().end(), uint8_t{0});
      CopyWhole(frame_alpha, *alpha, width, height);
    }
  }
}

}  // namespace orva
