#include "images/mosa_frames.h"

#include <algorithm>
#include <cstring>

#include "core/error.h"
#include "core/sjis.h"
#include "images/picture_files.h"
#include "images/picture_pixels.h"
#include "resources/file_manager.h"
#include "resources/stream.h"

namespace orva {
namespace {

std::string LowerExtension(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  const size_t slash = name.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return {};
  return sjis::AnsiLowerCase(name.substr(dot));
}

// The bounding rectangle of the pixels for which visible() holds; empty when there are none.
template <typename Visible>
TRect VisibleBounds(int32_t width, int32_t height, Visible visible) {
  TRect bounds{width, height, 0, 0};
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      if (!visible(x, y)) continue;
      bounds.Left = std::min(bounds.Left, x);
      bounds.Top = std::min(bounds.Top, y);
      bounds.Right = std::max(bounds.Right, x + 1);
      bounds.Bottom = std::max(bounds.Bottom, y + 1);
    }
  }
  return bounds.IsEmpty() ? TRect{} : bounds;
}

void CropPicture(TDIBSurface& picture, const TRect& rect) {
  TDIBSurface cropped;
  cropped.SetSize(static_cast<int32_t>(rect.Width()), static_cast<int32_t>(rect.Height()), picture.BitCount());
  cropped.Palette() = picture.Palette();
  for (int32_t y = 0; y < cropped.Height(); ++y) {
    for (int32_t x = 0; x < cropped.Width(); ++x) {
      SetPixelValue(cropped, x, y, PixelValue(picture, rect.Left + x, rect.Top + y));
    }
  }
  if (picture.Alpha()) {
    cropped.SetAlphaChannel(true);
    for (int32_t y = 0; y < cropped.Height(); ++y) {
      std::memcpy(cropped.Alpha()->Row(y), picture.Alpha()->Row(rect.Top + y) + rect.Left,
                  static_cast<size_t>(cropped.Width()));
    }
  }
  CopyPicture(picture, cropped);
}

void TrimRegions(std::vector<TRect>& regions, const TRect& rect) {
  std::vector<TRect> kept;
  for (const TRect& region : regions) {
    TRect part = Intersect(region, rect);
    if (part.IsEmpty()) continue;
    part.Left -= rect.Left;
    part.Right -= rect.Left;
    part.Top -= rect.Top;
    part.Bottom -= rect.Top;
    kept.push_back(part);
  }
  regions = std::move(kept);
}

}  // namespace

TMosaFrame* TMosaFrameList::AddFrame() { return frames_.Add(std::make_unique<TMosaFrame>()); }

void FrameKeyToAlpha(TMosaFrame& frame) {
  TDIBSurface& picture = frame.Picture;
  if (picture.Alpha()) return;
  picture.SetAlphaChannel(true);
  TDIBSurface& alpha = *picture.Alpha();
  std::fill(alpha.Bits().begin(), alpha.Bits().end(), uint8_t{255});
  if (frame.TransparentValue < 0) return;
  const uint32_t key = static_cast<uint32_t>(frame.TransparentValue);
  for (int32_t y = 0; y < picture.Height(); ++y) {
    uint8_t* row = alpha.Row(y);
    for (int32_t x = 0; x < picture.Width(); ++x) {
      if (PixelValue(picture, x, y) == key) row[x] = 0;
    }
  }
}

void TMosaFrameList::KeyToAlpha() {
  for (int i = 0; i < Count(); ++i) FrameKeyToAlpha(*frames_[i]);
}

void TMosaFrameList::PrepareFrame(TMosaFrame& frame) const {
  TDIBSurface& picture = frame.Picture;
  if (!picture.Alpha() && frame.TransparentValue >= 0) FrameKeyToAlpha(frame);
  if ((picture.Alpha() || frame.TransparentValue < 0) && TargetBitCount > 0) {
    ConvertPictureBits(picture, TargetBitCount);
  } else if (picture.BitCount() <= 8) {
    const int32_t index = frame.TransparentValue;
    ConvertPictureBits(picture, 24);
    // Every pixel that carried the transparent index now holds its entry's colour.
    if (index >= 0) {
      const uint32_t colour = static_cast<uint32_t>(frame.TransparentColor);
      frame.TransparentValue = static_cast<int32_t>((ColorRed(colour) << 16) | (ColorGreen(colour) << 8) |
                                                    ColorBlue(colour));
    }
  }
  picture.MakeUnique();
}

void TMosaFrameList::Trim(int frame_index, TRect& kept) {
  TMosaFrame& frame = *frames_[frame_index];
  TDIBSurface& picture = frame.Picture;
  const TRect whole{0, 0, picture.Width(), picture.Height()};
  kept = whole;
  TRect visible;
  if (const TDIBSurface* alpha = picture.Alpha()) {
    visible = VisibleBounds(picture.Width(), picture.Height(),
                            [alpha](int32_t x, int32_t y) { return alpha->Row(y)[x] != 0; });
  } else if (frame.TransparentValue >= 0) {
    const uint32_t key = static_cast<uint32_t>(frame.TransparentValue);
    visible = VisibleBounds(picture.Width(), picture.Height(),
                            [&picture, key](int32_t x, int32_t y) { return PixelValue(picture, x, y) != key; });
  } else {
    return;
  }
  if (visible.IsEmpty() || visible == whole) return;
  CropPicture(picture, visible);
  TrimRegions(frame.Regions, visible);
  TrimRegions(frame.Regions2, visible);
  kept = visible;
}

bool TMosaFrameList::LoadFromFileBytes(const std::string& name, std::span<const uint8_t> bytes,
                                       FrameSelection selection, Preparation preparation) {
  const std::string extension = LowerExtension(name);
  if (extension == ".mos") {
    LoadFromBytes(bytes, selection, preparation);
    return true;
  }
  if (extension != ".png" && extension != ".bmp" && extension != ".dib") {
    Clear();
    return false;
  }
  Clear();
  TMosaFrame& frame = *AddFrame();
  try {
    if (extension == ".png") {
      ReadPngPicture(bytes, frame.Picture, PixelBudget());
    } else {
      ReadBitmapPicture(bytes, frame.Picture);
    }
  } catch (const EOrvaError&) {
    Clear();
    throw;
  }
  if (preparation == Preparation::Prepare) PrepareFrame(frame);
  return true;
}

bool TMosaFrameList::LoadFromFile(const std::string& path, FrameSelection selection, Preparation preparation) {
  const std::string extension = LowerExtension(path);
  if (extension != ".mos" && extension != ".png" && extension != ".bmp" && extension != ".dib") {
    Clear();
    return false;
  }
  TMemoryStream contents;
  contents.LoadFromFile(path);
  return LoadFromFileBytes(path, contents.Bytes(), selection, preparation);
}

bool TMosaFrameList::LoadFromFileManager(TVrFileManager& files, const std::string& name, FrameSelection selection,
                                         Preparation preparation) {
  const std::string extension = LowerExtension(name);
  if (extension != ".mos" && extension != ".png" && extension != ".bmp" && extension != ".dib") {
    Clear();
    return false;
  }
  TMemoryStream contents;
  files.Load(contents, name);
  return LoadFromFileBytes(name, contents.Bytes(), selection, preparation);
}

}  // namespace orva
