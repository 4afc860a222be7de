#include <gtest/gtest.h>

#include "images/mosa_frames.h"
#include "images/picture_pixels.h"
#include "images/surface_copy.h"
#include "layered_image_support.h"
#include "render/dibx.h"
#include "render/layered_picture_loader.h"

namespace orva {
namespace {

using testing::AsBytes;

void MakeFrame(TMosaFrame& frame, int32_t bits) {
  frame.Picture.SetSize(2, 2, bits);
  SetPixelValue(frame.Picture, 0, 0, bits == 32 ? 0xAB112233 : 0x112233);
  SetPixelValue(frame.Picture, 1, 1, 0x8040F0);
  frame.Picture.SetAlphaChannel(true);
  frame.Picture.Alpha()->Row(1)[0] = 77;
  frame.Regions = {TRect{0, 0, 1, 1}};
  frame.Regions2 = {TRect{1, 1, 2, 2}};
}

TEST(LayeredImageSurfaces, CopyToSurfaceAtTheSurfacesBitCount) {
  for (const int32_t bits : {24, 32}) {
    SCOPED_TRACE(bits);
    TMosaFrame frame;
    MakeFrame(frame, bits);
    TDIBX surface;
    surface.SetBitCount(32);
    CopyToSurface(frame, surface);
    ASSERT_EQ(surface.Width, 2);
    ASSERT_EQ(surface.GetBitCount(), 32);
    // The unused byte is cleared.
    EXPECT_EQ(surface.GetPixel(0, 0), 0x112233u);
    EXPECT_EQ(surface.GetPixel(1, 1), 0x8040F0u);
    EXPECT_EQ(surface.GetPixel(1, 0), 0u);
    EXPECT_EQ(surface.Regions, frame.Regions);
    EXPECT_EQ(surface.Regions2, frame.Regions2);
  }
  // Other depths convert: a 16-bit surface keeps each channel's high bits.
  TMosaFrame frame;
  MakeFrame(frame, 24);
  TDIBX surface;
  surface.SetBitCount(16);
  CopyToSurface(frame, surface);
  EXPECT_EQ(surface.GetBitCount(), 16);
  EXPECT_EQ(surface.GetPixel(1, 1), ((0x80u >> 3) << 11) | ((0x40u >> 2) << 5) | (0xF0u >> 3));

  TDIBX mask;
  CopyAlphaToSurface(frame, mask);
  EXPECT_EQ(mask.GetBitCount(), 8);
  EXPECT_EQ(mask.GetPixel(0, 1), 77u);
  EXPECT_EQ(mask.GetPixel(0, 0), 0u);
}

TEST(LayeredImageSurfaces, SurfacesLoadLayeredImagesThroughTheRegisteredReader) {
  TMosaFrameList list(42);
  for (int f = 0; f < 2; ++f) {
    TDIBSurface& picture = list.AddFrame()->Picture;
    picture.SetSize(3, 2, 24);
    SetPixelValue(picture, 2, 1, f == 0 ? 0x00FF00 : 0x0000FF);
  }
  const std::string file = list.SaveToBytes(MosaCompression::Default, 0);
  RegisterLayeredImageLoader();
  TDIBX surface;
  surface.SetBitCount(32);
  ASSERT_TRUE(surface.LoadFromStream(AsBytes(file), 42));
  EXPECT_EQ(surface.Width, 3);
  EXPECT_EQ(surface.Height, 2);
  EXPECT_EQ(surface.GetPixel(2, 1), 0x00FF00u);
  RegisterLayeredPictureLoader({});
}

}  // namespace
}  // namespace orva
