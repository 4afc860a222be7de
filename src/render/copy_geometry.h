#pragma once
// Clipping of copies and scaled copies: which destination pixels are drawn and which source pixel
// each one reads. Everything is computed in 64 bits so that no rectangle, however large or
// negative, can address a pixel outside either surface.

#include <cstdint>
#include <vector>

#include "core/rect.h"

namespace orva {

// A clipped copy: destination rectangle (inside the clip) and the source pixel of its top-left
// corner; the source is walked with step_x / step_y (−1 on a mirrored axis).
struct CopySpan {
  int32_t dst_x = 0;
  int32_t dst_y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t src_x = 0;
  int32_t src_y = 0;
  int32_t step_x = 1;
  int32_t step_y = 1;
};

// False when nothing is left to draw. The source rectangle is first limited to source_bounds (the
// source and, for masked copies, the mask); columns and rows the clip removes are taken from the
// source's near edge, or its far edge on a mirrored axis.
bool ClipCopy(const TRect& clip, int64_t x, int64_t y, const TRect& src_rect, const TRect& source_bounds,
              bool mirror_h, bool mirror_v, CopySpan& span);

// A clipped scaled copy: the destination rectangle and, per destination column and row, the source
// column and row sampled (nearest neighbour in 16.16 fixed point).
struct StretchSpan {
  int32_t dst_x = 0;
  int32_t dst_y = 0;
  std::vector<int32_t> columns;
  std::vector<int32_t> rows;
};

bool ClipStretch(const TRect& clip, const TRect& dst_rect, const TRect& src_rect, const TRect& source_bounds,
                 bool mirror_h, bool mirror_v, StretchSpan& span);

}  // namespace orva
