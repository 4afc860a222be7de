#pragma once
// The scenario's clock, kept by the frame loop and passed down to whatever counts time:
// Wait, components, trace lines and the tick system variables.

#include <cstdint>

namespace orva {

struct FrameTiming {
  uint32_t play_time = 0;      // sum of the counted turn lengths, milliseconds
  uint32_t frame_elapsed = 0;  // length of the last counted turn
  uint32_t frame_count = 0;    // turns that reached the scene update
};

}  // namespace orva
