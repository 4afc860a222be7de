#include "script/builtins/function_manager.h"

#include "script/param_collection.h"

namespace orva {

int32_t GeneralRandom::Below(int32_t n) {
  // The 32 random bits scaled to the range, as the classic generators do.
  const uint32_t bits = static_cast<uint32_t>(engine_());
  return static_cast<int32_t>((static_cast<int64_t>(bits) * n) >> 32);
}

TSystemFunctionManager::TSystemFunctionManager(TParamCollection& store, BuiltinServices services, uint32_t seed)
    : context_(std::make_unique<BuiltinContext>(store, std::move(services), seed)) {
  BuiltinContext* context = context_.get();
  for (auto rows : {StringFunctionRows(), NumberFunctionRows(), ArrayFunctionRows(), DateFunctionRows(),
                    PlayerFunctionRows(), RecordTableFunctionRows()}) {
    for (const BuiltinRow& row : rows) {
      const BuiltinBody body = row.body;
      dispatch_.SetHandler(row.id, [context, body](FunctionCall& call) { body(*context, call); });
    }
  }
  store.SetFunctions(&dispatch_);
}

TSystemFunctionManager::~TSystemFunctionManager() {
  if (context_->store.Functions() == &dispatch_) context_->store.SetFunctions(nullptr);
}

}  // namespace orva
