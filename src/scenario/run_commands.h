#pragma once
// Commands that act on the variable store and on the run as a whole: variable creation and
// deletion, save and load requests, flow resets and the end of the run.

#include <utility>

#include "scenario/command.h"

namespace orva {

class TComVarNew : public TCommand {
 public:
  using TCommand::TCommand;
  void Execute(TCallMan& calls) override;
};

class TComVarDel : public TCommand {
 public:
  using TCommand::TCommand;
  void Execute(TCallMan& calls) override;
};

// Save and load happen between frames: neither command continues, so the frame's commands end.
class TComGameSave : public TCommand {
 public:
  TComGameSave(TPage* page, CommandRecord record)
      : TCommand(page, std::move(record), {.continuation = Continuation::kNever}) {}
  void Execute(TCallMan& calls) override;
};

class TComGameLoad : public TCommand {
 public:
  TComGameLoad(TPage* page, CommandRecord record)
      : TCommand(page, std::move(record), {.continuation = Continuation::kNever}) {}
  void Execute(TCallMan& calls) override;
};

class TComPCReset : public TCommand {
 public:
  using TCommand::TCommand;
  void Execute(TCallMan& calls) override;
};

class TComReset : public TComPCReset {
 public:
  using TComPCReset::TComPCReset;
  void Execute(TCallMan& calls) override;
};

class TComTerminate : public TCommand {
 public:
  using TCommand::TCommand;
  void Execute(TCallMan& calls) override;
};

}  // namespace orva
