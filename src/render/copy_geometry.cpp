#include "render/copy_geometry.h"

#include <algorithm>
#include <cmath>

namespace orva {

namespace {

struct Range {
  int64_t begin;
  int64_t end;
};

// One axis of a copy: the destination range [pos, pos + length) against the clip, and the source
// range moved with it.
bool ClipAxis(int64_t pos, Range source, Range limit, Range clip, bool mirror, int64_t& dst_begin, int64_t& length,
              int64_t& src_first, int32_t& step) {
  // Source outside its surface: drop those pixels and the destination pixels that would show them.
  const int64_t cut_low = std::max<int64_t>(0, limit.begin - source.begin);
  const int64_t cut_high = std::max<int64_t>(0, source.end - limit.end);
  source.begin += cut_low;
  source.end -= cut_high;
  if (source.end <= source.begin) return false;
  pos += mirror ? cut_high : cut_low;

  const int64_t size = source.end - source.begin;
  const int64_t begin = std::max(pos, clip.begin);
  const int64_t end = std::min(pos + size, clip.end);
  if (end <= begin) return false;
  const int64_t cut_near = begin - pos;
  dst_begin = begin;
  length = end - begin;
  if (mirror) {
    src_first = source.end - 1 - cut_near;
    step = -1;
  } else {
    src_first = source.begin + cut_near;
    step = 1;
  }
  return true;
}

// One axis of a scaled copy: source index per destination index inside the clip, with the
// destination pixels whose sample falls outside the source dropped from either end.
bool StretchAxis(int64_t dst_begin, int64_t dst_end, int64_t src_begin, int64_t src_end, Range limit, Range clip,
                 bool mirror, int64_t& first, std::vector<int32_t>& samples) {
  const int64_t dst_size = dst_end - dst_begin;
  const int64_t src_size = src_end - src_begin;
  if (dst_size <= 0 || src_size <= 0) return false;
  const int64_t begin = std::max(dst_begin, clip.begin);
  const int64_t end = std::min(dst_end, clip.end);
  if (end <= begin) return false;

  const long double scale = static_cast<long double>(src_size) / static_cast<long double>(dst_size);
  int64_t step = static_cast<int64_t>(std::trunc(scale * 65536.0L));
  const long double moved = static_cast<long double>(begin - dst_begin) * scale;
  const int64_t whole = static_cast<int64_t>(std::trunc(moved));
  const int64_t fraction = static_cast<int64_t>(std::trunc((moved - static_cast<long double>(whole)) * 65536.0L));
  int64_t start;
  if (mirror) {
    step = -step;
    start = (src_end - whole) * 65536 - fraction - 1;
  } else {
    start = (src_begin + whole) * 65536 + fraction;
  }

  samples.clear();
  first = begin;
  bool started = false;
  for (int64_t i = 0; i < end - begin; ++i) {
    const int64_t sample = (start + i * step) >> 16;
    if (sample < limit.begin || sample >= limit.end) {
      if (started) break;
      ++first;
      continue;
    }
    started = true;
    samples.push_back(static_cast<int32_t>(sample));
  }
  return !samples.empty();
}

}  // namespace

bool ClipCopy(const TRect& clip, int64_t x, int64_t y, const TRect& src_rect, const TRect& source_bounds,
              bool mirror_h, bool mirror_v, CopySpan& span) {
  int64_t dx, dy, w, h, sx, sy;
  if (!ClipAxis(x, {src_rect.Left, src_rect.Right}, {source_bounds.Left, source_bounds.Right},
                {clip.Left, clip.Right}, mirror_h, dx, w, sx, span.step_x)) {
    return false;
  }
  if (!ClipAxis(y, {src_rect.Top, src_rect.Bottom}, {source_bounds.Top, source_bounds.Bottom},
                {clip.Top, clip.Bottom}, mirror_v, dy, h, sy, span.step_y)) {
    return false;
  }
  span.dst_x = static_cast<int32_t>(dx);
  span.dst_y = static_cast<int32_t>(dy);
  span.width = static_cast<int32_t>(w);
  span.height = static_cast<int32_t>(h);
  span.src_x = static_cast<int32_t>(sx);
  span.src_y = static_cast<int32_t>(sy);
  return true;
}

bool ClipStretch(const TRect& clip, const TRect& dst_rect, const TRect& src_rect, const TRect& source_bounds,
                 bool mirror_h, bool mirror_v, StretchSpan& span) {
  // Both sides are checked before any table is built: the table is as long as the clipped width.
  if (dst_rect.IsEmpty() || src_rect.IsEmpty()) return false;
  if (std::min<int64_t>(dst_rect.Right, clip.Right) <= std::max<int64_t>(dst_rect.Left, clip.Left)) return false;
  if (std::min<int64_t>(dst_rect.Bottom, clip.Bottom) <= std::max<int64_t>(dst_rect.Top, clip.Top)) return false;
  int64_t first_x, first_y;
  if (!StretchAxis(dst_rect.Left, dst_rect.Right, src_rect.Left, src_rect.Right,
                   {source_bounds.Left, source_bounds.Right}, {clip.Left, clip.Right}, mirror_h, first_x,
                   span.columns)) {
    return false;
  }
  if (!StretchAxis(dst_rect.Top, dst_rect.Bottom, src_rect.Top, src_rect.Bottom,
                   {source_bounds.Top, source_bounds.Bottom}, {clip.Top, clip.Bottom}, mirror_v, first_y,
                   span.rows)) {
    return false;
  }
  span.dst_x = static_cast<int32_t>(first_x);
  span.dst_y = static_cast<int32_t>(first_y);
  return true;
}

}  // namespace orva
