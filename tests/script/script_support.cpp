#include "script_support.h"

#include "script/opcodes.h"
#include "script/value_type.h"

namespace orva::test {

TParamCollectionItem* AddInt(TParamCollection& store, const std::string& name, int32_t value) {
  TParamCollectionItem* item = store.AddNamedVar(name, PT_INT);
  item->Value()->SetInt(value);
  return item;
}

TParamCollectionItem* AddStr(TParamCollection& store, const std::string& name, const std::string& value) {
  TParamCollectionItem* item = store.AddNamedVar(name, PT_STR);
  item->Value()->SetStr(value);
  return item;
}

TParamCollectionItem* AddFloat(TParamCollection& store, const std::string& name, long double value) {
  TParamCollectionItem* item = store.AddNamedVar(name, PT_FLOAT);
  item->Value()->SetFloat(value);
  return item;
}

Evaluated::Evaluated(TParamCollection& store, std::string_view text) {
  CompileExpression(text, parser);
  parser.Execute(store);
}

std::string Listing(std::string_view text) {
  TBuildOrvaParser builder;
  builder.Compile(text);
  std::string out;
  for (const TBuildOpeData& op : builder.Operations()) {
    if (!out.empty()) out += "; ";
    out += op.dest + " = " + std::string(op.opcode == ocFunc ? "call" : OpcodeIdentifier(op.opcode));
    for (size_t k = 0; k < op.operands.size(); ++k) out += (k == 0 ? " " : ", ") + op.operands[k];
  }
  return out;
}

}  // namespace orva::test
