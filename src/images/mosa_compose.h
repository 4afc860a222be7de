#pragma once
// Composing a frame: each visible layer is drawn onto the frame's picture by the layer rules
// (alpha channel, opacity, transparent value, the base layer's opacity).

#include <cstdint>

#include "images/mosa_frames.h"

namespace orva {

struct LayerPlacement {
  int32_t position = 0;        // index in the frame, counting invisible layers
  bool first_visible = false;  // no visible layer precedes it
  bool base_opaque = false;    // the list's BaseOpaque flag
};

// The frame's geometry and background while its layers are read. The picture gets storage filled
// with the background only when a layer needs something below it; a first layer copied whole
// lends the frame its pixels instead.
struct FrameCanvas {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
  uint32_t back_color = 0;
  bool ready = false;

  // Makes the picture's storage its own, filled with the background if nothing is drawn yet.
  void Prepare(TDIBSurface& picture);
};

void DrawLayer(TMosaFrame& frame, FrameCanvas& canvas, const TMosaLayer& layer, const LayerPlacement& placement);

// Whether the 4 x 4 ordered pattern for an opacity level takes the layer's pixel at (x, y).
bool PatternTakesLayer(int32_t level, int32_t x, int32_t y);

}  // namespace orva
