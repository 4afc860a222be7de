#pragma once
// TCallMan: runs the scenario. It keeps the page cache, the current page and command, the call
// stack and the running event, and once per frame executes commands until one ends the frame,
// entering queued events and letting handlers nest while another one waits.

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "scenario/call_stack.h"
#include "script/orva_parser.h"
#include "script/param.h"

namespace orva {

class CallManagerHost;
class EventSender;
class TCommand;
class TCustomParam;
class TOrvaParser;
class TPage;
class TParamCollection;
class TTimerList;

class TCallMan {
 public:
  static constexpr size_t kCachedPages = 10;
  // The deepest call stack a Call may build: runaway recursion fails the Call instead of
  // exhausting memory.
  static constexpr int kDeepestCallStack = 100000;
  // Passes of the run loop in one frame before the frame ends regardless: a page that loops
  // without end (a damaged target, a loop whose commands all continue) keeps the player turning
  // frames instead of hanging it. The next frame goes on exactly where this one stopped.
  static constexpr int64_t kPassesPerFrame = int64_t{1} << 24;

  enum class RunState : int32_t { kMain = 0, kEvent = 1, kWaiting = 2, kNested = 3 };

  TCallMan(TParamCollection& store, CallManagerHost& host);
  ~TCallMan();
  TCallMan(const TCallMan&) = delete;
  TCallMan& operator=(const TCallMan&) = delete;

  // The cached page of that exact name, moved to the front; else the page loaded and cached.
  TPage* LoadPage(const std::string& name);
  // Starts a page afresh: no stack, no parameters, no running events.
  void Start(const std::string& name);
  // The run loop, once per frame.
  void Run();
  // Tests lower the per-frame limit of run-loop passes.
  void SetPassesPerFrame(int64_t passes) { passes_per_frame_ = passes; }

  // What the commands change while they execute.
  TPage* CurrentPage() const { return page_; }
  int32_t Index() const { return index_; }
  void SetIndex(int32_t index) { index_ = index; }
  void Advance() { ++index_; }
  void JumpTo(TPage* page, int32_t index) {
    page_ = page;
    index_ = index;
  }
  // The running page ends (Exit, Break or Continue to a negative target).
  void EndPage() { page_ended_ = true; }
  bool Continue() const { return continue_; }
  void SetContinue(bool value) { continue_ = value; }
  TStackList& Stack() { return stack_; }
  std::vector<std::string>& Params() { return params_; }
  EventSender* Sender() const { return sender_; }
  TParamCollection& Store() { return store_; }
  CallManagerHost& Host() { return host_; }

  // Evaluates an expression (none: absent); its value, or nullptr when it yields none. Inline:
  // most commands evaluate something.
  const TCustomParam* Evaluate(TOrvaParser* expression) {
    if (expression == nullptr || expression->Count() == 0) return nullptr;
    expression->Execute(store_);
    return expression->Result();
  }
  // Whether the expression yields a value that reads as true.
  bool IsTrue(TOrvaParser* expression) {
    const TCustomParam* value = Evaluate(expression);
    return value != nullptr && value->GetBool();
  }

  // The flow-redirecting commands.
  void Call(const std::string& page_name, int32_t target, const std::string& result_var,
            std::vector<std::string> args);
  // PCReset, after its command has advanced: with all, a fresh start; else the main flow is sent
  // to the page once the running handlers return, or the flow jumps there when none runs.
  void ResetFlow(const std::string& page_name, int32_t target, bool all);

  // For the system variables.
  int32_t ParamCount() const { return static_cast<int32_t>(params_.size()); }
  std::string ParamStr(int32_t index) const;
  std::string SenderName() const;
  TCustomParam* ResultHolder();
  RunState State() const { return state_; }
  int32_t Depth() const { return depth_; }
  bool Entered() const { return entered_; }

 private:
  int Step();
  int EnterEvent(int32_t depth);

  struct ExecResult {
    bool page_remains;
    bool waiting;
  };
  ExecResult ExecOne();
  void Trace(const std::string& name, int32_t line, const char* prefix);
  void RemoveEventsUpTo(int32_t depth);

  TParamCollection& store_;
  CallManagerHost& host_;
  TTimerList& events_;  // the scene's queue, asked before every step
  std::list<std::unique_ptr<TPage>> cache_;  // most recently used first
  TPage* page_ = nullptr;
  int32_t index_ = 0;
  bool continue_ = false;
  TStackList stack_;
  bool entered_ = false;
  std::vector<std::string> params_;
  RunState state_ = RunState::kMain;
  EventSender* sender_ = nullptr;
  int32_t depth_ = 2;
  bool page_ended_ = false;
  const TCommand* last_traced_ = nullptr;
  int64_t passes_per_frame_ = kPassesPerFrame;
};

// Splits an event string into its page file name and label: the last ":" that is not the second
// byte of a character separates the label, unless a "." or "\" comes after it; the page file
// name is the reference with its last three characters replaced by "osb".
void SplitEventText(const std::string& text, std::string& page_file, std::string& label, bool& has_label);

}  // namespace orva
