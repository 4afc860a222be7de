#include <gtest/gtest.h>

#include <filesystem>

#include "core/byte_reader.h"
#include "core/error.h"
#include "resources/file_manager.h"
#include "images/mosa_frames.h"
#include "images/picture_pixels.h"
#include "layered_image_support.h"

namespace orva {
namespace {

using testing::AlphaOf;
using testing::AsBytes;
using testing::PixelsOf;

// A picture whose every pixel and row differs, so that a misplaced row shows.
void Paint(TDIBSurface& picture, int32_t width, int32_t height, int32_t bits) {
  picture.SetSize(width, height, bits);
  const uint32_t mask = bits >= 32 ? 0xFFFFFFFFu : (bits == 24 ? 0xFFFFFFu : (1u << (bits == 15 ? 15 : bits)) - 1);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      SetPixelValue(picture, x, y, static_cast<uint32_t>((y * 7919 + x * 104729) ^ (y << 11)) & mask);
    }
  }
  for (size_t i = 0; i < picture.Palette().size(); ++i) picture.Palette()[i] = static_cast<uint32_t>(i * 0x010203) & 0xFFFFFF;
}

TEST(LayeredImageWriter, RoundTripsEveryBitCountKindAndKey) {
  for (const int32_t bits : {1, 4, 8, 15, 16, 24, 32}) {
    for (const MosaCompression kind : {MosaCompression::Default, MosaCompression::None}) {
      for (const int32_t key : {0, 1234567}) {
        for (const bool with_alpha : {false, true}) {
          SCOPED_TRACE(::testing::Message() << bits << " bits, kind " << static_cast<int>(kind) << ", key " << key
                                            << ", alpha " << with_alpha);
          TMosaFrameList list(key);
          list.BackColor = 0x00102030;
          for (int f = 0; f < 2; ++f) {
            TMosaFrame& frame = *list.AddFrame();
            frame.Delay = 40 + f;
            Paint(frame.Picture, 13 + f, 9, bits);
            if (with_alpha) {
              frame.Picture.SetAlphaChannel(true);
              for (int32_t y = 0; y < 9; ++y)
                for (int32_t x = 0; x < 13 + f; ++x) frame.Picture.Alpha()->Row(y)[x] = static_cast<uint8_t>(x * 19 + y);
            }
          }
          const std::string file = list.SaveToBytes(kind, 75);
          TMosaFrameList read(key);
          read.LoadFromBytes(AsBytes(file));
          ASSERT_EQ(read.Count(), 2);
          EXPECT_EQ(read.Version, 106);
          EXPECT_EQ(read.BackColor, 0x00102030u);
          for (int f = 0; f < 2; ++f) {
            EXPECT_EQ(read[f]->Name, "Frame" + std::to_string(f + 1));
            EXPECT_EQ(read[f]->Delay, 40 + f);
            EXPECT_EQ(read[f]->Picture.BitCount(), bits);
            EXPECT_EQ(PixelsOf(read[f]->Picture), PixelsOf(list[f]->Picture));
            EXPECT_EQ(AlphaOf(read[f]->Picture), AlphaOf(list[f]->Picture));
            if (bits <= 8) {
              for (size_t i = 0; i < (size_t{1} << bits); ++i) {
                EXPECT_EQ(read[f]->Picture.Palette()[i], list[f]->Picture.Palette()[i]);
              }
            }
          }
        }
      }
    }
  }
}

// With a key the writer stores row P(i) as its i-th row, uncompressed, and marks the file scrambled.
TEST(LayeredImageWriter, KeyedOutputIsScrambledAndRaw) {
  TMosaFrameList list(99);
  TDIBSurface& picture = list.AddFrame()->Picture;
  picture.SetSize(1, 5, 8);
  for (int32_t y = 0; y < 5; ++y) picture.Row(y)[0] = static_cast<uint8_t>(y);
  const std::string file = list.SaveToBytes(MosaCompression::Default, 0);
  ByteReader reader(file);
  reader.Skip(7 + 4 + 20);
  EXPECT_EQ(reader.U8(), 1);  // scrambled
  EXPECT_EQ(reader.U8(), 1);  // no compression
  // Read without the key the rows come out in stored order: a permutation that is not the identity.
  TMosaFrameList wrong(0);
  wrong.LoadFromBytes(AsBytes(file));
  std::vector<uint32_t> rows = PixelsOf(wrong[0]->Picture);
  EXPECT_NE(rows, (std::vector<uint32_t>{0, 1, 2, 3, 4}));
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (std::vector<uint32_t>{0, 1, 2, 3, 4}));
}

TEST(LayeredImageEdit, KeyToAlphaAndPreparation) {
  TMosaFrameList list;
  TMosaFrame& frame = *list.AddFrame();
  frame.Picture.SetSize(3, 1, 8);
  frame.Picture.Palette()[5] = 0x00ABCDEF;
  frame.Picture.Row(0)[0] = 5;
  frame.Picture.Row(0)[1] = 6;
  frame.Picture.Row(0)[2] = 5;
  frame.TransparentValue = 5;
  frame.TransparentColor = static_cast<int32_t>(ValueToColor(frame.Picture, 5));
  list.PrepareFrame(frame);
  // An 8-bit picture becomes 24 bits and its transparent value the 24-bit colour of the index.
  EXPECT_EQ(frame.Picture.BitCount(), 24);
  EXPECT_EQ(frame.TransparentValue, 0x00ABCDEF);
  EXPECT_EQ(AlphaOf(frame.Picture), (std::vector<uint8_t>{0, 255, 0}));
  EXPECT_EQ(PixelsOf(frame.Picture)[0], 0x00ABCDEFu);

  // With a target bit count, frames with alpha are converted to it.
  TMosaFrameList target;
  target.TargetBitCount = 16;
  TMosaFrame& other = *target.AddFrame();
  other.Picture.SetSize(1, 1, 24);
  SetPixelValue(other.Picture, 0, 0, 0x808080);
  target.PrepareFrame(other);
  EXPECT_EQ(other.Picture.BitCount(), 16);
  EXPECT_EQ(PixelsOf(other.Picture)[0], 0x8410u);
  EXPECT_FALSE(other.Picture.Alpha());
}

TEST(LayeredImageEdit, TrimKeepsTheVisiblePartAndItsRegions) {
  TMosaFrameList list;
  TMosaFrame& frame = *list.AddFrame();
  frame.Picture.SetSize(30, 20, 24);
  frame.Picture.SetAlphaChannel(true);
  for (int32_t y = 7; y < 12; ++y)
    for (int32_t x = 4; x < 14; ++x) frame.Picture.Alpha()->Row(y)[x] = 1;
  SetPixelValue(frame.Picture, 4, 7, 0x123456);
  frame.Regions = {TRect{0, 0, 5, 8}, TRect{20, 0, 30, 5}};
  frame.Regions2 = {TRect{10, 10, 25, 15}};
  TRect kept;
  list.Trim(0, kept);
  EXPECT_EQ(kept, (TRect{4, 7, 14, 12}));
  EXPECT_EQ(frame.Picture.Width(), 10);
  EXPECT_EQ(frame.Picture.Height(), 5);
  EXPECT_EQ(PixelValue(frame.Picture, 0, 0), 0x123456u);
  EXPECT_EQ(frame.Regions, (std::vector<TRect>{{0, 0, 1, 1}}));
  EXPECT_EQ(frame.Regions2, (std::vector<TRect>{{6, 3, 10, 5}}));

  // Without alpha the transparent value decides; a frame with neither is left alone.
  TMosaFrame& keyed = *list.AddFrame();
  keyed.Picture.SetSize(4, 4, 8);
  keyed.Picture.Row(2)[1] = 9;
  keyed.TransparentValue = 0;
  list.Trim(1, kept);
  EXPECT_EQ(kept, (TRect{1, 2, 2, 3}));
  TMosaFrame& plain = *list.AddFrame();
  plain.Picture.SetSize(4, 4, 8);
  list.Trim(2, kept);
  EXPECT_EQ(kept, (TRect{0, 0, 4, 4}));
  EXPECT_EQ(plain.Picture.Width(), 4);
}

TEST(LayeredImageEdit, KeyToAlphaOverTheList) {
  TMosaFrameList list;
  TMosaFrame& keyed = *list.AddFrame();
  keyed.Picture.SetSize(2, 1, 16);
  SetPixelValue(keyed.Picture, 1, 0, 0x1234);
  keyed.TransparentValue = 0x1234;
  TMosaFrame& plain = *list.AddFrame();
  plain.Picture.SetSize(2, 1, 16);
  list.KeyToAlpha();
  EXPECT_EQ(AlphaOf(keyed.Picture), (std::vector<uint8_t>{255, 0}));
  EXPECT_EQ(AlphaOf(plain.Picture), (std::vector<uint8_t>{255, 255}));
}

// Files written to disk read back by path and through the file manager, which finds the name
// in the title folder; other extensions read nothing.
TEST(LayeredImageFiles, SaveAndLoadByNameAndThroughTheFileManager) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("orva-images-files-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  TMosaFrameList list;
  TDIBSurface& picture = list.AddFrame()->Picture;
  Paint(picture, 5, 4, 24);
  list.SaveToFile((folder / "pict.mos").string(), MosaCompression::Default, 0);

  TMosaFrameList by_path;
  ASSERT_TRUE(by_path.LoadFromFile((folder / "pict.mos").string()));
  EXPECT_EQ(PixelsOf(by_path[0]->Picture), PixelsOf(picture));
  EXPECT_FALSE(by_path.LoadFromFile((folder / "pict.txt").string()));
  EXPECT_EQ(by_path.Count(), 0);

  TVrFileManager files;
  files.SetBaseFolder(folder.string());
  TMosaFrameList managed;
  ASSERT_TRUE(managed.LoadFromFileManager(files, "PICT.MOS"));
  EXPECT_EQ(PixelsOf(managed[0]->Picture), PixelsOf(picture));
  EXPECT_THROW(managed.LoadFromFileManager(files, "missing.mos"), EOrvaError);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace orva
