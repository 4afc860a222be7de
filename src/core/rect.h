#pragma once
// TRect: Left, Top, Right, Bottom, signed 32-bit; Right and Bottom exclusive.

#include <algorithm>
#include <cstdint>

namespace orva {

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  // Width and height in 64 bits: the difference of two 32-bit sides may not fit in 32.
  int64_t Width() const { return int64_t{Right} - Left; }
  int64_t Height() const { return int64_t{Bottom} - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int32_t x, int32_t y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }

  friend bool operator==(const TRect&, const TRect&) = default;
};

// Right and Bottom wrap as 32-bit values, as the original's arithmetic does.
inline TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  return TRect{left, top, static_cast<int32_t>(int64_t{left} + width), static_cast<int32_t>(int64_t{top} + height)};
}

// The common part of two rectangles; empty (all zero) when they do not overlap.
inline TRect Intersect(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  return r.IsEmpty() ? TRect{} : r;
}

// The smallest rectangle holding both; an empty rectangle adds nothing.
inline TRect Union(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
               std::max(a.Bottom, b.Bottom)};
}

}  // namespace orva
