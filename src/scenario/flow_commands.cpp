#include "scenario/flow_commands.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "scenario/call_host.h"
#include "scenario/call_manager.h"
#include "scenario/command_table.h"
#include "scenario/page.h"
#include "script/param.h"

namespace orva {
namespace {

// Fields by position in the command table.
enum JumpField { kJumpPage = 0, kJumpTarget = 1, kJumpCondition = 2 };
enum CallField { kCallPage = 0, kCallTarget = 1, kCallResultVar = 2, kCallCondition = 3, kCallArgs = 4 };
enum WaitField { kWaitCondition = 0, kWaitTime = 1, kWaitNoEvents = 2 };
enum LoopField { kLoopExpression = 0, kLoopTarget = 1 };

// Skips every following command indented deeper than indent.
void SkipBlock(TCallMan& calls, int32_t indent) {
  TPage* page = calls.CurrentPage();
  while (page->Contains(calls.Index()) && page->Command(calls.Index())->Indent() > indent) calls.Advance();
}

}  // namespace

void TComIf::Execute(TCallMan& calls) {
  calls.Advance();
  if (calls.IsTrue(Condition())) return;
  TPage* page = calls.CurrentPage();
  for (int32_t i = calls.Index(); page->Contains(i); ++i) {
    TCommand* next = page->Command(i);
    if (next->Indent() > Indent()) continue;
    const uint8_t type = next->CommandType();
    if (next->Indent() == Indent() && type == command_id::kElseif) {
      // A false Elseif hands the search on to the next branch of the same chain, so that an
      // Else after it is still reached.
      if (!calls.IsTrue(static_cast<TComElseif*>(next)->Condition())) continue;
      calls.SetIndex(i + 1);
      return;
    }
    calls.SetIndex(next->Indent() == Indent() && type == command_id::kElse ? i + 1 : i);
    return;
  }
  calls.SetIndex(page->Count());
}

void TComElseif::Execute(TCallMan& calls) {
  calls.Advance();
  SkipBlock(calls, Indent());
}

void TComElse::Execute(TCallMan& calls) {
  calls.Advance();
  SkipBlock(calls, Indent());
}

void TComJump::Execute(TCallMan& calls) {
  calls.Advance();
  if (!calls.IsTrue(Expression(kJumpCondition))) return;
  const std::string& page_name = Text(kJumpPage);
  if (!calls.Host().EnsureAvailable(page_name)) return;
  TPage* page = calls.LoadPage(page_name);
  calls.JumpTo(page, Number(kJumpTarget));
}

void TComCall::Execute(TCallMan& calls) {
  calls.Advance();
  if (!calls.IsTrue(Expression(kCallCondition))) return;
  const std::string& page_name = Text(kCallPage);
  if (!calls.Host().EnsureAvailable(page_name)) return;
  std::vector<std::string> args;
  for (const auto& arg : Expressions(kCallArgs)) {
    // An argument that yields no value is left out of the list.
    if (const TCustomParam* value = calls.Evaluate(arg.get())) args.push_back(value->GetStr());
  }
  calls.Call(page_name, Number(kCallTarget), Text(kCallResultVar), std::move(args));
}

void TComExit::Execute(TCallMan& calls) {
  if (calls.IsTrue(Expression(0))) {
    calls.EndPage();
  } else {
    calls.Advance();
  }
}

void TComBreak::Execute(TCallMan& calls) {
  if (!calls.IsTrue(Expression(kLoopExpression))) {
    calls.Advance();
    return;
  }
  const int32_t target = Number(kLoopTarget);
  if (target < 0) {
    calls.EndPage();
  } else {
    calls.SetIndex(target);
  }
}

void TComContinue::Execute(TCallMan& calls) {
  calls.Advance();
  if (!calls.IsTrue(Expression(kLoopExpression))) return;
  const int32_t target = Number(kLoopTarget);
  if (target < 0) {
    calls.EndPage();
  } else {
    calls.SetIndex(target);
  }
}

void TComWhile::Execute(TCallMan& calls) {
  calls.Advance();
  if (!calls.IsTrue(Expression(0))) calls.SetIndex(Number(1));
}

void TComWhileInit::Execute(TCallMan& calls) {
  calls.Advance();
  calls.Evaluate(Expression(kLoopExpression));
}

void TComWhileLoop::Execute(TCallMan& calls) {
  calls.SetIndex(Number(kLoopTarget));
  calls.Evaluate(Expression(kLoopExpression));
}

void TComCalc::Execute(TCallMan& calls) {
  calls.Advance();
  calls.Evaluate(Expression(0));
}

void TComWait::Begin(TCallMan& calls) {
  const TCustomParam* time = calls.Evaluate(Expression(kWaitTime));
  remaining_ = time != nullptr ? time->GetInt() : 0;
  skip_ = 1;
  const TCustomParam* no_events = calls.Evaluate(Expression(kWaitNoEvents));
  blocks_events_ = no_events != nullptr && no_events->GetBool();
}

void TComWait::Execute(TCallMan& calls) {
  const TCustomParam* condition = calls.Evaluate(Expression(kWaitCondition));
  if (condition != nullptr && !condition->GetBool()) {
    calls.Advance();
    return;
  }
  if (remaining_ != 0) {
    if (skip_ <= 0) {
      // 32-bit arithmetic that wraps, as the stored times have always been counted.
      remaining_ = static_cast<int32_t>(static_cast<uint32_t>(remaining_) - calls.Host().Timing().frame_elapsed);
      if (remaining_ <= 0) {
        calls.Advance();
        return;
      }
    } else {
      --skip_;
    }
  }
  calls.SetContinue(false);
}

void TComWait::SaveState(ByteWriter& writer) const {
  WriteStateMarker(writer);
  writer.I32(remaining_);
  writer.I32(skip_);
  writer.Bool(blocks_events_);
}

void TComWait::LoadState(ByteReader& reader) {
  const int version = ReadStateMarker(reader);
  remaining_ = reader.I32();
  skip_ = reader.I32();
  if (version >= 100) blocks_events_ = reader.U8() != 0;
}

}  // namespace orva
