#pragma once
// The per-channel arithmetic every drawing operation uses, on native values with the channel masks
// in place (no unpacking), so that rounding is the same at every depth. These are the reference
// results: the vectorised row kernels must reproduce them bit for bit.

#include <algorithm>
#include <cstdint>

namespace orva {

struct ChannelMasks {
  uint32_t red = 0xFF0000;
  uint32_t green = 0x00FF00;
  uint32_t blue = 0x0000FF;
};

namespace formulas {

// ((a·(s and M) + (255 − a)·(d and M)) >> 8) and M, per channel.
inline uint32_t Blend(uint32_t d, uint32_t s, uint32_t a, const ChannelMasks& masks) {
  uint32_t result = 0;
  for (const uint32_t m : {masks.red, masks.green, masks.blue}) {
    const uint64_t sum = uint64_t{a} * (s & m) + uint64_t{255 - a} * (d & m);
    result |= static_cast<uint32_t>(sum >> 8) & m;
  }
  return result;
}

// min(M, (d and M) + (((a·(s and M)) >> 8) and M)), per channel.
inline uint32_t Add(uint32_t d, uint32_t s, uint32_t a, const ChannelMasks& masks) {
  uint32_t result = 0;
  for (const uint32_t m : {masks.red, masks.green, masks.blue}) {
    const uint64_t scaled = (uint64_t{a} * (s & m) >> 8) & m;
    result |= static_cast<uint32_t>(std::min<uint64_t>(m, (d & m) + scaled));
  }
  return result;
}

// min(M, (d and M) + (c and M)), per channel.
inline uint32_t AddFill(uint32_t d, uint32_t c, const ChannelMasks& masks) {
  uint32_t result = 0;
  for (const uint32_t m : {masks.red, masks.green, masks.blue}) {
    result |= static_cast<uint32_t>(std::min<uint64_t>(m, uint64_t{d & m} + (c & m)));
  }
  return result;
}

// (d and M) − (c and M), or 0 when negative, per channel.
inline uint32_t SubFill(uint32_t d, uint32_t c, const ChannelMasks& masks) {
  uint32_t result = 0;
  for (const uint32_t m : {masks.red, masks.green, masks.blue}) {
    if ((d & m) > (c & m)) result |= (d & m) - (c & m);
  }
  return result;
}

// The effective alpha of a mask value under a constant alpha.
inline uint32_t MaskTimesAlpha(uint32_t alpha, uint32_t mask) { return (alpha * mask) >> 8; }

}  // namespace formulas
}  // namespace orva
