#pragma once
// The alpha mode word: 1 .. 254 blend with that alpha, 255 opaque copy, 256 and above additive with
// strength (value − 256) capped at 255; 0 (or less) draws nothing.

#include <algorithm>
#include <optional>

#include "render/draw_engine.h"

namespace orva {

inline std::optional<CopyOp> ModeOp(int32_t mode, bool masked, int64_t key) {
  if (mode <= 0) return std::nullopt;
  if (mode < 255) {
    return masked ? CopyOp{CopyKind::kMaskAlpha, static_cast<uint32_t>(mode), -1, false}
                  : CopyOp{CopyKind::kAlpha, static_cast<uint32_t>(mode), key, true};
  }
  if (mode == 255) return masked ? CopyOp{CopyKind::kMask, 255, -1, false} : CopyOp{CopyKind::kCopy, 255, key, false};
  const auto strength = static_cast<uint32_t>(std::min(mode - 256, 255));
  return masked ? CopyOp{CopyKind::kMaskAdd, strength, -1, false} : CopyOp{CopyKind::kAdd, strength, key, false};
}

}  // namespace orva
