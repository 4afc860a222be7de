#pragma once
// The control-flow commands: branches, loops, labels, jumps, calls, returns, waits and
// calculations.

#include <cstdint>

#include <utility>

#include "scenario/command.h"

namespace orva {

class TComIf : public TCommand {
 public:
  using TCommand::TCommand;
  void Execute(TCallMan& calls) override;
  TOrvaParser* Condition() const { return Expression(0); }
};

// Reached when a previous branch ran: skips its own block.
class TComElseif : public TComIf {
 public:
  using TComIf::TComIf;
  void Execute(TCallMan& calls) override;
};

class TComElse : public TCommand {
 public:
  TComElse(TPage* page, CommandRecord record)
      : TCommand(page, std::move(record), {.continuation = Continuation::kAlways}) {}
  void Execute(TCallMan& calls) override;
};

class TComLabel : public TCommand {
 public:
  using TCommand::TCommand;
  TComLabel(TPage* page, CommandRecord record, Traits traits) : TCommand(page, std::move(record), traits) {}
  bool IsLabel(std::string_view name) const override { return Text(0) == name; }
};

class TComComment : public TComLabel {
 public:
  TComComment(TPage* page, CommandRecord record)
      : TComLabel(page, std::move(record), {.continuation = Continuation::kNever, .always_disabled = true}) {}
};

class TComJump : public TCommand {
 public:
  using TCommand::TCommand;
  void Execute(TCallMan& calls) override;
};

class TComCall : public TCommand {
 public:
  using TCommand::TCommand;
  void Execute(TCallMan& calls) override;
};

class TComExit : public TCommand {
 public:
  using TCommand::TCommand;
  void Execute(TCallMan& calls) override;
};

class TComBreak : public TComExit {
 public:
  using TComExit::TComExit;
  void Execute(TCallMan& calls) override;
};

class TComContinue : public TComExit {
 public:
  using TComExit::TComExit;
  void Execute(TCallMan& calls) override;
};

class TComWhile : public TCommand {
 public:
  using TCommand::TCommand;
  void Execute(TCallMan& calls) override;
};

class TComRuntime : public TCommand {
 public:
  using TCommand::TCommand;
  TComRuntime(TPage* page, CommandRecord record, Traits traits) : TCommand(page, std::move(record), traits) {}
};

class TComWhileInit : public TComRuntime {
 public:
  TComWhileInit(TPage* page, CommandRecord record)
      : TComRuntime(page, std::move(record), {.continuation = Continuation::kAlways}) {}
  void Execute(TCallMan& calls) override;
};

// Continues as the loop's initialisation does: straight back to the While in the same frame.
class TComWhileLoop : public TComWhileInit {
 public:
  using TComWhileInit::TComWhileInit;
  void Execute(TCallMan& calls) override;
};

class TComCalc : public TCommand {
 public:
  using TCommand::TCommand;
  void Execute(TCallMan& calls) override;
};

class TComDoEvent : public TCommand {
 public:
  TComDoEvent(TPage* page, CommandRecord record)
      : TCommand(page, std::move(record), {.continuation = Continuation::kNever, .waiting = true}) {}
};

// Waits while its condition holds, at most Time milliseconds when Time is positive; the frame in
// which it begins does not count.
class TComWait : public TCommand {
 public:
  TComWait(TPage* page, CommandRecord record) : TCommand(page, std::move(record), {.waiting = true}) {}
  void Begin(TCallMan& calls) override;
  void Execute(TCallMan& calls) override;
  bool BlocksEvents() const override { return blocks_events_; }
  void SaveState(ByteWriter& writer) const override;
  void LoadState(ByteReader& reader) override;

  int32_t Remaining() const { return remaining_; }

 private:
  int32_t remaining_ = 0;
  int32_t skip_ = 1;
  bool blocks_events_ = false;
};

}  // namespace orva
