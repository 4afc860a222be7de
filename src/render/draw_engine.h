#pragma once
// The two ways every copy family runs once its geometry is clipped: per pixel through
// GetPixel/SetPixel with the reference formulas, or per row through the current row kernels when
// both surfaces expose memory of the same 15-, 16- or 32-bit format.

#include <cstdint>

#include "core/rect.h"
#include "render/copy_geometry.h"
#include "render/custom_dibx.h"
#include "render/pixel_formulas.h"

namespace orva {

enum class CopyKind { kCopy, kAlpha, kAdd, kMask, kMaskAlpha, kMaskAdd };

struct CopyOp {
  CopyKind kind = CopyKind::kCopy;
  uint32_t alpha = 255;
  int64_t key = -1;          // source pixels equal to this are skipped; -1 none
  bool skip_equal = false;   // kAlpha: leave pixels alone where source equals destination
};

// The clip rectangle limited to the surface: what an operation may touch.
TRect EffectiveClip(const TCustomDIBX& surface);
ChannelMasks MasksOf(const TCustomDIBX& surface);
// The key a keyed operation uses: the source's ColorKey when asked for and set, else none.
int64_t SourceKey(const TCustomDIBX& source, bool keyed);

// The reference result of one pixel; false when the destination stays as it is.
bool CombinePixel(const CopyOp& op, uint32_t d, uint32_t s, uint32_t m, const ChannelMasks& masks, bool dst_8bit,
                  uint32_t& out);

void RunCopy(TCustomDIBX& dst, TCustomDIBX& src, TCustomDIBX* mask, const CopySpan& span, const CopyOp& op);
void RunStretch(TCustomDIBX& dst, TCustomDIBX& src, TCustomDIBX* mask, const StretchSpan& span, const CopyOp& op);

// One colour painted through an 8-bit mask (op is kMask or kMaskAlpha).
void RunColourThroughMask(TCustomDIBX& dst, TCustomDIBX& mask, const CopySpan& span, uint32_t colour,
                          const CopyOp& op);

enum class FillKind { kFill, kBlend, kAdd, kSub };
// rect must already be clipped.
void RunFill(TCustomDIBX& dst, const TRect& rect, FillKind kind, uint32_t colour, uint32_t alpha);

// Locks a surface for the length of a scope.
class SurfaceLock {
 public:
  explicit SurfaceLock(TCustomDIBX& surface) : surface_(surface), origin_(surface.Lock(0, 0)) {}
  ~SurfaceLock() { surface_.Unlock(); }
  SurfaceLock(const SurfaceLock&) = delete;
  SurfaceLock& operator=(const SurfaceLock&) = delete;
  uint8_t* Origin() const { return origin_; }

 private:
  TCustomDIBX& surface_;
  uint8_t* origin_;
};

}  // namespace orva
