#pragma once
// The control-flow commands: branches, loops, labels, jumps, calls, returns, waits and
// calculations.

#include <cstdint>

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
  using TCommand::TCommand;
  bool Continues() const override { return true; }
  void Execute(TCallMan& calls) override;
};

class TComLabel : public TCommand {
 public:
  using TCommand::TCommand;
  bool IsLabel(std::string_view name) const override { return Text(0) == name; }
};

class TComComment : public TComLabel {
 public:
  using TComLabel::TComLabel;
  bool Continues() const override { return false; }
  bool IsDisabled() const override { return true; }
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
};

class TComWhileInit : public TComRuntime {
 public:
  using TComRuntime::TComRuntime;
  bool Continues() const override { return true; }
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
  using TCommand::TCommand;
  bool Continues() const override { return false; }
  bool IsWaiting() const override { return true; }
};

// Waits while its condition holds, at most Time milliseconds when Time is positive; the frame in
// which it begins does not count.
class TComWait : public TCommand {
 public:
  using TCommand::TCommand;
  void Begin(TCallMan& calls) override;
  void Execute(TCallMan& calls) override;
  bool IsWaiting() const override { return true; }
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
