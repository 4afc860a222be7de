#pragma once
// The vectorised row kernels, written once over a small set of vector operations and instantiated
// for SSE2 (16-byte vectors) and AVX2 (32-byte vectors) in their own translation units. Everything
// here has internal linkage so that code compiled for AVX2 can never be shared with the SSE2 unit.
//
// The kernels work on unpacked channels in 16-bit lanes. For 32-bit pixels each channel's result
// ((a·s + (255 − a)·d) >> 8) equals the in-place formula with the 0xFF << k masks, and the products
// stay below 65536; 16-bit pixels are split into their 5/6-bit channels the same way. Remainders
// shorter than a vector go through one vector step on a padded copy, so there is no second, scalar
// version of any formula to keep in step.

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "render/row_kernels.h"

namespace orva {
namespace {

#if defined(ORVA_SIMD_AVX2)
struct Vec {
  using T = __m256i;
  static constexpr size_t kBytes = 32;
  static T Load(const void* p) { return _mm256_loadu_si256(static_cast<const T*>(p)); }
  static void Store(void* p, T v) { _mm256_storeu_si256(static_cast<T*>(p), v); }
  static void StoreAligned(void* p, T v) { _mm256_store_si256(static_cast<T*>(p), v); }
  static T Zero() { return _mm256_setzero_si256(); }
  static T Set32(uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
  static T Set16(uint16_t v) { return _mm256_set1_epi16(static_cast<short>(v)); }
  static T And(T a, T b) { return _mm256_and_si256(a, b); }
  static T Or(T a, T b) { return _mm256_or_si256(a, b); }
  static T AndNot(T a, T b) { return _mm256_andnot_si256(a, b); }
  static T Eq32(T a, T b) { return _mm256_cmpeq_epi32(a, b); }
  static T Eq16(T a, T b) { return _mm256_cmpeq_epi16(a, b); }
  static T Lo8(T a) { return _mm256_unpacklo_epi8(a, Zero()); }
  static T Hi8(T a) { return _mm256_unpackhi_epi8(a, Zero()); }
  static T Pack16(T lo, T hi) { return _mm256_packus_epi16(lo, hi); }
  static T Mul16(T a, T b) { return _mm256_mullo_epi16(a, b); }
  static T Add16(T a, T b) { return _mm256_add_epi16(a, b); }
  static T Sub16(T a, T b) { return _mm256_sub_epi16(a, b); }
  static T Shr16By8(T a) { return _mm256_srli_epi16(a, 8); }
  static T Shr16(T a, int n) { return _mm256_srl_epi16(a, _mm_cvtsi32_si128(n)); }
  static T Shl16(T a, int n) { return _mm256_sll_epi16(a, _mm_cvtsi32_si128(n)); }
  static T Min16(T a, T b) { return _mm256_min_epi16(a, b); }
  static T AddSat8(T a, T b) { return _mm256_adds_epu8(a, b); }
  static T SubSat8(T a, T b) { return _mm256_subs_epu8(a, b); }
  static T SubSat16(T a, T b) { return _mm256_subs_epu16(a, b); }
  // One mask byte per 32-bit pixel, replicated into all four bytes.
  static T Mask32(const uint8_t* m) {
    T x = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(m)));
    x = _mm256_or_si256(x, _mm256_slli_epi32(x, 8));
    return _mm256_or_si256(x, _mm256_slli_epi32(x, 16));
  }
  // One mask byte per 16-bit pixel, widened to its lane.
  static T Mask16(const uint8_t* m) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(m)));
  }
  static bool All(T m) { return _mm256_movemask_epi8(m) == -1; }
  static bool None(T m) { return _mm256_testz_si256(m, m) != 0; }
  // Writes the 32-bit lanes of v where keep is clear; the others are not touched (nor read).
  static void Store32Unless(void* p, T keep, T v) {
    _mm256_maskstore_epi32(static_cast<int*>(p), _mm256_xor_si256(keep, _mm256_set1_epi32(-1)), v);
  }
  static void Finish() { _mm256_zeroupper(); }
};
#else
struct Vec {
  using T = __m128i;
  static constexpr size_t kBytes = 16;
  static T Load(const void* p) { return _mm_loadu_si128(static_cast<const T*>(p)); }
  static void Store(void* p, T v) { _mm_storeu_si128(static_cast<T*>(p), v); }
  static void StoreAligned(void* p, T v) { _mm_store_si128(static_cast<T*>(p), v); }
  static T Zero() { return _mm_setzero_si128(); }
  static T Set32(uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
  static T Set16(uint16_t v) { return _mm_set1_epi16(static_cast<short>(v)); }
  static T And(T a, T b) { return _mm_and_si128(a, b); }
  static T Or(T a, T b) { return _mm_or_si128(a, b); }
  static T AndNot(T a, T b) { return _mm_andnot_si128(a, b); }
  static T Eq32(T a, T b) { return _mm_cmpeq_epi32(a, b); }
  static T Eq16(T a, T b) { return _mm_cmpeq_epi16(a, b); }
  static T Lo8(T a) { return _mm_unpacklo_epi8(a, Zero()); }
  static T Hi8(T a) { return _mm_unpackhi_epi8(a, Zero()); }
  static T Pack16(T lo, T hi) { return _mm_packus_epi16(lo, hi); }
  static T Mul16(T a, T b) { return _mm_mullo_epi16(a, b); }
  static T Add16(T a, T b) { return _mm_add_epi16(a, b); }
  static T Sub16(T a, T b) { return _mm_sub_epi16(a, b); }
  static T Shr16By8(T a) { return _mm_srli_epi16(a, 8); }
  static T Shr16(T a, int n) { return _mm_srl_epi16(a, _mm_cvtsi32_si128(n)); }
  static T Shl16(T a, int n) { return _mm_sll_epi16(a, _mm_cvtsi32_si128(n)); }
  static T Min16(T a, T b) { return _mm_min_epi16(a, b); }
  static T AddSat8(T a, T b) { return _mm_adds_epu8(a, b); }
  static T SubSat8(T a, T b) { return _mm_subs_epu8(a, b); }
  static T SubSat16(T a, T b) { return _mm_subs_epu16(a, b); }
  static T Mask32(const uint8_t* m) {
    int32_t bytes;
    __builtin_memcpy(&bytes, m, 4);
    T x = _mm_cvtsi32_si128(bytes);
    x = _mm_unpacklo_epi8(x, x);
    return _mm_unpacklo_epi16(x, x);
  }
  static T Mask16(const uint8_t* m) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(m)), Zero());
  }
  static bool All(T m) { return _mm_movemask_epi8(m) == 0xFFFF; }
  static bool None(T m) { return _mm_movemask_epi8(m) == 0; }
  static void Store32Unless(void* p, T keep, T v) {
    Store(p, Or(And(keep, Load(p)), AndNot(keep, v)));
  }
  static void Finish() {}
};
#endif

using V = Vec::T;
constexpr size_t kLanes32 = Vec::kBytes / 4;
constexpr size_t kLanes16 = Vec::kBytes / 2;

V Select(V keep, V a, V b) { return Vec::Or(Vec::And(keep, a), Vec::AndNot(keep, b)); }

// Runs body(d, s, m) over whole vectors, then once over a zero-padded copy of the remainder.
template <typename Pixel, typename Body>
void ForEachVector(Pixel* d, const Pixel* s, const uint8_t* m, size_t n, Body body) {
  constexpr size_t lanes = Vec::kBytes / sizeof(Pixel);
  size_t i = 0;
  for (; i + lanes <= n; i += lanes) body(d + i, s ? s + i : nullptr, m ? m + i : nullptr);
  if (i < n) {
    const size_t rest = n - i;
    alignas(32) Pixel dt[lanes] = {};
    alignas(32) Pixel st[lanes] = {};
    // Mask loads may read up to 16 bytes.
    alignas(32) uint8_t mt[lanes < 16 ? 16 : lanes] = {};
    __builtin_memcpy(dt, d + i, rest * sizeof(Pixel));
    if (s) __builtin_memcpy(st, s + i, rest * sizeof(Pixel));
    if (m) __builtin_memcpy(mt, m + i, rest);
    body(dt, s ? st : nullptr, m ? mt : nullptr);
    __builtin_memcpy(d + i, dt, rest * sizeof(Pixel));
  }
  Vec::Finish();
}

// ---- 32-bit pixels: channels are the bytes B, G, R; the fourth byte becomes 0 in every result.

const uint32_t kRgb32 = 0x00FFFFFF;

// Per channel (x·wx + y·wy) >> 8 for two vectors of pixels, weights in 16-bit lanes per half.
V Mix32(V x, V y, V wx_lo, V wx_hi, V wy_lo, V wy_hi) {
  const V lo = Vec::Shr16By8(Vec::Add16(Vec::Mul16(Vec::Lo8(x), wx_lo), Vec::Mul16(Vec::Lo8(y), wy_lo)));
  const V hi = Vec::Shr16By8(Vec::Add16(Vec::Mul16(Vec::Hi8(x), wx_hi), Vec::Mul16(Vec::Hi8(y), wy_hi)));
  return Vec::And(Vec::Pack16(lo, hi), Vec::Set32(kRgb32));
}

// Per channel (x·w) >> 8.
V Scale32(V x, V w_lo, V w_hi) {
  const V lo = Vec::Shr16By8(Vec::Mul16(Vec::Lo8(x), w_lo));
  const V hi = Vec::Shr16By8(Vec::Mul16(Vec::Hi8(x), w_hi));
  return Vec::Pack16(lo, hi);
}

// Fills run at store bandwidth: single pixels up to vector alignment, then four aligned vectors a turn.
template <typename Pixel>
void FillAligned(Pixel* d, size_t n, Pixel value, V v) {
  size_t i = 0;
  while (i < n && (reinterpret_cast<uintptr_t>(d + i) % Vec::kBytes) != 0) d[i++] = value;
  constexpr size_t lanes = Vec::kBytes / sizeof(Pixel);
  for (; i + 4 * lanes <= n; i += 4 * lanes) {
    Vec::StoreAligned(d + i, v);
    Vec::StoreAligned(d + i + lanes, v);
    Vec::StoreAligned(d + i + 2 * lanes, v);
    Vec::StoreAligned(d + i + 3 * lanes, v);
  }
  for (; i + lanes <= n; i += lanes) Vec::StoreAligned(d + i, v);
  for (; i < n; ++i) d[i] = value;
  Vec::Finish();
}

void Fill32(uint32_t* d, size_t n, uint32_t value) { FillAligned<uint32_t>(d, n, value, Vec::Set32(value)); }

void BlendFill32(uint32_t* d, size_t n, uint32_t colour, uint32_t alpha) {
  const V c = Vec::Set32(colour);
  const V a = Vec::Set16(static_cast<uint16_t>(alpha));
  const V ia = Vec::Set16(static_cast<uint16_t>(255 - alpha));
  ForEachVector<uint32_t>(d, nullptr, nullptr, n, [&](uint32_t* dp, const uint32_t*, const uint8_t*) {
    const V vd = Vec::Load(dp);
    Vec::Store(dp, Select(Vec::Eq32(vd, c), vd, Mix32(c, vd, a, a, ia, ia)));
  });
}

void AddFill32(uint32_t* d, size_t n, uint32_t colour) {
  const V c = Vec::Set32(colour);
  ForEachVector<uint32_t>(d, nullptr, nullptr, n, [&](uint32_t* dp, const uint32_t*, const uint8_t*) {
    Vec::Store(dp, Vec::And(Vec::AddSat8(Vec::Load(dp), c), Vec::Set32(kRgb32)));
  });
}

void SubFill32(uint32_t* d, size_t n, uint32_t colour) {
  const V c = Vec::Set32(colour);
  ForEachVector<uint32_t>(d, nullptr, nullptr, n, [&](uint32_t* dp, const uint32_t*, const uint8_t*) {
    Vec::Store(dp, Vec::And(Vec::SubSat8(Vec::Load(dp), c), Vec::Set32(kRgb32)));
  });
}

void Keyed32(uint32_t* d, const uint32_t* s, size_t n, uint32_t key) {
  const V k = Vec::Set32(key);
  // A cache line of key pixels is skipped without touching the destination; other lines are
  // merged without a branch per vector, since key and colour runs alternate often.
  constexpr size_t kVectors = 64 / Vec::kBytes;
  size_t i = 0;
  for (; i + kVectors * kLanes32 <= n; i += kVectors * kLanes32) {
    V source[kVectors], keep[kVectors];
    V all = Vec::Set32(0xFFFFFFFF);
    for (size_t v = 0; v < kVectors; ++v) {
      source[v] = Vec::Load(s + i + v * kLanes32);
      keep[v] = Vec::Eq32(source[v], k);
      all = Vec::And(all, keep[v]);
    }
    if (Vec::All(all)) continue;
    for (size_t v = 0; v < kVectors; ++v) Vec::Store32Unless(d + i + v * kLanes32, keep[v], source[v]);
  }
  ForEachVector<uint32_t>(d + i, s + i, nullptr, n - i, [&](uint32_t* dp, const uint32_t* sp, const uint8_t*) {
    const V vs = Vec::Load(sp);
    Vec::Store(dp, Select(Vec::Eq32(vs, k), Vec::Load(dp), vs));
  });
}

void Alpha32(uint32_t* d, const uint32_t* s, size_t n, uint32_t alpha, int64_t key, bool skip_equal) {
  const V a = Vec::Set16(static_cast<uint16_t>(alpha));
  const V ia = Vec::Set16(static_cast<uint16_t>(255 - alpha));
  const V k = Vec::Set32(static_cast<uint32_t>(key));
  const V use_key = key >= 0 ? Vec::Set32(0xFFFFFFFF) : Vec::Zero();
  const V use_equal = skip_equal ? Vec::Set32(0xFFFFFFFF) : Vec::Zero();
  ForEachVector<uint32_t>(d, s, nullptr, n, [&](uint32_t* dp, const uint32_t* sp, const uint8_t*) {
    const V vs = Vec::Load(sp);
    const V vd = Vec::Load(dp);
    const V keep = Vec::Or(Vec::And(use_key, Vec::Eq32(vs, k)), Vec::And(use_equal, Vec::Eq32(vs, vd)));
    Vec::Store(dp, Select(keep, vd, Mix32(vs, vd, a, a, ia, ia)));
  });
}

void Add32(uint32_t* d, const uint32_t* s, size_t n, uint32_t alpha, int64_t key) {
  const V a = Vec::Set16(static_cast<uint16_t>(alpha));
  const V k = Vec::Set32(static_cast<uint32_t>(key));
  const V use_key = key >= 0 ? Vec::Set32(0xFFFFFFFF) : Vec::Zero();
  ForEachVector<uint32_t>(d, s, nullptr, n, [&](uint32_t* dp, const uint32_t* sp, const uint8_t*) {
    const V vs = Vec::Load(sp);
    const V vd = Vec::Load(dp);
    const V sum = Vec::And(Vec::AddSat8(vd, Scale32(vs, a, a)), Vec::Set32(kRgb32));
    Vec::Store(dp, Select(Vec::And(use_key, Vec::Eq32(vs, k)), vd, sum));
  });
}

void Mask32(uint32_t* d, const uint32_t* s, const uint8_t* m, size_t n) {
  const V full = Vec::Set16(255);
  ForEachVector<uint32_t>(d, s, m, n, [&](uint32_t* dp, const uint32_t* sp, const uint8_t* mp) {
    const V vm = Vec::Mask32(mp);
    const V clear = Vec::Eq32(vm, Vec::Zero());
    if (Vec::All(clear)) return;
    const V vs = Vec::Load(sp);
    const V opaque = Vec::Eq32(vm, Vec::Set32(0xFFFFFFFF));
    if (Vec::All(opaque)) return Vec::Store(dp, vs);
    const V vd = Vec::Load(dp);
    const V m_lo = Vec::Lo8(vm);
    const V m_hi = Vec::Hi8(vm);
    const V mixed = Mix32(vs, vd, m_lo, m_hi, Vec::Sub16(full, m_lo), Vec::Sub16(full, m_hi));
    Vec::Store(dp, Select(opaque, vs, Select(clear, vd, mixed)));
  });
}

void MaskAlpha32(uint32_t* d, const uint32_t* s, const uint8_t* m, size_t n, uint32_t alpha) {
  const V full = Vec::Set16(255);
  const V a = Vec::Set16(static_cast<uint16_t>(alpha));
  ForEachVector<uint32_t>(d, s, m, n, [&](uint32_t* dp, const uint32_t* sp, const uint8_t* mp) {
    const V vm = Vec::Mask32(mp);
    if (Vec::All(Vec::Eq32(vm, Vec::Zero()))) return;
    const V vs = Vec::Load(sp);
    const V vd = Vec::Load(dp);
    const V b_lo = Vec::Shr16By8(Vec::Mul16(Vec::Lo8(vm), a));
    const V b_hi = Vec::Shr16By8(Vec::Mul16(Vec::Hi8(vm), a));
    const V mixed = Mix32(vs, vd, b_lo, b_hi, Vec::Sub16(full, b_lo), Vec::Sub16(full, b_hi));
    Vec::Store(dp, Select(Vec::Eq32(vm, Vec::Zero()), vd, mixed));
  });
}

void MaskAdd32(uint32_t* d, const uint32_t* s, const uint8_t* m, size_t n, uint32_t alpha) {
  const V a = Vec::Set16(static_cast<uint16_t>(alpha));
  ForEachVector<uint32_t>(d, s, m, n, [&](uint32_t* dp, const uint32_t* sp, const uint8_t* mp) {
    const V vm = Vec::Mask32(mp);
    if (Vec::All(Vec::Eq32(vm, Vec::Zero()))) return;
    const V vs = Vec::Load(sp);
    const V vd = Vec::Load(dp);
    const V b_lo = Vec::Shr16By8(Vec::Mul16(Vec::Lo8(vm), a));
    const V b_hi = Vec::Shr16By8(Vec::Mul16(Vec::Hi8(vm), a));
    const V sum = Vec::And(Vec::AddSat8(vd, Scale32(vs, b_lo, b_hi)), Vec::Set32(kRgb32));
    Vec::Store(dp, Select(Vec::Eq32(vm, Vec::Zero()), vd, sum));
  });
}

#if defined(ORVA_SIMD_AVX2)
// Eight destination pixels usually come from eight neighbouring source pixels (enlarging, or
// shrinking a little): one load and a permutation then replace the gather.
void Gather32(uint32_t* d, const uint32_t* s, const int32_t* columns, size_t n, int32_t source_width) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i index = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + i));
    const int32_t first = columns[i];
    const int32_t last = columns[i + 7];
    const int32_t base = first < last ? first : last;
    const int32_t top = first < last ? last : first;
    __m256i pixels;
    if (top - base <= 7 && base + 8 <= source_width) {
      const __m256i window = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + base));
      pixels = _mm256_permutevar8x32_epi32(window, _mm256_sub_epi32(index, _mm256_set1_epi32(base)));
    } else {
      pixels = _mm256_i32gather_epi32(reinterpret_cast<const int*>(s), index, 4);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), pixels);
  }
  for (; i < n; ++i) d[i] = s[columns[i]];
  _mm256_zeroupper();
}
#else
void Gather32(uint32_t* d, const uint32_t* s, const int32_t* columns, size_t n, int32_t) {
  for (size_t i = 0; i < n; ++i) d[i] = s[columns[i]];
}
#endif

// ---- 16-bit pixels: red above green above blue, 5-6-5 or 5-5-5; the unused top bit of 5-5-5
// becomes 0 in every result.

struct Channels16 {
  V r, g, b;
};

Channels16 Split16(V v, Format16 f) {
  const V five = Vec::Set16(31);
  return {Vec::And(Vec::Shr16(v, f.red_shift()), five), Vec::And(Vec::Shr16(v, 5), Vec::Set16(f.green_max())),
          Vec::And(v, five)};
}

V Join16(const Channels16& c, Format16 f) {
  return Vec::Or(Vec::Or(Vec::Shl16(c.r, f.red_shift()), Vec::Shl16(c.g, 5)), c.b);
}

// Per channel (x·wx + y·wy) >> 8.
V Mix16(V x, V y, V wx, V wy, Format16 f) {
  const Channels16 cx = Split16(x, f);
  const Channels16 cy = Split16(y, f);
  auto mix = [&](V a, V b) { return Vec::Shr16By8(Vec::Add16(Vec::Mul16(a, wx), Vec::Mul16(b, wy))); };
  return Join16({mix(cx.r, cy.r), mix(cx.g, cy.g), mix(cx.b, cy.b)}, f);
}

// Per channel min(max, d + ((s·w) >> 8)).
V AddScaled16(V d, V s, V w, Format16 f) {
  const Channels16 cd = Split16(d, f);
  const Channels16 cs = Split16(s, f);
  const V five = Vec::Set16(31);
  auto add = [&](V a, V b, V top) { return Vec::Min16(top, Vec::Add16(a, Vec::Shr16By8(Vec::Mul16(b, w)))); };
  return Join16({add(cd.r, cs.r, five), add(cd.g, cs.g, Vec::Set16(f.green_max())), add(cd.b, cs.b, five)}, f);
}

void Fill16(uint16_t* d, size_t n, uint16_t value) { FillAligned<uint16_t>(d, n, value, Vec::Set16(value)); }

void BlendFill16(uint16_t* d, size_t n, uint16_t colour, uint32_t alpha, Format16 f) {
  const V c = Vec::Set16(colour);
  const V a = Vec::Set16(static_cast<uint16_t>(alpha));
  const V ia = Vec::Set16(static_cast<uint16_t>(255 - alpha));
  ForEachVector<uint16_t>(d, nullptr, nullptr, n, [&](uint16_t* dp, const uint16_t*, const uint8_t*) {
    const V vd = Vec::Load(dp);
    Vec::Store(dp, Select(Vec::Eq16(vd, c), vd, Mix16(c, vd, a, ia, f)));
  });
}

void AddFill16(uint16_t* d, size_t n, uint16_t colour, Format16 f) {
  const Channels16 c = Split16(Vec::Set16(colour), f);
  const V five = Vec::Set16(31);
  const V green_max = Vec::Set16(f.green_max());
  ForEachVector<uint16_t>(d, nullptr, nullptr, n, [&](uint16_t* dp, const uint16_t*, const uint8_t*) {
    const Channels16 cd = Split16(Vec::Load(dp), f);
    Vec::Store(dp, Join16({Vec::Min16(five, Vec::Add16(cd.r, c.r)), Vec::Min16(green_max, Vec::Add16(cd.g, c.g)),
                           Vec::Min16(five, Vec::Add16(cd.b, c.b))},
                          f));
  });
}

void SubFill16(uint16_t* d, size_t n, uint16_t colour, Format16 f) {
  const Channels16 c = Split16(Vec::Set16(colour), f);
  ForEachVector<uint16_t>(d, nullptr, nullptr, n, [&](uint16_t* dp, const uint16_t*, const uint8_t*) {
    const Channels16 cd = Split16(Vec::Load(dp), f);
    Vec::Store(dp, Join16({Vec::SubSat16(cd.r, c.r), Vec::SubSat16(cd.g, c.g), Vec::SubSat16(cd.b, c.b)}, f));
  });
}

void Keyed16(uint16_t* d, const uint16_t* s, size_t n, uint16_t key) {
  const V k = Vec::Set16(key);
  ForEachVector<uint16_t>(d, s, nullptr, n, [&](uint16_t* dp, const uint16_t* sp, const uint8_t*) {
    const V vs = Vec::Load(sp);
    Vec::Store(dp, Select(Vec::Eq16(vs, k), Vec::Load(dp), vs));
  });
}

void Alpha16(uint16_t* d, const uint16_t* s, size_t n, uint32_t alpha, int64_t key, bool skip_equal, Format16 f) {
  const V a = Vec::Set16(static_cast<uint16_t>(alpha));
  const V ia = Vec::Set16(static_cast<uint16_t>(255 - alpha));
  // A key wider than 16 bits never matches a 16-bit pixel.
  const bool key_fits = key >= 0 && key <= 0xFFFF;
  const V k = Vec::Set16(static_cast<uint16_t>(key));
  const V use_key = key_fits ? Vec::Set16(0xFFFF) : Vec::Zero();
  const V use_equal = skip_equal ? Vec::Set16(0xFFFF) : Vec::Zero();
  ForEachVector<uint16_t>(d, s, nullptr, n, [&](uint16_t* dp, const uint16_t* sp, const uint8_t*) {
    const V vs = Vec::Load(sp);
    const V vd = Vec::Load(dp);
    const V keep = Vec::Or(Vec::And(use_key, Vec::Eq16(vs, k)), Vec::And(use_equal, Vec::Eq16(vs, vd)));
    Vec::Store(dp, Select(keep, vd, Mix16(vs, vd, a, ia, f)));
  });
}

void Add16(uint16_t* d, const uint16_t* s, size_t n, uint32_t alpha, int64_t key, Format16 f) {
  const V a = Vec::Set16(static_cast<uint16_t>(alpha));
  const bool key_fits = key >= 0 && key <= 0xFFFF;
  const V k = Vec::Set16(static_cast<uint16_t>(key));
  const V use_key = key_fits ? Vec::Set16(0xFFFF) : Vec::Zero();
  ForEachVector<uint16_t>(d, s, nullptr, n, [&](uint16_t* dp, const uint16_t* sp, const uint8_t*) {
    const V vs = Vec::Load(sp);
    const V vd = Vec::Load(dp);
    Vec::Store(dp, Select(Vec::And(use_key, Vec::Eq16(vs, k)), vd, AddScaled16(vd, vs, a, f)));
  });
}

void Mask16(uint16_t* d, const uint16_t* s, const uint8_t* m, size_t n, Format16 f) {
  const V full = Vec::Set16(255);
  ForEachVector<uint16_t>(d, s, m, n, [&](uint16_t* dp, const uint16_t* sp, const uint8_t* mp) {
    const V vm = Vec::Mask16(mp);
    if (Vec::All(Vec::Eq16(vm, Vec::Zero()))) return;
    if (Vec::All(Vec::Eq16(vm, full))) return Vec::Store(dp, Vec::Load(sp));
    const V vs = Vec::Load(sp);
    const V vd = Vec::Load(dp);
    const V mixed = Mix16(vs, vd, vm, Vec::Sub16(full, vm), f);
    Vec::Store(dp, Select(Vec::Eq16(vm, full), vs, Select(Vec::Eq16(vm, Vec::Zero()), vd, mixed)));
  });
}

void MaskAlpha16(uint16_t* d, const uint16_t* s, const uint8_t* m, size_t n, uint32_t alpha, Format16 f) {
  const V full = Vec::Set16(255);
  const V a = Vec::Set16(static_cast<uint16_t>(alpha));
  ForEachVector<uint16_t>(d, s, m, n, [&](uint16_t* dp, const uint16_t* sp, const uint8_t* mp) {
    const V vm = Vec::Mask16(mp);
    if (Vec::All(Vec::Eq16(vm, Vec::Zero()))) return;
    const V vs = Vec::Load(sp);
    const V vd = Vec::Load(dp);
    const V b = Vec::Shr16By8(Vec::Mul16(vm, a));
    Vec::Store(dp, Select(Vec::Eq16(vm, Vec::Zero()), vd, Mix16(vs, vd, b, Vec::Sub16(full, b), f)));
  });
}

void MaskAdd16(uint16_t* d, const uint16_t* s, const uint8_t* m, size_t n, uint32_t alpha, Format16 f) {
  const V a = Vec::Set16(static_cast<uint16_t>(alpha));
  ForEachVector<uint16_t>(d, s, m, n, [&](uint16_t* dp, const uint16_t* sp, const uint8_t* mp) {
    const V vm = Vec::Mask16(mp);
    if (Vec::All(Vec::Eq16(vm, Vec::Zero()))) return;
    const V vs = Vec::Load(sp);
    const V vd = Vec::Load(dp);
    const V b = Vec::Shr16By8(Vec::Mul16(vm, a));
    Vec::Store(dp, Select(Vec::Eq16(vm, Vec::Zero()), vd, AddScaled16(vd, vs, b, f)));
  });
}

RowKernels MakeSimdKernels(const char* name) {
  return RowKernels{name,    Fill32,      BlendFill32, AddFill32, SubFill32, Keyed32,   Alpha32,
                    Add32,   Mask32,      MaskAlpha32, MaskAdd32, Gather32, Fill16,    BlendFill16, AddFill16,
                    SubFill16, Keyed16,   Alpha16,     Add16,     Mask16,    MaskAlpha16, MaskAdd16};
}

}  // namespace
}  // namespace orva
