#pragma once
// The title's objects for one run and the frame turn that drives them: the file manager with the
// title's sources, the variable store with its system variables, the event queue and the project.
// Creation follows the main window's start-up; destruction its close, in the same order.

#include <iosfwd>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/frame_timing.h"
#include "scenario/event_queue.h"
#include "script/builtins/system_variable_rows.h"
#include "shell/frame_loop.h"
#include "shell/title_folder.h"

namespace orva {

namespace platform {
struct Platform;
}
class TParamCollection;
class TProject;
class TSystemFunctionManager;
class TVrFileManager;

class PlayerSession final : public FrameSteps {
 public:
  PlayerSession(platform::Platform& platform, const TitleLocation& title);
  ~PlayerSession() override;

  // Creates the sources, the store and the project and starts the start page. False when the
  // title cannot run; failure() then says why when no message box has.
  bool Start();
  // The seed of the built-in functions' random generator; without one it comes from the clock.
  void SetRandomSeed(uint32_t seed) { seed_ = seed; }
  const std::string& Failure() const { return failure_; }

  FrameTiming& Timing() { return timing_; }
  TParamCollection& Store() { return *store_; }
  bool CloseRequested() const { return close_requested_; }

  // FrameSteps
  bool HasProject() const override { return project_ != nullptr; }
  void RunScenario() override;
  bool ProcessRequests() override;

  // An error that escaped a turn is shown and the next turns run as usual.
  void ReportTurnError(const std::string& message);

 private:
  platform::Platform& platform_;
  TitleLocation title_;
  FrameTiming timing_;
  std::unique_ptr<TVrFileManager> files_;
  std::unique_ptr<TParamCollection> store_;
  std::unique_ptr<TSystemFunctionManager> functions_;
  std::optional<uint32_t> seed_;
  SystemVariableRows rows_;
  TTimerList events_;
  std::unique_ptr<TProject> project_;
  std::string failure_;
  bool close_requested_ = false;
};

}  // namespace orva
