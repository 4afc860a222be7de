#include "scenario/call_manager.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "core/sjis.h"
#include "core/stop_flag.h"
#include "core/trace.h"
#include "scenario/call_host.h"
#include "scenario/command.h"
#include "scenario/event_queue.h"
#include "scenario/page.h"
#include "script/orva_parser.h"
#include "script/param.h"
#include "script/param_collection.h"

namespace orva {

TCallMan::TCallMan(TParamCollection& store, CallManagerHost& host)
    : store_(store), host_(host), events_(host.Events()), stack_(store) {}

TCallMan::~TCallMan() = default;

TPage* TCallMan::LoadPage(const std::string& name) {
  for (auto it = cache_.begin(); it != cache_.end(); ++it) {
    if ((*it)->Name() == name) {
      cache_.splice(cache_.begin(), cache_, it);
      return cache_.front().get();
    }
  }
  auto page = std::make_unique<TPage>(&store_);
  page->Load(name, host_);  // a failure frees the new page and leaves the cache as it was
  cache_.push_front(std::move(page));
  while (cache_.size() > kCachedPages && cache_.back().get() != page_) {
    if (last_traced_ != nullptr && last_traced_->Page() == cache_.back().get()) last_traced_ = nullptr;
    cache_.pop_back();
  }
  return cache_.front().get();
}

void TCallMan::RemoveEventsUpTo(int32_t depth) {
  for (int32_t d = 1; d <= depth; ++d) events_.RemoveAtDepth(d);
}

void TCallMan::Start(const std::string& name) {
  page_ = LoadPage(name);
  index_ = 0;
  entered_ = false;
  params_.clear();
  state_ = RunState::kMain;
  stack_.Clear();
  sender_ = nullptr;
  RemoveEventsUpTo(depth_);
  depth_ = 2;
}

void TCallMan::Trace(const std::string& name, int32_t line, const char* prefix) {
  TraceSink* sink = CurrentTraceSink();
  if (sink == nullptr) return;
  sink->WriteLine(FormatTraceLine(host_.Timing().play_time, prefix + name, line));
}

// Inlined into the run loop: every command passes here.
[[gnu::always_inline]] inline TCallMan::ExecResult TCallMan::ExecOne() {
  TCommand* command = page_->CommandOrNull(index_);
  if (command == nullptr) return {false, false};
  if (CurrentTraceSink() != nullptr && command != last_traced_) {
    Trace(page_->Name(), command->Line(), "");
    last_traced_ = command;
  }
  TPage* const page_before = page_;
  const int32_t index_before = index_;
  bool waiting = false;
  page_ended_ = false;
  try {
    if (!entered_) {
      if (command->IsDisabled()) {
        ++index_;
        return {true, false};
      }
      command->Begin(*this);
      entered_ = true;
    }
    continue_ = command->Continues();
    waiting = command->IsWaiting();
    command->Execute(*this);
  } catch (const EOrvaError&) {
    // A failing command is passed over: its effects stay and the index is where it got to.
  }
  // A command that moved on (also by failing after advancing) has finished; the next one begins
  // afresh, so that it is checked for being disabled and its Begin runs.
  if (page_ != page_before || index_ != index_before || page_ended_) entered_ = false;
  if (page_ended_) {
    page_ended_ = false;
    return {false, waiting};
  }
  return {true, waiting};
}

[[gnu::always_inline]] inline int TCallMan::Step() {
  if (page_ == nullptr) return 0;
  const ExecResult exec = ExecOne();
  const int r = exec.waiting ? 2 : 0;
  if (exec.page_remains) return r;
  if (stack_.Empty()) {
    continue_ = false;
    return r;
  }
  store_.FreeFrame(stack_.Count());
  TStack frame = stack_.Pop();
  if (!frame.result_var.empty() && frame.result) {
    if (TParamCollectionItem* target = store_.FindVar(frame.result_var)) target->Value()->ConvertFrom(*frame.result);
  }
  TPage* caller = nullptr;
  try {
    caller = LoadPage(frame.page_name);
  } catch (const EOrvaError&) {
    // The page to return to cannot be read (a reset pointed the frame at a missing page, or an
    // evicted page is gone from its disc): the flow that waited in it ends here, so the run goes
    // back to the level below instead of standing at the end of a page with nothing to pop.
  }
  if (caller != nullptr) {
    page_ = caller;
    index_ = frame.index;
    entered_ = frame.entered;
  } else {
    index_ = page_->Count();
    entered_ = false;
  }
  continue_ = frame.continue_flag;
  params_ = std::move(frame.params);
  sender_ = frame.sender;
  if (caller != nullptr && frame.state && page_->Contains(index_)) {
    ByteReader reader(*frame.state);
    try {
      page_->Command(index_)->LoadState(reader);
    } catch (const EOrvaError&) {
      // A progress record that cannot be read (a damaged saved game) leaves the command's
      // progress as it stands; the return itself goes ahead.
    }
  }
  if (sender_ == nullptr) return 1;
  return r == 2 ? 2 : -1;
}

void SplitEventText(const std::string& text, std::string& page_file, std::string& label, bool& has_label) {
  has_label = false;
  std::string reference = text;
  for (size_t i = text.size(); i-- > 0;) {
    const char c = text[i];
    if (sjis::IsTrailByteAt(text, i)) continue;
    if (c == '.' || c == '\\') break;
    if (c == ':') {
      has_label = true;
      label = text.substr(i + 1);
      reference = text.substr(0, i);
      break;
    }
  }
  page_file = reference.substr(0, reference.size() >= 3 ? reference.size() - 3 : 0) + "osb";
}

int TCallMan::EnterEvent(int32_t depth) {
  TTimerList& events = events_;
  TTimerData* event = events.FirstWaiting();
  if (event == nullptr) return 0;
  if (page_ != nullptr && page_->Contains(index_) && entered_ && page_->Command(index_)->BlocksEvents()) return 0;
  std::string page_file;
  std::string label;
  bool has_label = false;
  SplitEventText(event->text, page_file, label, has_label);
  if (!host_.EnsureAvailable(page_file)) {
    // An event whose page cannot be had would stay first in the queue and hold back every
    // later event; it is dropped instead.
    events.Remove(event);
    return 0;
  }
  TStack frame;
  frame.page_name = page_ != nullptr ? page_->Name() : std::string();
  frame.index = index_;
  frame.entered = entered_;
  frame.params = params_;
  frame.sender = sender_;
  frame.continue_flag = continue_;
  if (page_ != nullptr && page_->Contains(index_) && entered_) {
    ByteWriter state;
    page_->Command(index_)->SaveState(state);
    frame.state = state.Take();
  }
  TPage* target = nullptr;
  try {
    target = LoadPage(page_file);
  } catch (const EOrvaError&) {
    // A page that fails to load is dropped with its event, as one that is not available.
    events.Remove(event);
    return 0;
  }
  stack_.Push(std::move(frame));
  page_ = target;
  index_ = has_label ? std::max(page_->FindLabel(label), 0) : 0;
  if (CurrentTraceSink() != nullptr) {
    Trace(page_file, page_->Contains(index_) ? page_->Command(index_)->Line() : 0, "<Event>");
  }
  entered_ = false;
  event->depth = depth;
  params_ = event->params;
  sender_ = event->sender;
  state_ = RunState::kEvent;
  return 1;
}

void TCallMan::Run() {
  int64_t passes_left = passes_per_frame_;
  do {
    switch (state_) {
      case RunState::kMain:
        if (events_.Count() == 0 || EnterEvent(1) != 1) Step();
        break;
      case RunState::kEvent: {
        const int r = Step();
        if (r == 1) {
          events_.RemoveAtDepth(1);
          state_ = RunState::kMain;
          continue_ = true;
        } else if (r == 2) {
          depth_ = 2;
          state_ = RunState::kWaiting;
          return;
        } else if (state_ != RunState::kEvent) {
          continue_ = true;
        }
        break;
      }
      case RunState::kWaiting:
        if (EnterEvent(depth_) == 0) {
          state_ = depth_ > 2 ? RunState::kNested : RunState::kEvent;
        } else {
          ++depth_;
          state_ = RunState::kNested;
        }
        break;
      case RunState::kNested: {
        const int r = Step();
        if (r == 1 || r == -1) {
          --depth_;
          events_.RemoveAtDepth(depth_);
          if (depth_ <= 2) state_ = RunState::kWaiting;
        } else if (r == 2) {
          state_ = RunState::kWaiting;
          return;
        }
        break;
      }
    }
  } while ((continue_ || state_ != RunState::kMain) && !StopRequested() && --passes_left > 0);
}

void TCallMan::Call(const std::string& page_name, int32_t target, const std::string& result_var,
                    std::vector<std::string> args) {
  if (stack_.Count() >= kDeepestCallStack) throw EOrvaError("スタックエラー");
  TStack frame;
  frame.page_name = page_->Name();
  frame.index = index_;
  frame.result_var = result_var;
  frame.continue_flag = continue_;
  frame.sender = sender_;
  frame.params = params_;
  TPage* callee = nullptr;
  try {
    stack_.Push(std::move(frame));
    callee = LoadPage(page_name);
  } catch (const EOrvaError&) {
    // The callee could not be loaded: take the frame back, so that the caller simply goes on.
    stack_.Pop();
    throw;
  }
  params_ = std::move(args);
  page_ = callee;
  index_ = target;
  stack_.Top().result = NewParam(callee->ResultType());
}

void TCallMan::ResetFlow(const std::string& page_name, int32_t target, bool all) {
  store_.FreeFrame(stack_.Count());
  if (all) {
    for (int p = stack_.Count() - 1; p >= 0; --p) {
      TStack& frame = stack_.At(p);
      store_.FreeFrame(p);
      if (frame.sender == nullptr && frame.entered) {
        TPage* page = LoadPage(frame.page_name);
        if (page->Contains(frame.index)) page->Command(frame.index)->Abort();
      }
    }
    Start(page_name);
    index_ = target;
    events_.Clear();
    return;
  }
  int k = -1;
  for (int p = 0; p < stack_.Count(); ++p) {
    if (stack_.At(p).sender != nullptr) {
      k = p;
      break;
    }
  }
  if (k < 0) k = SenderName().empty() ? -1 : stack_.Count();
  int found = -1;
  for (int p = k - 1; p >= 0; --p) {
    if (stack_.At(p).sender == nullptr) {
      found = p;
      break;
    }
  }
  if (found >= 0) {
    store_.FreeFrame(found);
    TStack& frame = stack_.At(found);
    frame.page_name = page_name;
    frame.index = target;
    frame.entered = false;
    frame.result_var.clear();
    frame.params.clear();
    frame.state.reset();
  } else {
    TPage* page = LoadPage(page_name);
    page_ = page;
    index_ = target;
  }
  events_.RemoveRunning();
}

std::string TCallMan::ParamStr(int32_t index) const {
  if (index < 0 || index >= ParamCount()) return {};
  return params_[static_cast<size_t>(index)];
}

std::string TCallMan::SenderName() const {
  if (state_ == RunState::kMain || sender_ == nullptr || !sender_->IsRegistered()) return {};
  return sender_->SenderName();
}

TCustomParam* TCallMan::ResultHolder() {
  if (stack_.Empty()) return nullptr;
  return stack_.Top().result.get();
}

}  // namespace orva
