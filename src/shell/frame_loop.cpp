#include "shell/frame_loop.h"

#include "core/stop_flag.h"

namespace orva {

bool FrameLoop::Idle(uint32_t now) {
  if (StopRequested()) return false;
  const uint32_t elapsed = now - last_tick_;
  if (elapsed > kLongestCountedTurn) {
    last_tick_ = now;
    return true;
  }
  timing_.play_time += elapsed;
  timing_.frame_elapsed = elapsed;
  last_tick_ = now;
  Turn();
  return true;
}

void FrameLoop::Turn() {
  if (!steps_.HasProject()) return;
  steps_.DeletePendingWorkFiles();
  steps_.InputStep();
  steps_.RunScenario();
  if (StopRequested()) return;
  steps_.UpdateScene();
  ++timing_.frame_count;
  if (steps_.ProcessRequests()) skip_draw_ = 1;
  if (skip_draw_ > 0) {
    // The turn after a load is not drawn.
    --skip_draw_;
    return;
  }
  draw_phase_ = (draw_phase_ + 1) % draw_divider_;
  if (draw_phase_ != 0) return;
  steps_.Draw();
}

}  // namespace orva
