#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/error.h"
#include "images/mosa_frames.h"
#include "images/picture_pixels.h"
#include "layered_image_support.h"

namespace orva {
namespace {

using testing::AsBytes;
using testing::BuildMosa;
using testing::FileSpec;
using testing::FrameSpec;
using testing::LayerSpec;
using testing::Rows;
using testing::Zlib;

std::string LoadError(const std::string& file, int32_t key = 0) {
  TMosaFrameList list(key);
  try {
    list.LoadFromBytes(AsBytes(file));
  } catch (const EOrvaError& e) {
    EXPECT_EQ(list.Count(), 0);
    return e.what();
  }
  return "(loaded)";
}

FileSpec OneFrame(int32_t width, int32_t height, std::vector<uint8_t> colour, uint8_t kind = 0) {
  FileSpec description;
  description.kind = kind;
  FrameSpec frame;
  frame.width = width;
  frame.height = height;
  LayerSpec layer;
  layer.colour = std::move(colour);
  frame.layers = {layer};
  description.frames = {frame};
  return description;
}

std::vector<uint8_t> Table(std::initializer_list<int32_t> values) {
  std::vector<uint8_t> out;
  for (int32_t v : values)
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
  return out;
}

// Every prefix of files of every kind fails cleanly (or, for a prefix that is itself complete, loads).
TEST(LayeredImageMalformed, EveryTruncationRaisesAnError) {
  TMosaFrameList source(5);
  for (int f = 0; f < 2; ++f) {
    TDIBSurface& picture = source.AddFrame()->Picture;
    picture.SetSize(6, 4, 24);
    for (int32_t y = 0; y < 4; ++y)
      for (int32_t x = 0; x < 6; ++x) SetPixelValue(picture, x, y, static_cast<uint32_t>(x * 40 + y * 9 + f));
    picture.SetAlphaChannel(true);
  }
  std::vector<std::string> files;
  files.push_back(source.SaveToBytes(MosaCompression::Default, 80));  // keyed: scrambled raw rows
  source.Key = 0;
  for (const MosaCompression kind : {MosaCompression::Default, MosaCompression::None, MosaCompression::Nonreversible})
    files.push_back(source.SaveToBytes(kind, 80));
  for (size_t f = 0; f < files.size(); ++f) {
    const std::string& file = files[f];
    for (size_t length = 0; length < file.size(); ++length) {
      TMosaFrameList list(f == 0 ? 5 : 0);
      EXPECT_THROW(list.LoadFromBytes(AsBytes(file.substr(0, length))), EOrvaError) << f << ": " << length;
    }
  }
}

TEST(LayeredImageMalformed, DamagedRecordsGiveTheirErrors) {
  struct Case {
    const char* what;
    std::string file;
    const char* message;
  };
  std::vector<Case> cases;

  FileSpec description = OneFrame(2, 2, Zlib(Rows(2, 2, 24, {1, 2, 3, 4})));
  description.frame_count = 100000;
  cases.push_back({"frame count beyond the data", BuildMosa(description),
                   "damaged layered image: 100000 frames do not fit the data"});

  description = OneFrame(2, 2, {});
  description.frames[0].bits = 12;
  cases.push_back({"unknown bit count", BuildMosa(description), "damaged layered image: unsupported bit count 12"});

  description = OneFrame(20000, 2, {});
  cases.push_back({"picture too wide", BuildMosa(description),
                   "damaged layered image: picture size 20000 x 2 exceeds the limits"});

  description = OneFrame(2, 2, {0x78, 0x9C, 0xFF, 0xFF, 0xFF, 0xFF});
  cases.push_back({"malformed zlib data", BuildMosa(description), "damaged compressed colour data"});

  description = OneFrame(2, 2, Zlib(Rows(2, 1, 24, {1, 2})));
  cases.push_back({"zlib data short of the rows", BuildMosa(description),
                   "damaged layered image: the picture data is shorter than its 2 rows"});

  description = OneFrame(4000, 4000, {0x78, 0x9C, 0x03, 0x00});
  cases.push_back({"rows that no block this small can hold", BuildMosa(description),
                   "damaged layered image: the colour data cannot hold a 4000 x 4000 picture"});

  description = OneFrame(2, 2, {0xFF, 0xD8, 0xFF, 0xE0, 0, 16}, 2);
  cases.push_back({"malformed JPEG data", BuildMosa(description), ""});

  description = OneFrame(2, 2, {}, 3);
  cases.push_back({"unknown compression kind", BuildMosa(description), "damaged layered image: unknown compression kind 3"});

  std::vector<uint8_t> tiles = Table({-1, 0, -2, 1});
  tiles.resize(tiles.size() + 12);
  description = OneFrame(4, 2, tiles, 1);
  description.tile_width = description.tile_height = 2;
  cases.push_back({"tile copying a tile not decoded yet", BuildMosa(description),
                   "damaged layered image: tile 1 copies tile 1, which is not decoded yet"});

  description = OneFrame(2, 2, Table({1, 0}), 1);
  description.tile_width = description.tile_height = 2;
  cases.push_back({"tile from a frame not read yet", BuildMosa(description),
                   "damaged layered image: tile 0 refers to frame 1, layer 0, which is not read yet"});

  description = OneFrame(2, 2, Table({0, 3}), 1);
  description.tile_width = description.tile_height = 2;
  cases.push_back({"tile from a layer not read yet", BuildMosa(description),
                   "damaged layered image: tile 0 refers to frame 0, layer 3, which is not read yet"});

  description = OneFrame(2, 2, Table({-7, 0}), 1);
  description.tile_width = description.tile_height = 2;
  cases.push_back({"unknown tile source", BuildMosa(description), "damaged layered image: tile 0 has the unknown source -7"});

  description = OneFrame(2, 2, Table({-1, 0}), 1);
  description.tile_width = 1;
  description.tile_height = 1;
  cases.push_back({"tile table longer than the data", BuildMosa(description),
                   "damaged layered image: the tile table of 4 entries does not fit the data"});

  description = OneFrame(2, 2, {});
  description.frames[0].regions_count = 1 << 28;
  cases.push_back({"region count beyond the data", BuildMosa(description),
                   "damaged layered image: 268435456 regions do not fit the data"});

  std::string signature = BuildMosa(OneFrame(2, 2, {}));
  signature[5] = 'x';
  cases.push_back({"signature without digits", signature,
                   "damaged layered image: the signature has no version number"});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string message = LoadError(c.file);
    if (*c.message) {
      EXPECT_EQ(message, c.message);
    } else {
      EXPECT_EQ(message.rfind("damaged JPEG data: ", 0), 0u) << message;
    }
  }
}

// Frame, layer and alpha pictures count against the pixel cap before they are allocated.
TEST(LayeredImageMalformed, PixelCapAtTheCapAndOnePast) {
  FileSpec description = OneFrame(4, 2, Zlib(Rows(4, 2, 24, std::vector<uint32_t>(8, 7))));
  description.frames[0].layers[0].alpha = Zlib(std::vector<uint8_t>(8, 200));
  const std::string file = BuildMosa(description);
  TMosaFrameList list;
  list.SetPixelBudget(24);
  list.LoadFromBytes(AsBytes(file));
  EXPECT_EQ(list.Count(), 1);
  list.SetPixelBudget(23);
  try {
    list.LoadFromBytes(AsBytes(file));
    ADD_FAILURE() << "loaded beyond the cap";
  } catch (const EOrvaError& e) {
    EXPECT_STREQ(e.what(), "layered image needs more than 23 pixels");
  }
  EXPECT_EQ(list.Count(), 0);
}

// Inputs kept from fuzzing, each with the error it must give.
TEST(LayeredImageMalformed, FuzzFinds) {
  struct Case {
    const char* file;
    const char* message;
  };
  const Case cases[] = {
      // A frame of width 0 with rows: composing once copied zero bytes from no storage.
      {"layered_image-zero-width-frame.bin", "damaged data: 8 bytes needed at offset 96, only 2 left"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::filesystem::path path = std::filesystem::path(ORVA_TEST_DATA_DIR) / "malformed" / c.file;
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(LoadError(bytes, 12345), c.message);
  }
}

}  // namespace
}  // namespace orva
