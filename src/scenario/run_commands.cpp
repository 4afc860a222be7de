#include "scenario/run_commands.h"

#include "core/error.h"
#include "core/stop_flag.h"
#include "scenario/call_host.h"
#include "scenario/call_manager.h"
#include "script/param.h"
#include "script/param_collection.h"
#include "script/var_new.h"

namespace orva {
namespace {

enum VarNewField { kVarName = 0, kVarType = 1, kVarInit = 2, kVarScope = 3 };
enum SaveField { kSaveSlot = 0, kSavePage = 1, kSaveValue = 2, kSaveCaption = 3 };
enum ResetField { kResetPage = 0, kResetTarget = 1, kResetAll = 2 };

}  // namespace

void TComVarNew::Execute(TCallMan& calls) {
  calls.Advance();
  CreateVariable(calls.Store(), Text(kVarName), static_cast<uint8_t>(Number(kVarType)),
                 static_cast<VarScope>(Number(kVarScope)), Expression(kVarInit));
}

void TComVarDel::Execute(TCallMan& calls) {
  calls.Advance();
  const std::string& name = Text(0);
  if (name.empty()) return;
  if (TParamCollectionItem* variable = calls.Store().FindVar(name)) calls.Store().DeleteVar(variable);
}

void TComGameSave::Execute(TCallMan& calls) {
  calls.Advance();
  const TCustomParam* slot = calls.Evaluate(Expression(kSaveSlot));
  const int32_t slot_number = slot != nullptr ? slot->GetInt() : 0;
  const TCustomParam* caption = calls.Evaluate(Expression(kSaveCaption));
  const std::string caption_text = caption != nullptr ? caption->GetStr() : std::string();
  calls.Host().RequestSave(slot_number, Text(kSavePage), caption_text, Number(kSaveValue));
}

void TComGameLoad::Execute(TCallMan& calls) {
  calls.Advance();
  const TCustomParam* slot = calls.Evaluate(Expression(0));
  calls.Host().RequestLoad(slot != nullptr ? slot->GetInt() : 0);
}

// Both resets advance first like every command, so that one whose page cannot be loaded is passed
// rather than run again at every step.
void TComPCReset::Execute(TCallMan& calls) {
  calls.Advance();
  calls.ResetFlow(Text(kResetPage), Number(kResetTarget), Number(kResetAll) != 0);
}

void TComReset::Execute(TCallMan& calls) {
  calls.Advance();
  calls.Host().ResetTitleState();
  calls.Store().ResetGameVars();
  calls.Start(Text(kResetPage));
  calls.SetIndex(Number(kResetTarget));
}

void TComTerminate::Execute(TCallMan& calls) {
  SetStopRequested(true);
  calls.Host().RequestClose();
}

}  // namespace orva
