#pragma once
// The call stack: one frame per page call and per event handler, holding what to return to.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orva {

class EventSender;
class TCustomParam;
class TParamCollection;

struct TStack {
  std::string page_name;
  int32_t index = 0;
  bool entered = false;
  std::string result_var;  // Call only
  std::vector<std::string> params;
  EventSender* sender = nullptr;
  bool continue_flag = false;
  // The progress of the interrupted command of an event frame, when it had begun.
  std::optional<std::string> state;
  // The result holder of a call; @Result of the topmost frame.
  std::unique_ptr<TCustomParam> result;

  TStack();
  ~TStack();
  TStack(TStack&&) noexcept;
  TStack& operator=(TStack&&) noexcept;
};

// Every push, pop and clear tells the store the new depth: the call depth of the running page
// is the number of frames.
class TStackList {
 public:
  explicit TStackList(TParamCollection& store) : store_(store) {}

  int Count() const { return static_cast<int>(frames_.size()); }
  bool Empty() const { return frames_.empty(); }
  TStack& At(int position) { return frames_.at(static_cast<size_t>(position)); }
  TStack& Top() { return frames_.back(); }
  const TStack* TopOrNull() const { return frames_.empty() ? nullptr : &frames_.back(); }

  void Push(TStack frame);
  // Raises "スタックエラー" on an empty stack.
  TStack Pop();
  void Clear();

 private:
  void TellDepth();

  TParamCollection& store_;
  std::vector<TStack> frames_;
};

}  // namespace orva
