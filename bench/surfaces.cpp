// Drawing operations on 32-bit surfaces beside their peers: memcpy (the limit of an opaque copy),
// pixman's fill, SRC, OVER (solid and a8 masks, 0/255-alpha pictures), ADD and nearest scaling.
// Each pair is timed in interleaved repetitions; the medians give the RATIO lines.
//   bench_surfaces [--quick]

#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "render/dibx.h"
#include "render/row_kernels.h"

namespace {

using orva::TDIBX;
using orva::TRect;

struct Options {
  bool quick = false;
  int repetitions = 31;
};

double Seconds(const std::function<void()>& work, int iterations) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < iterations; ++i) work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Times ours and the peer alternately and prints the detail and the RATIO line.
void Compare(const Options& options, const std::string& name, int64_t pixels, double target,
             const std::function<void()>& ours, const std::function<void()>& peer) {
  const int iterations = static_cast<int>(std::max<int64_t>(1, (options.quick ? 2'000'000 : 3'000'000) / pixels));
  ours();
  peer();
  std::vector<double> ours_times, peer_times;
  for (int r = 0; r < options.repetitions; ++r) {
    ours_times.push_back(Seconds(ours, iterations) / iterations);
    peer_times.push_back(Seconds(peer, iterations) / iterations);
  }
  const double a = Median(ours_times), b = Median(peer_times);
  const double ratio = a / b;
  std::printf("%-44s ours %9.1f us (%6.2f Gpx/s)  peer %9.1f us (%6.2f Gpx/s)\n", name.c_str(), a * 1e6,
              static_cast<double>(pixels) / a * 1e-9, b * 1e6, static_cast<double>(pixels) / b * 1e-9);
  const bool ok = ratio <= target;
  std::printf("RATIO surfaces.%s %.2f target <=%.2f %s\n", name.c_str(), ratio, target, ok ? "ok" : "over");
  std::fflush(stdout);
}

// A surface and a pixman image with the same 32-bit contents (each over its own memory).
struct Picture {
  std::unique_ptr<TDIBX> surface;
  std::vector<uint32_t> bits;
  pixman_image_t* image = nullptr;
  int width, height;

  Picture(int w, int h, pixman_format_code_t format) : width(w), height(h) {
    surface = std::make_unique<TDIBX>();
    surface->SetSize(w, h, 32);
    bits.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    image = pixman_image_create_bits(format, w, h, bits.data(), w * 4);
  }
  ~Picture() { pixman_image_unref(image); }
  void Set(int x, int y, uint32_t surface_value, uint32_t pixman_value) {
    surface->SetPixel(x, y, surface_value);
    bits[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = pixman_value;
  }
};

// An 8-bit mask surface and the same bytes as a pixman a8 image.
struct Mask {
  std::unique_ptr<TDIBX> surface;
  std::vector<uint8_t> bits;
  pixman_image_t* image = nullptr;
  int stride;

  Mask(int w, int h) {
    surface = std::make_unique<TDIBX>();
    surface->SetSize(w, h, 8);
    stride = (w + 3) / 4 * 4;
    bits.resize(static_cast<size_t>(stride) * static_cast<size_t>(h));
    image = pixman_image_create_bits(PIXMAN_a8, w, h, reinterpret_cast<uint32_t*>(bits.data()), stride);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        // Thirds of clear, opaque and graded coverage, as around sprites and glyphs.
        const int band = (x / 32 + y / 32) % 3;
        const uint8_t m = band == 0 ? 0 : band == 1 ? 255 : static_cast<uint8_t>((x * 7 + y * 3) & 0xFF);
        surface->SetPixel(x, y, m);
        bits[static_cast<size_t>(y) * static_cast<size_t>(stride) + static_cast<size_t>(x)] = m;
      }
    }
  }
  ~Mask() { pixman_image_unref(image); }
};

void RunSize(const Options& options, int w, int h) {
  const std::string size = std::to_string(w) + "x" + std::to_string(h);
  const int64_t pixels = int64_t{w} * h;
  const TRect all{0, 0, w, h};
  std::mt19937 random(1);
  Picture dst(w, h, PIXMAN_x8r8g8b8);
  Picture src(w, h, PIXMAN_x8r8g8b8);
  Picture sprite(w, h, PIXMAN_a8r8g8b8);
  const uint32_t key = 0xFF00FF;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t v = random() & 0xFFFFFF;
      dst.Set(x, y, v, v);
      const uint32_t s = random() & 0xFFFFFF;
      src.Set(x, y, s, s);
      // Runs of transparent pixels between opaque ones.
      const bool transparent = ((x / 24) + (y / 24)) % 2 == 0;
      sprite.Set(x, y, transparent ? key : s, transparent ? 0 : (s | 0xFF000000));
    }
  }
  sprite.surface->ColorKey = static_cast<int32_t>(key);
  Mask mask(w, h);
  pixman_color_t half{0, 0, 0, 0x8080};
  pixman_image_t* solid = pixman_image_create_solid_fill(&half);

  Compare(options, "copy_" + size + "_vs_memcpy", pixels, 1.10,
          [&] { dst.surface->Draw(0, 0, *src.surface, all, false, false, false); },
          [&] { std::memcpy(dst.bits.data(), src.bits.data(), dst.bits.size() * 4); });
  Compare(options, "copy_" + size + "_vs_pixman_src", pixels, 1.10,
          [&] { dst.surface->Draw(0, 0, *src.surface, all, false, false, false); },
          [&] { pixman_image_composite32(PIXMAN_OP_SRC, src.image, nullptr, dst.image, 0, 0, 0, 0, 0, 0, w, h); });
  Compare(options, "fill_" + size + "_vs_pixman_fill", pixels, 1.10,
          [&] { dst.surface->FillRect(all, 0x336699); },
          [&] { pixman_fill(dst.bits.data(), w, 32, 0, 0, w, h, 0x336699); });
  Compare(options, "blend_" + size + "_vs_pixman_over_solid", pixels, 0.65,
          [&] { dst.surface->DrawAlpha(0, 0, *src.surface, all, false, false, false, 128); },
          [&] { pixman_image_composite32(PIXMAN_OP_OVER, src.image, solid, dst.image, 0, 0, 0, 0, 0, 0, w, h); });
  Compare(options, "mask_" + size + "_vs_pixman_over_a8", pixels, 0.65,
          [&] { dst.surface->DrawMasked(0, 0, *src.surface, all, false, false, *mask.surface); },
          [&] {
            pixman_image_composite32(PIXMAN_OP_OVER, src.image, mask.image, dst.image, 0, 0, 0, 0, 0, 0, w, h);
          });
  Compare(options, "add_" + size + "_vs_pixman_add", pixels, 0.65,
          [&] { dst.surface->DrawAdd(0, 0, *src.surface, all, false, false, false, 255); },
          [&] { pixman_image_composite32(PIXMAN_OP_ADD, src.image, nullptr, dst.image, 0, 0, 0, 0, 0, 0, w, h); });
  Compare(options, "keyed_" + size + "_vs_pixman_over", pixels, 0.65,
          [&] { dst.surface->Draw(0, 0, *sprite.surface, all, true, false, false); },
          [&] {
            pixman_image_composite32(PIXMAN_OP_OVER, sprite.image, nullptr, dst.image, 0, 0, 0, 0, 0, 0, w, h);
          });
  pixman_image_unref(solid);
}

void RunStretch(const Options& options, int sw, int sh, int dw, int dh) {
  const std::string name = "stretch_" + std::to_string(sw) + "x" + std::to_string(sh) + "_to_" + std::to_string(dw) +
                           "x" + std::to_string(dh) + "_vs_pixman_nearest";
  std::mt19937 random(2);
  Picture src(sw, sh, PIXMAN_x8r8g8b8);
  Picture dst(dw, dh, PIXMAN_x8r8g8b8);
  for (int y = 0; y < sh; ++y) {
    for (int x = 0; x < sw; ++x) {
      const uint32_t s = random() & 0xFFFFFF;
      src.Set(x, y, s, s);
    }
  }
  pixman_transform_t transform;
  pixman_transform_init_scale(&transform, pixman_double_to_fixed(static_cast<double>(sw) / dw),
                              pixman_double_to_fixed(static_cast<double>(sh) / dh));
  pixman_image_set_transform(src.image, &transform);
  pixman_image_set_filter(src.image, PIXMAN_FILTER_NEAREST, nullptr, 0);
  Compare(options, name, int64_t{dw} * dh, 0.65,
          [&] { dst.surface->StretchDraw(TRect{0, 0, dw, dh}, *src.surface, TRect{0, 0, sw, sh}, false, false, false, 255); },
          [&] { pixman_image_composite32(PIXMAN_OP_SRC, src.image, nullptr, dst.image, 0, 0, 0, 0, 0, 0, dw, dh); });
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0) {
      options.quick = true;
      options.repetitions = 5;
    }
  }
  std::printf("drawing path: %s\n", orva::CurrentKernels() ? orva::CurrentKernels()->name : "generic");
  if (options.quick) {
    RunSize(options, 200, 150);
    RunStretch(options, 160, 120, 320, 180);
  } else {
    RunSize(options, 800, 600);
    RunSize(options, 1280, 720);
    RunStretch(options, 640, 480, 1280, 720);
  }
  return 0;
}
