#include "script/var_new.h"

#include "core/error.h"
#include "script/orva_parser.h"

namespace orva {

void CreateVariable(TParamCollection& store, const std::string& name, uint8_t type_code, VarScope scope,
                    TOrvaParser* init) {
  if (name.empty()) throw EOrvaError("変数名がありません");
  TParamCollectionItem* item = store.FindScoped(name, scope == VarScope::kLocal);
  if (item == nullptr) {
    item = store.AddNamedVar(name, type_code);
    if (scope == VarScope::kAutoFree || scope == VarScope::kLocal) item->SetFrame(store.CurrentFrame());
    if (scope == VarScope::kLocal) item->SetLocal(true);
    if (scope == VarScope::kStatus) item->SetStatus(true);
  } else if (item->Status()) {
    return;  // a status variable is never re-initialised
  }
  if (init == nullptr) return;
  init->Execute(store);
  const TCustomParam* result = init->Result();
  if (result == nullptr) return;
  TCustomParam* value = item->Value();
  switch (type_code & 0x7F) {
    case PT_INT: value->SetInt(result->GetInt()); break;
    case PT_FLOAT: value->SetFloat(result->GetFloat()); break;
    case PT_BOOL: value->SetBool(result->GetBool()); break;
    case PT_STR: value->SetStr(result->GetStr()); break;
    default: break;
  }
}

}  // namespace orva
