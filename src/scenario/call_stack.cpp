#include "scenario/call_stack.h"

#include "core/error.h"
#include "script/param.h"
#include "script/param_collection.h"

namespace orva {

TStack::TStack() = default;
TStack::~TStack() = default;
TStack::TStack(TStack&&) noexcept = default;
TStack& TStack::operator=(TStack&&) noexcept = default;

void TStackList::TellDepth() { store_.SetCurrentFrame(Count()); }

void TStackList::Push(TStack frame) {
  frames_.push_back(std::move(frame));
  TellDepth();
}

TStack TStackList::Pop() {
  if (frames_.empty()) throw EOrvaError("スタックエラー");
  TStack frame = std::move(frames_.back());
  frames_.pop_back();
  TellDepth();
  return frame;
}

void TStackList::Clear() {
  frames_.clear();
  TellDepth();
}

}  // namespace orva
