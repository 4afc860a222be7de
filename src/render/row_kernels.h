#pragma once
// Row kernels: one row of a fill or copy family on 32-bit or 16-bit (5-5-5 / 5-6-5) pixels. Each
// set (portable, SSE2, AVX2) gives exactly the per-channel formulas' results; the drawing
// operations choose a set once, from what the processor supports.

#include <cstddef>
#include <cstdint>

namespace orva {

// The layout of a 16-bit pixel: 5-6-5 (green 6 bits) or 5-5-5 (top bit unused).
struct Format16 {
  int green_bits = 6;
  int red_shift() const { return 5 + green_bits; }
  uint16_t green_max() const { return static_cast<uint16_t>((1 << green_bits) - 1); }
};

// A source key of -1 means none.
struct RowKernels {
  const char* name;
  void (*fill32)(uint32_t* d, size_t n, uint32_t value);
  void (*blend_fill32)(uint32_t* d, size_t n, uint32_t colour, uint32_t alpha);
  void (*add_fill32)(uint32_t* d, size_t n, uint32_t colour);
  void (*sub_fill32)(uint32_t* d, size_t n, uint32_t colour);
  void (*keyed32)(uint32_t* d, const uint32_t* s, size_t n, uint32_t key);
  // skip_equal: leave a pixel alone where source and destination are equal.
  void (*alpha32)(uint32_t* d, const uint32_t* s, size_t n, uint32_t alpha, int64_t key, bool skip_equal);
  void (*add32)(uint32_t* d, const uint32_t* s, size_t n, uint32_t alpha, int64_t key);
  void (*mask32)(uint32_t* d, const uint32_t* s, const uint8_t* m, size_t n);
  void (*mask_alpha32)(uint32_t* d, const uint32_t* s, const uint8_t* m, size_t n, uint32_t alpha);
  void (*mask_add32)(uint32_t* d, const uint32_t* s, const uint8_t* m, size_t n, uint32_t alpha);
  // d[i] = s[columns[i]]: one row of a scaled copy; every column lies below source_width.
  void (*gather32)(uint32_t* d, const uint32_t* s, const int32_t* columns, size_t n, int32_t source_width);

  void (*fill16)(uint16_t* d, size_t n, uint16_t value);
  void (*blend_fill16)(uint16_t* d, size_t n, uint16_t colour, uint32_t alpha, Format16 f);
  void (*add_fill16)(uint16_t* d, size_t n, uint16_t colour, Format16 f);
  void (*sub_fill16)(uint16_t* d, size_t n, uint16_t colour, Format16 f);
  void (*keyed16)(uint16_t* d, const uint16_t* s, size_t n, uint16_t key);
  void (*alpha16)(uint16_t* d, const uint16_t* s, size_t n, uint32_t alpha, int64_t key, bool skip_equal, Format16 f);
  void (*add16)(uint16_t* d, const uint16_t* s, size_t n, uint32_t alpha, int64_t key, Format16 f);
  void (*mask16)(uint16_t* d, const uint16_t* s, const uint8_t* m, size_t n, Format16 f);
  void (*mask_alpha16)(uint16_t* d, const uint16_t* s, const uint8_t* m, size_t n, uint32_t alpha, Format16 f);
  void (*mask_add16)(uint16_t* d, const uint16_t* s, const uint8_t* m, size_t n, uint32_t alpha, Format16 f);
};

// Which path the drawing operations take: per pixel through GetPixel/SetPixel (the reference), or
// row kernels on the surfaces' memory.
enum class PixelPath { kGeneric, kPortable, kSse2, kAvx2 };

const RowKernels& PortableKernels();
const RowKernels& Sse2Kernels();
const RowKernels& Avx2Kernels();

bool ProcessorHasAvx2();
// Chosen once at start-up: AVX2 when the processor has it, else SSE2 (x86-64 baseline).
PixelPath BestPixelPath();
PixelPath CurrentPixelPath();
// For tests and benchmarks; an AVX2 request on a processor without it selects SSE2.
void SetPixelPath(PixelPath path);
// The kernels of the current path, or nullptr on the generic path.
const RowKernels* CurrentKernels();

}  // namespace orva
