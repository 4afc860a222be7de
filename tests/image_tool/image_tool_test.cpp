#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "images/mosa_frames.h"
#include "images/picture_pixels.h"

namespace {

namespace fs = std::filesystem;

const std::string kTool = ORVA_BINARY_DIR "/tools/orva-image/orva-image";

struct Result {
  int status;
  std::string out;
  std::string err;
};

class ImageTool : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("orva-image-test-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  Result Run(const std::string& arguments) const {
    const std::string err_path = Path("stderr.txt");
    const std::string command = kTool + " " + arguments + " 2>" + err_path;
    Result result{};
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int raw = ::pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.err = ReadFile(err_path);
    return result;
  }

  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  // Writes a PNG in the given simplified format; colormap formats take a colormap of RGB(A) entries.
  void WritePng(const std::string& name, png_uint_32 format, int width, int height, const std::vector<uint8_t>& pixels,
                const std::vector<uint8_t>& colormap = {}) const {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = format;
    const int channels = (format & PNG_FORMAT_FLAG_ALPHA) ? 4 : 3;
    image.colormap_entries = static_cast<png_uint_32>(colormap.size() / static_cast<size_t>(channels));
    ASSERT_TRUE(png_image_write_to_file(&image, Path(name).c_str(), 0, pixels.data(), 0,
                                        colormap.empty() ? nullptr : colormap.data()))
        << image.message;
  }

  // The RGBA pixels of a PNG.
  std::vector<uint8_t> ReadRgba(const std::string& name) const {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_file(&image, Path(name).c_str()));
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    return pixels;
  }

  fs::path folder_;
};

std::vector<uint8_t> Gradient(int width, int height, int channels) {
  std::vector<uint8_t> out;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < channels; ++c) out.push_back(static_cast<uint8_t>(x * 37 + y * 11 + c * 70));
  return out;
}

std::vector<uint8_t> WithOpaqueAlpha(const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < rgb.size(); i += 3) out.insert(out.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
  return out;
}

// encode then decode gives back the pixels of RGB, RGBA, palette and grey PNGs, with every
// compression that is lossless and with a key.
TEST_F(ImageTool, EncodeDecodeRoundTrips) {
  const std::vector<uint8_t> rgb = Gradient(7, 5, 3);
  const std::vector<uint8_t> rgba = Gradient(7, 5, 4);
  const std::vector<uint8_t> colormap = {0, 0, 0, 255, 0, 0, 0, 255, 0, 10, 20, 30};
  std::vector<uint8_t> indices;
  for (int i = 0; i < 35; ++i) indices.push_back(static_cast<uint8_t>(i % 4));
  std::vector<uint8_t> palette_rgba;
  for (uint8_t i : indices) palette_rgba.insert(palette_rgba.end(), {colormap[i * 3u], colormap[i * 3u + 1], colormap[i * 3u + 2], 255});
  const std::vector<uint8_t> grey = Gradient(7, 5, 1);
  std::vector<uint8_t> grey_rgba;
  for (uint8_t g : grey) grey_rgba.insert(grey_rgba.end(), {g, g, g, 255});

  WritePng("rgb.png", PNG_FORMAT_RGB, 7, 5, rgb);
  WritePng("rgba.png", PNG_FORMAT_RGBA, 7, 5, rgba);
  WritePng("palette.png", PNG_FORMAT_RGB_COLORMAP, 7, 5, indices, colormap);
  WritePng("grey.png", PNG_FORMAT_GRAY, 7, 5, grey);

  struct Case {
    const char* png;
    std::vector<uint8_t> expected;
    int bits;
    bool alpha;
  };
  const Case cases[] = {{"rgb.png", WithOpaqueAlpha(rgb), 24, false},
                        {"rgba.png", rgba, 24, true},
                        {"palette.png", palette_rgba, 8, false},
                        {"grey.png", grey_rgba, 24, false}};
  for (const Case& c : cases) {
    for (const std::string options : {"", "--compression 1", "--key 0xDEADBEEF", "--key -5 --compression 0"}) {
      SCOPED_TRACE(std::string(c.png) + " " + options);
      const std::string key = options.find("0xDEADBEEF") != std::string::npos ? "--key 0xDEADBEEF"
                              : options.find("-5") != std::string::npos     ? "--key -5"
                                                                             : "";
      Result encoded = Run("encode " + options + " " + Path(c.png) + " " + Path("out.mos"));
      ASSERT_EQ(encoded.status, 0) << encoded.err;
      Result info = Run("info " + key + " " + Path("out.mos"));
      ASSERT_EQ(info.status, 0) << info.err;
      EXPECT_NE(info.out.find("\"bits\": " + std::to_string(c.bits)), std::string::npos) << info.out;
      EXPECT_NE(info.out.find(c.alpha ? "\"alpha\": true" : "\"alpha\": false"), std::string::npos) << info.out;
      Result decoded = Run("decode " + key + " " + Path("out.mos") + " " + Path("back.png"));
      ASSERT_EQ(decoded.status, 0) << decoded.err;
      EXPECT_EQ(ReadRgba("back.png"), c.expected);
    }
  }
}

// 15- and 16-bit channels widen by a plain shift; palette pictures go through their palette; a
// frame other than the first is chosen with --frame.
TEST_F(ImageTool, DecodeWidensEveryPixelFormat) {
  orva::TMosaFrameList list;
  const int32_t formats[] = {15, 16, 8};
  for (const int32_t bits : formats) {
    orva::TDIBSurface& picture = list.AddFrame()->Picture;
    picture.SetSize(1, 1, bits);
    if (bits == 8) picture.Palette()[3] = 0x00102030;
    orva::SetPixelValue(picture, 0, 0, bits == 15 ? 0x7FFF : bits == 16 ? 0xF81F : 3);
  }
  list.SaveToFile(Path("formats.mos"), orva::MosaCompression::None, 0);
  const std::vector<uint8_t> expected[] = {{0xF8, 0xF8, 0xF8, 255}, {0xF8, 0, 0xF8, 255}, {0x10, 0x20, 0x30, 255}};
  for (int frame = 0; frame < 3; ++frame) {
    SCOPED_TRACE(frame);
    const Result result = Run("decode --frame " + std::to_string(frame) + " " + Path("formats.mos") + " " + Path("f.png"));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadRgba("f.png"), expected[frame]);
  }
}

TEST_F(ImageTool, InfoDescribesEveryFrame) {
  WritePng("rgba.png", PNG_FORMAT_RGBA, 3, 2, Gradient(3, 2, 4));
  ASSERT_EQ(Run("encode --compression 2 --quality 90 " + Path("rgba.png") + " " + Path("a.mos")).status, 0);
  const Result info = Run("info " + Path("a.mos"));
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.out,
            "{\"version\": 106, \"back_color\": 0, \"frames\": [{\"name\": \"Frame1\", \"width\": 3, \"height\": 2, "
            "\"bits\": 24, \"delay\": 100, \"transparent_value\": -1, \"transparent_color\": -1, \"alpha\": true, "
            "\"regions\": [], \"regions2\": []}]}\n");
}

TEST_F(ImageTool, ErrorsAndUsage) {
  WritePng("rgb.png", PNG_FORMAT_RGB, 2, 2, Gradient(2, 2, 3));
  ASSERT_EQ(Run("encode " + Path("rgb.png") + " " + Path("a.mos")).status, 0);
  std::string damaged = ReadFile(Path("a.mos"));
  damaged.resize(damaged.size() - 3);
  std::ofstream(Path("damaged.mos"), std::ios::binary) << damaged;

  struct Case {
    std::string arguments;
    int status;
  };
  const Case cases[] = {
      {"", 2},
      {"frobnicate x", 2},
      {"info", 2},
      {"info --frame 1 " + Path("a.mos"), 2},
      {"decode --frame -1 " + Path("a.mos") + " " + Path("b.png"), 2},
      {"encode --compression 3 " + Path("rgb.png") + " " + Path("b.mos"), 2},
      {"encode --quality 101 " + Path("rgb.png") + " " + Path("b.mos"), 2},
      {"info --key abc " + Path("a.mos"), 2},
      {"info " + Path("missing.mos"), 1},
      {"info " + Path("damaged.mos"), 1},
      {"decode --frame 1 " + Path("a.mos") + " " + Path("b.png"), 1},
      {"decode " + Path("damaged.mos") + " " + Path("b.png"), 1},
      {"encode " + Path("damaged.mos") + " " + Path("b.mos"), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const Result result = Run(c.arguments);
    EXPECT_EQ(result.status, c.status);
    EXPECT_TRUE(result.out.empty());
    // One line on stderr, naming the program.
    EXPECT_EQ(result.err.rfind("orva-image: ", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  }
  // Failed runs leave no output file behind.
  EXPECT_FALSE(fs::exists(Path("b.png")));
  EXPECT_FALSE(fs::exists(Path("b.mos")));

  for (const char* flag : {"--help", "--version"}) {
    const Result result = Run(flag);
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("orva-image"), std::string::npos);
  }
}

}  // namespace
