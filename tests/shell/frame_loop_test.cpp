#include "shell/frame_loop.h"

#include <gtest/gtest.h>

#include <string>

#include "core/stop_flag.h"
#include "platform/headless/virtual_clock.h"

namespace orva {
namespace {

// Records the order of the steps; loads a game in a chosen turn and stops in another.
class RecordingSteps : public FrameSteps {
 public:
  std::string log;
  int scenario_turns = 0;
  int load_in_turn = -1;
  int stop_in_turn = -1;

  void InputStep() override { log += "i"; }
  void RunScenario() override {
    ++scenario_turns;
    log += "s";
    if (scenario_turns == stop_in_turn) SetStopRequested(true);
  }
  void UpdateScene() override { log += "u"; }
  bool ProcessRequests() override {
    log += "p";
    return scenario_turns == load_in_turn;
  }
  void Draw() override { log += "d|"; }
};

class FrameLoopTest : public ::testing::Test {
 protected:
  void SetUp() override { SetStopRequested(false); }
  void TearDown() override { SetStopRequested(false); }

  void RunTurns(FrameLoop& loop, platform::VirtualClock& clock, int turns, uint32_t ms) {
    for (int k = 0; k < turns; ++k) {
      clock.Advance(ms);
      loop.Idle(clock.TickCount());
    }
  }
};

TEST_F(FrameLoopTest, PlayTimeIsTheSumOfTheVirtualTurns) {
  RecordingSteps steps;
  FrameTiming timing;
  FrameLoop loop(steps, timing);
  platform::VirtualClock clock;
  RunTurns(loop, clock, 60, 16);
  EXPECT_EQ(timing.play_time, 960u);
  EXPECT_EQ(timing.frame_elapsed, 16u);
  EXPECT_EQ(timing.frame_count, 60u);
  EXPECT_EQ(steps.log.substr(0, 10), "isupd|isup");
}

TEST_F(FrameLoopTest, TheTurnAfterALoadIsNotDrawn) {
  RecordingSteps steps;
  steps.load_in_turn = 2;
  FrameTiming timing;
  FrameLoop loop(steps, timing);
  platform::VirtualClock clock;
  RunTurns(loop, clock, 3, 16);
  EXPECT_EQ(steps.log, "isupd|isupisupd|");
}

TEST_F(FrameLoopTest, StopEndsTheTurnBeforeTheUpdateAndNoLaterTurnRuns) {
  RecordingSteps steps;
  steps.stop_in_turn = 2;
  FrameTiming timing;
  FrameLoop loop(steps, timing);
  platform::VirtualClock clock;
  RunTurns(loop, clock, 5, 16);
  EXPECT_EQ(steps.log, "isupd|is");
  EXPECT_EQ(timing.frame_count, 1u);
}

TEST_F(FrameLoopTest, StallsAreNotCountedAndTheBackgroundIsNotCounted) {
  RecordingSteps steps;
  FrameTiming timing;
  FrameLoop loop(steps, timing);
  loop.Idle(16);
  loop.Idle(16 + 3001);  // a stall: dropped, no turn
  EXPECT_EQ(timing.play_time, 16u);
  EXPECT_EQ(timing.frame_count, 1u);
  loop.Idle(16 + 3001 + 20);
  EXPECT_EQ(timing.play_time, 36u);
  loop.ResetLastTick(100000);  // back from ten seconds in the background
  loop.Idle(100000);
  EXPECT_EQ(timing.play_time, 36u);
  EXPECT_EQ(timing.frame_count, 3u);
}

TEST_F(FrameLoopTest, DrawingCanBeLimitedToEveryNthTurn) {
  RecordingSteps steps;
  FrameTiming timing;
  FrameLoop loop(steps, timing);
  loop.SetDrawDivider(2);
  platform::VirtualClock clock;
  RunTurns(loop, clock, 4, 16);
  EXPECT_EQ(steps.log, "isupisupd|isupisupd|");
}

}  // namespace
}  // namespace orva
