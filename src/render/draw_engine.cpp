#include "render/draw_engine.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "render/row_kernels.h"

namespace orva {

namespace {

// The memory of a locked 15-, 16- or 32-bit surface.
struct RowAccess {
  uint8_t* origin = nullptr;
  int64_t pitch = 0;
  int64_t height = 0;
  template <typename Pixel>
  Pixel* Row(int64_t y) const {
    return reinterpret_cast<Pixel*>(origin + y * pitch);
  }
  // The bytes the rows occupy, to tell whether two surfaces share memory.
  const uint8_t* Low() const { return origin + std::min<int64_t>(0, (height - 1) * pitch); }
  const uint8_t* High() const { return origin + std::max<int64_t>(0, (height - 1) * pitch) + std::abs(pitch); }
};

bool Overlap(const RowAccess& a, const RowAccess& b) { return a.Low() < b.High() && b.Low() < a.High(); }

RowAccess AccessOf(TCustomDIBX& surface, uint8_t* origin) {
  return RowAccess{origin, surface.GetPitch(), surface.GetHeight()};
}

Format16 FormatOf(const TCustomDIBX& surface) { return Format16{surface.GetBitCount() == 15 ? 5 : 6}; }

// Per-thread scratch rows for mirrored and scaled sources.
template <typename T>
T* Scratch(std::vector<T>& buffer, size_t n) {
  if (buffer.size() < n) buffer.resize(n);
  return buffer.data();
}

template <typename Pixel>
void RowKernel(const RowKernels& k, const CopyOp& op, Pixel* d, const Pixel* s, const uint8_t* m, size_t n,
               Format16 f) {
  if constexpr (sizeof(Pixel) == 4) {
    switch (op.kind) {
      case CopyKind::kCopy:
        if (op.key >= 0) k.keyed32(d, s, n, static_cast<uint32_t>(op.key));
        else std::memcpy(d, s, n * 4);
        break;
      case CopyKind::kAlpha: k.alpha32(d, s, n, op.alpha, op.key, op.skip_equal); break;
      case CopyKind::kAdd: k.add32(d, s, n, op.alpha, op.key); break;
      case CopyKind::kMask: k.mask32(d, s, m, n); break;
      case CopyKind::kMaskAlpha: k.mask_alpha32(d, s, m, n, op.alpha); break;
      case CopyKind::kMaskAdd: k.mask_add32(d, s, m, n, op.alpha); break;
    }
  } else {
    switch (op.kind) {
      case CopyKind::kCopy:
        if (op.key > 0xFFFF) std::memcpy(d, s, n * 2);
        else if (op.key >= 0) k.keyed16(d, s, n, static_cast<uint16_t>(op.key));
        else std::memcpy(d, s, n * 2);
        break;
      case CopyKind::kAlpha: k.alpha16(d, s, n, op.alpha, op.key, op.skip_equal, f); break;
      case CopyKind::kAdd: k.add16(d, s, n, op.alpha, op.key, f); break;
      case CopyKind::kMask: k.mask16(d, s, m, n, f); break;
      case CopyKind::kMaskAlpha: k.mask_alpha16(d, s, m, n, op.alpha, f); break;
      case CopyKind::kMaskAdd: k.mask_add16(d, s, m, n, op.alpha, f); break;
    }
  }
}

template <typename Pixel>
void Gather(const RowKernels& k, Pixel* d, const Pixel* s, const int32_t* columns, size_t n, int32_t source_width) {
  if constexpr (sizeof(Pixel) == 4) {
    k.gather32(d, s, columns, n, source_width);
  } else {
    for (size_t i = 0; i < n; ++i) d[i] = s[columns[i]];
  }
}

bool IsMaskKind(CopyKind kind) {
  return kind == CopyKind::kMask || kind == CopyKind::kMaskAlpha || kind == CopyKind::kMaskAdd;
}

// The locked memory of the surfaces when the row kernels can run on them.
struct FastSurfaces {
  const RowKernels* kernels = nullptr;
  RowAccess dst, src, mask;
};

bool PrepareFast(TCustomDIBX& dst, TCustomDIBX& src, TCustomDIBX* mask, uint8_t* dst_origin, uint8_t* src_origin,
                 uint8_t* mask_origin, FastSurfaces& fast) {
  fast.kernels = CurrentKernels();
  if (!fast.kernels) return false;
  const int32_t bits = dst.GetBitCount();
  if (bits != 15 && bits != 16 && bits != 32) return false;
  if (src.GetBitCount() != bits || dst.GetStorageBitCount() != src.GetStorageBitCount()) return false;
  if (!dst_origin || !src_origin) return false;
  fast.dst = AccessOf(dst, dst_origin);
  fast.src = AccessOf(src, src_origin);
  // Drawing a surface onto itself keeps the pixel-by-pixel order of the reference path.
  if (Overlap(fast.dst, fast.src)) return false;
  if (mask) {
    if (!mask_origin || mask->GetBitCount() != 8) return false;
    fast.mask = AccessOf(*mask, mask_origin);
    if (Overlap(fast.dst, fast.mask)) return false;
  }
  return true;
}

template <typename Pixel>
void FastCopyRows(const FastSurfaces& fast, const CopySpan& span, const CopyOp& op, Format16 f) {
  thread_local std::vector<Pixel> source_row;
  thread_local std::vector<uint8_t> mask_row;
  const size_t n = static_cast<size_t>(span.width);
  const bool masked = IsMaskKind(op.kind);
  // Whole rows of surfaces without row padding lie end to end: one long row covers them all.
  const int64_t row_bytes = int64_t{span.width} * static_cast<int64_t>(sizeof(Pixel));
  if (span.step_x > 0 && span.step_y > 0 && span.dst_x == 0 && span.src_x == 0 && span.height > 1 &&
      fast.dst.pitch == -row_bytes && fast.src.pitch == -row_bytes && (!masked || fast.mask.pitch == -span.width)) {
    const int64_t last = span.height - 1;
    Pixel* d = fast.dst.Row<Pixel>(int64_t{span.dst_y} + last);
    const Pixel* s = fast.src.Row<Pixel>(int64_t{span.src_y} + last);
    const uint8_t* m = masked ? fast.mask.Row<uint8_t>(int64_t{span.src_y} + last) : nullptr;
    RowKernel<Pixel>(*fast.kernels, op, d, s, m, n * static_cast<size_t>(span.height), f);
    return;
  }
  for (int32_t r = 0; r < span.height; ++r) {
    const int64_t sy = int64_t{span.src_y} + int64_t{r} * span.step_y;
    Pixel* d = fast.dst.Row<Pixel>(int64_t{span.dst_y} + r) + span.dst_x;
    const Pixel* s = fast.src.Row<Pixel>(sy) + span.src_x;
    const uint8_t* m = masked ? fast.mask.Row<uint8_t>(sy) + span.src_x : nullptr;
    if (span.step_x < 0) {
      Pixel* rs = Scratch(source_row, n);
      for (size_t i = 0; i < n; ++i) rs[i] = *(s - i);
      s = rs;
      if (masked) {
        uint8_t* rm = Scratch(mask_row, n);
        for (size_t i = 0; i < n; ++i) rm[i] = *(m - i);
        m = rm;
      }
    }
    RowKernel<Pixel>(*fast.kernels, op, d, s, m, n, f);
  }
}

template <typename Pixel>
void FastStretchRows(const FastSurfaces& fast, const StretchSpan& span, const CopyOp& op, Format16 f) {
  thread_local std::vector<Pixel> source_row;
  thread_local std::vector<uint8_t> mask_row;
  const size_t n = span.columns.size();
  const bool masked = IsMaskKind(op.kind);
  const bool opaque = op.kind == CopyKind::kCopy && (op.key < 0 || (sizeof(Pixel) == 2 && op.key > 0xFFFF));
  const int32_t* columns = span.columns.data();
  const int32_t source_width = static_cast<int32_t>(std::abs(fast.src.pitch) / static_cast<int64_t>(sizeof(Pixel)));
  for (size_t r = 0; r < span.rows.size(); ++r) {
    const int32_t sy = span.rows[r];
    Pixel* d = fast.dst.Row<Pixel>(int64_t{span.dst_y} + static_cast<int64_t>(r)) + span.dst_x;
    const Pixel* s = fast.src.Row<Pixel>(sy);
    if (opaque) {
      // A source row sampled again gives the same destination row.
      if (r > 0 && span.rows[r - 1] == sy) {
        std::memcpy(d, fast.dst.Row<Pixel>(int64_t{span.dst_y} + static_cast<int64_t>(r) - 1) + span.dst_x,
                    n * sizeof(Pixel));
      } else {
        Gather(*fast.kernels, d, s, columns, n, source_width);
      }
      continue;
    }
    Pixel* rs = Scratch(source_row, n);
    Gather(*fast.kernels, rs, s, columns, n, source_width);
    const uint8_t* m = nullptr;
    if (masked) {
      const uint8_t* mrow = fast.mask.Row<uint8_t>(sy);
      uint8_t* rm = Scratch(mask_row, n);
      for (size_t i = 0; i < n; ++i) rm[i] = mrow[columns[i]];
      m = rm;
    }
    RowKernel<Pixel>(*fast.kernels, op, d, rs, m, n, f);
  }
}

}  // namespace

TRect EffectiveClip(const TCustomDIBX& surface) { return Intersect(surface.GetClipRect(), surface.GetBounds()); }

ChannelMasks MasksOf(const TCustomDIBX& surface) {
  return ChannelMasks{surface.GetRedMask(), surface.GetGreenMask(), surface.GetBlueMask()};
}

int64_t SourceKey(const TCustomDIBX& source, bool keyed) {
  if (!keyed || source.ColorKey == -1) return -1;
  return static_cast<uint32_t>(source.ColorKey);
}

bool CombinePixel(const CopyOp& op, uint32_t d, uint32_t s, uint32_t m, const ChannelMasks& masks, bool dst_8bit,
                  uint32_t& out) {
  if (op.key >= 0 && s == op.key) return false;
  switch (op.kind) {
    case CopyKind::kCopy:
      out = s;
      return true;
    case CopyKind::kAlpha:
      if (op.skip_equal && s == d) return false;
      out = formulas::Blend(d, s, op.alpha, masks);
      return true;
    case CopyKind::kAdd:
      out = dst_8bit ? std::min<uint32_t>(255, (d & 0xFF) + (s & 0xFF)) : formulas::Add(d, s, op.alpha, masks);
      return true;
    case CopyKind::kMask:
      if (m == 0) return false;
      out = m == 255 ? s : formulas::Blend(d, s, m, masks);
      return true;
    case CopyKind::kMaskAlpha:
      if (m == 0) return false;
      out = formulas::Blend(d, s, formulas::MaskTimesAlpha(op.alpha, m), masks);
      return true;
    case CopyKind::kMaskAdd:
      if (m == 0) return false;
      out = formulas::Add(d, s, formulas::MaskTimesAlpha(op.alpha, m), masks);
      return true;
  }
  return false;
}

void RunCopy(TCustomDIBX& dst, TCustomDIBX& src, TCustomDIBX* mask, const CopySpan& span, const CopyOp& op) {
  SurfaceLock dst_lock(dst);
  SurfaceLock src_lock(src);
  if (mask) {
    SurfaceLock mask_lock(*mask);
    FastSurfaces fast;
    if (PrepareFast(dst, src, mask, dst_lock.Origin(), src_lock.Origin(), mask_lock.Origin(), fast)) {
      if (dst.GetStorageBitCount() == 32) FastCopyRows<uint32_t>(fast, span, op, {});
      else FastCopyRows<uint16_t>(fast, span, op, FormatOf(dst));
      return;
    }
  } else {
    FastSurfaces fast;
    if (PrepareFast(dst, src, nullptr, dst_lock.Origin(), src_lock.Origin(), nullptr, fast)) {
      if (dst.GetStorageBitCount() == 32) FastCopyRows<uint32_t>(fast, span, op, {});
      else FastCopyRows<uint16_t>(fast, span, op, FormatOf(dst));
      return;
    }
  }
  const ChannelMasks masks = MasksOf(dst);
  const bool dst_8bit = dst.GetBitCount() == 8;
  for (int32_t r = 0; r < span.height; ++r) {
    const int32_t sy = span.src_y + r * span.step_y;
    const int32_t dy = span.dst_y + r;
    for (int32_t c = 0; c < span.width; ++c) {
      const int32_t sx = span.src_x + c * span.step_x;
      const int32_t dx = span.dst_x + c;
      const uint32_t m = mask ? mask->GetPixel(sx, sy) : 255;
      uint32_t out;
      if (CombinePixel(op, dst.GetPixel(dx, dy), src.GetPixel(sx, sy), m, masks, dst_8bit, out)) {
        dst.SetPixel(dx, dy, out);
      }
    }
  }
}

void RunStretch(TCustomDIBX& dst, TCustomDIBX& src, TCustomDIBX* mask, const StretchSpan& span, const CopyOp& op) {
  SurfaceLock dst_lock(dst);
  SurfaceLock src_lock(src);
  {
    uint8_t* mask_origin = nullptr;
    if (mask) mask_origin = mask->Lock(0, 0);
    FastSurfaces fast;
    const bool ok = PrepareFast(dst, src, mask, dst_lock.Origin(), src_lock.Origin(), mask_origin, fast);
    if (ok) {
      if (dst.GetStorageBitCount() == 32) FastStretchRows<uint32_t>(fast, span, op, {});
      else FastStretchRows<uint16_t>(fast, span, op, FormatOf(dst));
    }
    if (mask) mask->Unlock();
    if (ok) return;
  }
  const ChannelMasks masks = MasksOf(dst);
  const bool dst_8bit = dst.GetBitCount() == 8;
  for (size_t r = 0; r < span.rows.size(); ++r) {
    const int32_t sy = span.rows[r];
    const int32_t dy = span.dst_y + static_cast<int32_t>(r);
    for (size_t c = 0; c < span.columns.size(); ++c) {
      const int32_t sx = span.columns[c];
      const int32_t dx = span.dst_x + static_cast<int32_t>(c);
      const uint32_t m = mask ? mask->GetPixel(sx, sy) : 255;
      uint32_t out;
      if (CombinePixel(op, dst.GetPixel(dx, dy), src.GetPixel(sx, sy), m, masks, dst_8bit, out)) {
        dst.SetPixel(dx, dy, out);
      }
    }
  }
}

namespace {

template <typename Pixel>
void FastColourRows(const FastSurfaces& fast, const CopySpan& span, uint32_t colour, const CopyOp& op, Format16 f) {
  thread_local std::vector<Pixel> colour_row;
  thread_local std::vector<uint8_t> mask_row;
  const size_t n = static_cast<size_t>(span.width);
  Pixel* source = Scratch(colour_row, n);
  std::fill(source, source + n, static_cast<Pixel>(colour));
  for (int32_t r = 0; r < span.height; ++r) {
    const int64_t sy = int64_t{span.src_y} + int64_t{r} * span.step_y;
    const uint8_t* m = fast.mask.Row<uint8_t>(sy) + span.src_x;
    if (span.step_x < 0) {
      uint8_t* rm = Scratch(mask_row, n);
      for (size_t i = 0; i < n; ++i) rm[i] = *(m - i);
      m = rm;
    }
    RowKernel<Pixel>(*fast.kernels, op, fast.dst.Row<Pixel>(int64_t{span.dst_y} + r) + span.dst_x, source, m, n, f);
  }
}

}  // namespace

void RunColourThroughMask(TCustomDIBX& dst, TCustomDIBX& mask, const CopySpan& span, uint32_t colour,
                          const CopyOp& op) {
  SurfaceLock dst_lock(dst);
  SurfaceLock mask_lock(mask);
  const int32_t bits = dst.GetBitCount();
  FastSurfaces fast;
  fast.kernels = CurrentKernels();
  // A 16-bit destination takes the colour's low word, as its pixels do.
  if (fast.kernels && dst_lock.Origin() && mask_lock.Origin() && (bits == 15 || bits == 16 || bits == 32)) {
    fast.dst = AccessOf(dst, dst_lock.Origin());
    fast.mask = AccessOf(mask, mask_lock.Origin());
    if (!Overlap(fast.dst, fast.mask)) {
      if (bits == 32) FastColourRows<uint32_t>(fast, span, colour, op, {});
      else FastColourRows<uint16_t>(fast, span, colour, op, FormatOf(dst));
      return;
    }
  }
  const ChannelMasks masks = MasksOf(dst);
  const bool dst_8bit = bits == 8;
  for (int32_t r = 0; r < span.height; ++r) {
    for (int32_t c = 0; c < span.width; ++c) {
      const uint32_t m = mask.GetPixel(span.src_x + c * span.step_x, span.src_y + r * span.step_y);
      const int32_t dx = span.dst_x + c;
      const int32_t dy = span.dst_y + r;
      uint32_t out;
      if (CombinePixel(op, dst.GetPixel(dx, dy), colour, m, masks, dst_8bit, out)) dst.SetPixel(dx, dy, out);
    }
  }
}

void RunFill(TCustomDIBX& dst, const TRect& rect, FillKind kind, uint32_t colour, uint32_t alpha) {
  if (rect.IsEmpty()) return;
  SurfaceLock lock(dst);
  const RowKernels* kernels = CurrentKernels();
  const int32_t bits = dst.GetBitCount();
  if (kernels && lock.Origin() && (bits == 32 || bits == 15 || bits == 16)) {
    RowAccess rows = AccessOf(dst, lock.Origin());
    TRect span = rect;
    size_t n = static_cast<size_t>(rect.Width());
    // Full rows without padding lie end to end: fill them as one.
    if (rect.Left == 0 && rect.Right == dst.GetWidth() && rows.pitch == -int64_t{rect.Right} * (bits == 32 ? 4 : 2)) {
      n *= static_cast<size_t>(rect.Height());
      span = TRect{0, rect.Bottom - 1, rect.Right, rect.Bottom};
    }
    for (int32_t y = span.Top; y < span.Bottom; ++y) {
      if (bits == 32) {
        uint32_t* d = rows.Row<uint32_t>(y) + span.Left;
        switch (kind) {
          case FillKind::kFill: kernels->fill32(d, n, colour); break;
          case FillKind::kBlend: kernels->blend_fill32(d, n, colour, alpha); break;
          case FillKind::kAdd: kernels->add_fill32(d, n, colour); break;
          case FillKind::kSub: kernels->sub_fill32(d, n, colour); break;
        }
      } else {
        uint16_t* d = rows.Row<uint16_t>(y) + span.Left;
        const Format16 f = FormatOf(dst);
        const auto c16 = static_cast<uint16_t>(colour);
        switch (kind) {
          case FillKind::kFill: kernels->fill16(d, n, c16); break;
          case FillKind::kBlend:
            // A colour wider than the pixel never equals one, so no pixel is skipped.
            if (colour > 0xFFFF) {
              for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint16_t>(formulas::Blend(d[i], colour, alpha, MasksOf(dst)));
            } else {
              kernels->blend_fill16(d, n, c16, alpha, f);
            }
            break;
          case FillKind::kAdd: kernels->add_fill16(d, n, c16, f); break;
          case FillKind::kSub: kernels->sub_fill16(d, n, c16, f); break;
        }
      }
    }
    return;
  }
  const ChannelMasks masks = MasksOf(dst);
  for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
    for (int32_t x = rect.Left; x < rect.Right; ++x) {
      const uint32_t d = dst.GetPixel(x, y);
      switch (kind) {
        case FillKind::kFill: dst.SetPixel(x, y, colour); break;
        case FillKind::kBlend:
          if (d != colour) dst.SetPixel(x, y, formulas::Blend(d, colour, alpha, masks));
          break;
        case FillKind::kAdd: dst.SetPixel(x, y, formulas::AddFill(d, colour, masks)); break;
        case FillKind::kSub: dst.SetPixel(x, y, formulas::SubFill(d, colour, masks)); break;
      }
    }
  }
}

}  // namespace orva
