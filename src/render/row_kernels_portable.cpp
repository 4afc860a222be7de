// Row kernels written directly from the per-channel formulas, one pixel at a time.

#include <atomic>

#include "render/pixel_formulas.h"
#include "render/row_kernels.h"

namespace orva {

namespace {

constexpr ChannelMasks kMasks32{};

ChannelMasks Masks16(Format16 f) {
  const uint32_t green = uint32_t{f.green_max()} << 5;
  return ChannelMasks{uint32_t{31} << f.red_shift(), green, 31};
}

template <typename Pixel>
bool Keep(Pixel s, Pixel d, int64_t key, bool skip_equal) {
  return (key >= 0 && s == key) || (skip_equal && s == d);
}

void Fill32(uint32_t* d, size_t n, uint32_t v) {
  for (size_t i = 0; i < n; ++i) d[i] = v;
}
void BlendFill32(uint32_t* d, size_t n, uint32_t c, uint32_t a) {
  for (size_t i = 0; i < n; ++i) {
    if (d[i] != c) d[i] = formulas::Blend(d[i], c, a, kMasks32);
  }
}
void AddFill32(uint32_t* d, size_t n, uint32_t c) {
  for (size_t i = 0; i < n; ++i) d[i] = formulas::AddFill(d[i], c, kMasks32);
}
void SubFill32(uint32_t* d, size_t n, uint32_t c) {
  for (size_t i = 0; i < n; ++i) d[i] = formulas::SubFill(d[i], c, kMasks32);
}
void Keyed32(uint32_t* d, const uint32_t* s, size_t n, uint32_t key) {
  for (size_t i = 0; i < n; ++i) {
    if (s[i] != key) d[i] = s[i];
  }
}
void Alpha32(uint32_t* d, const uint32_t* s, size_t n, uint32_t a, int64_t key, bool skip_equal) {
  for (size_t i = 0; i < n; ++i) {
    if (!Keep(s[i], d[i], key, skip_equal)) d[i] = formulas::Blend(d[i], s[i], a, kMasks32);
  }
}
void Add32(uint32_t* d, const uint32_t* s, size_t n, uint32_t a, int64_t key) {
  for (size_t i = 0; i < n; ++i) {
    if (!Keep(s[i], d[i], key, false)) d[i] = formulas::Add(d[i], s[i], a, kMasks32);
  }
}
void Mask32(uint32_t* d, const uint32_t* s, const uint8_t* m, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (m[i] == 255) d[i] = s[i];
    else if (m[i] != 0) d[i] = formulas::Blend(d[i], s[i], m[i], kMasks32);
  }
}
void MaskAlpha32(uint32_t* d, const uint32_t* s, const uint8_t* m, size_t n, uint32_t a) {
  for (size_t i = 0; i < n; ++i) {
    if (m[i] != 0) d[i] = formulas::Blend(d[i], s[i], formulas::MaskTimesAlpha(a, m[i]), kMasks32);
  }
}
void MaskAdd32(uint32_t* d, const uint32_t* s, const uint8_t* m, size_t n, uint32_t a) {
  for (size_t i = 0; i < n; ++i) {
    if (m[i] != 0) d[i] = formulas::Add(d[i], s[i], formulas::MaskTimesAlpha(a, m[i]), kMasks32);
  }
}
void Gather32(uint32_t* d, const uint32_t* s, const int32_t* columns, size_t n, int32_t) {
  for (size_t i = 0; i < n; ++i) d[i] = s[columns[i]];
}

void Fill16(uint16_t* d, size_t n, uint16_t v) {
  for (size_t i = 0; i < n; ++i) d[i] = v;
}
void BlendFill16(uint16_t* d, size_t n, uint16_t c, uint32_t a, Format16 f) {
  const ChannelMasks masks = Masks16(f);
  for (size_t i = 0; i < n; ++i) {
    if (d[i] != c) d[i] = static_cast<uint16_t>(formulas::Blend(d[i], c, a, masks));
  }
}
void AddFill16(uint16_t* d, size_t n, uint16_t c, Format16 f) {
  const ChannelMasks masks = Masks16(f);
  for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint16_t>(formulas::AddFill(d[i], c, masks));
}
void SubFill16(uint16_t* d, size_t n, uint16_t c, Format16 f) {
  const ChannelMasks masks = Masks16(f);
  for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint16_t>(formulas::SubFill(d[i], c, masks));
}
void Keyed16(uint16_t* d, const uint16_t* s, size_t n, uint16_t key) {
  for (size_t i = 0; i < n; ++i) {
    if (s[i] != key) d[i] = s[i];
  }
}
void Alpha16(uint16_t* d, const uint16_t* s, size_t n, uint32_t a, int64_t key, bool skip_equal, Format16 f) {
  const ChannelMasks masks = Masks16(f);
  for (size_t i = 0; i < n; ++i) {
    if (!Keep(s[i], d[i], key, skip_equal)) d[i] = static_cast<uint16_t>(formulas::Blend(d[i], s[i], a, masks));
  }
}
void Add16(uint16_t* d, const uint16_t* s, size_t n, uint32_t a, int64_t key, Format16 f) {
  const ChannelMasks masks = Masks16(f);
  for (size_t i = 0; i < n; ++i) {
    if (!Keep(s[i], d[i], key, false)) d[i] = static_cast<uint16_t>(formulas::Add(d[i], s[i], a, masks));
  }
}
void Mask16(uint16_t* d, const uint16_t* s, const uint8_t* m, size_t n, Format16 f) {
  const ChannelMasks masks = Masks16(f);
  for (size_t i = 0; i < n; ++i) {
    if (m[i] == 255) d[i] = s[i];
    else if (m[i] != 0) d[i] = static_cast<uint16_t>(formulas::Blend(d[i], s[i], m[i], masks));
  }
}
void MaskAlpha16(uint16_t* d, const uint16_t* s, const uint8_t* m, size_t n, uint32_t a, Format16 f) {
  const ChannelMasks masks = Masks16(f);
  for (size_t i = 0; i < n; ++i) {
    if (m[i] != 0) {
      d[i] = static_cast<uint16_t>(formulas::Blend(d[i], s[i], formulas::MaskTimesAlpha(a, m[i]), masks));
    }
  }
}
void MaskAdd16(uint16_t* d, const uint16_t* s, const uint8_t* m, size_t n, uint32_t a, Format16 f) {
  const ChannelMasks masks = Masks16(f);
  for (size_t i = 0; i < n; ++i) {
    if (m[i] != 0) {
      d[i] = static_cast<uint16_t>(formulas::Add(d[i], s[i], formulas::MaskTimesAlpha(a, m[i]), masks));
    }
  }
}

PixelPath ValidPath(PixelPath path) {
  if (path == PixelPath::kAvx2 && !ProcessorHasAvx2()) return PixelPath::kSse2;
  return path;
}

std::atomic<PixelPath>& PathFlag() {
  static std::atomic<PixelPath> path{BestPixelPath()};
  return path;
}

}  // namespace

const RowKernels& PortableKernels() {
  static const RowKernels kernels{"portable", Fill32, BlendFill32, AddFill32, SubFill32, Keyed32, Alpha32,
                                  Add32,      Mask32, MaskAlpha32, MaskAdd32, Gather32, Fill16,    BlendFill16, AddFill16,
                                  SubFill16,  Keyed16, Alpha16,    Add16,     Mask16,    MaskAlpha16, MaskAdd16};
  return kernels;
}

bool ProcessorHasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

PixelPath BestPixelPath() { return ProcessorHasAvx2() ? PixelPath::kAvx2 : PixelPath::kSse2; }

PixelPath CurrentPixelPath() { return PathFlag().load(std::memory_order_relaxed); }

void SetPixelPath(PixelPath path) { PathFlag().store(ValidPath(path), std::memory_order_relaxed); }

const RowKernels* CurrentKernels() {
  switch (CurrentPixelPath()) {
    case PixelPath::kGeneric: return nullptr;
    case PixelPath::kPortable: return &PortableKernels();
    case PixelPath::kSse2: return &Sse2Kernels();
    case PixelPath::kAvx2: return &Avx2Kernels();
  }
  return nullptr;
}

}  // namespace orva
