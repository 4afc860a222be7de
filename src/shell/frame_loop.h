#pragma once
// The frame loop: each idle turn measures the elapsed time and runs one frame turn — input,
// scenario, scene update, pending save or load, drawing. The parts of a turn are supplied by the
// title's subsystems through FrameSteps, so the turn keeps its order as they arrive.

#include <cstdint>

#include "core/frame_timing.h"

namespace orva {

class FrameSteps {
 public:
  virtual ~FrameSteps() = default;
  virtual bool HasProject() const { return true; }
  virtual void DeletePendingWorkFiles() {}
  virtual void InputStep() {}
  // The start-up logo while it plays, then the project's frame of the scenario.
  virtual void RunScenario() {}
  virtual void UpdateScene() {}
  // Performs a pending load, then a pending save; true when a game was loaded.
  virtual bool ProcessRequests() { return false; }
  // Scene draw, presentation, then clearing the dirty lists.
  virtual void Draw() {}
};

class FrameLoop {
 public:
  // A turn longer than this is a stall (a moved or inactive window) and is not counted.
  static constexpr uint32_t kLongestCountedTurn = 3000;

  FrameLoop(FrameSteps& steps, FrameTiming& timing) : steps_(steps), timing_(timing) {}

  // One idle turn at the time now (milliseconds of the platform clock). Returns false when the
  // run has stopped and no turn ran.
  bool Idle(uint32_t now);
  // Time spent away (in the background) is not counted: the next turn measures from now.
  void ResetLastTick(uint32_t now) { last_tick_ = now; }

  // Draw only every divider-th turn (1: every turn).
  void SetDrawDivider(int divider) { draw_divider_ = divider < 1 ? 1 : divider; }

 private:
  void Turn();

  FrameSteps& steps_;
  FrameTiming& timing_;
  uint32_t last_tick_ = 0;
  int skip_draw_ = 0;
  int draw_divider_ = 1;
  int draw_phase_ = 0;
};

}  // namespace orva
