#pragma once
// TSystemFunctionManager: the player's built-in functions. It fills the store's dispatch with
// every function body it implements and keeps the state they share (random generator, record
// tables, save captions) for as long as the player runs.

#include <cstdint>
#include <memory>

#include "script/builtins/builtin_context.h"
#include "script/function_table.h"

namespace orva {

class TSystemFunctionManager {
 public:
  // Installs itself as the store's functions; the store must outlive the manager.
  TSystemFunctionManager(TParamCollection& store, BuiltinServices services, uint32_t seed);
  ~TSystemFunctionManager();
  TSystemFunctionManager(const TSystemFunctionManager&) = delete;
  TSystemFunctionManager& operator=(const TSystemFunctionManager&) = delete;

  TFunctionDispatch& Dispatch() { return dispatch_; }
  TDBManager& Tables() { return context_->tables; }
  SaveCaptionList& SaveCaptions() { return context_->captions; }

 private:
  std::unique_ptr<BuiltinContext> context_;
  TFunctionDispatch dispatch_;
};

}  // namespace orva
