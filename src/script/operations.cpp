#include "script/operations.h"

#include <cmath>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "core/error.h"
#include "core/limits.h"
#include "script/function_table.h"
#include "script/operation_semantics.h"
#include "script/orva_parser.h"
#include "script/param_collection.h"
#include "script/param_var.h"

namespace orva {
namespace {

const TCustomParam kNeutral;

std::string IndexText(std::string_view name, std::span<const int32_t> indices) {
  std::string text = Cp932ToUtf8(name) + "[";
  for (size_t k = 0; k < indices.size(); ++k) {
    if (k > 0) text += ",";
    text += std::to_string(indices[k]);
  }
  return text + "]\r\n";
}

}  // namespace

const TCustomParam& OperandOf(const TOpeData& op, size_t k) {
  return k < op.operands.size() ? *op.operands[k] : kNeutral;
}

void ThrowMissingVariable(std::string_view name) {
  throw EOrvaError("\"" + Cp932ToUtf8(name) + "\" 変数がありません");
}

uint8_t TempTypeFor(const TOpeData& op) {
  switch (op.opcode) {
    case ocTo:
      return OperandOf(op, 0).VarType();
    case ocPlus: {
      const uint8_t t = OperandOf(op, 0).VarType();
      return (t == PT_STR || t == PT_FLOAT) ? t : PT_INT;
    }
    case ocMinus: case ocMul: case ocDiv:
      return OperandOf(op, 0).VarType() == PT_FLOAT ? PT_FLOAT : PT_INT;
    case ocDimTo:
      return PT_NONE;
    case ocFunc: {
      const FunctionInfo* info = FunctionById(op.func_id);
      if (info == nullptr) return PT_INT;
      if (op.func_id != kGetPropFunction) return info->result_type;
      const auto type = op.operands.size() >= 2 ? PropertyValueType(op.operands[1]->GetInt()) : std::nullopt;
      if (!type) throw EOrvaError("GetPropの引数が違います");
      return *type;
    }
    case ocEqual: case ocBig: case ocSmall: case ocEBig: case ocESmall: case ocNEqual:
      return PT_BOOL;
    case ocComboStr:
      return PT_STR;
    case ocMod: case ocOr: case ocAnd: case ocXor: case ocShiftL: case ocShiftR:
      return PT_INT;
    default: {
      std::string message = "不正な式\r\n\r\n代入先:" + Cp932ToUtf8(op.dest) + "演算タイプ:";
      const std::string_view identifier = OpcodeIdentifier(op.opcode);
      message += identifier.empty() ? std::to_string(op.opcode) : std::string(identifier);
      for (const auto& operand : op.operands) message += "\r\n" + Cp932ToUtf8(operand->GetStr());
      throw EOrvaError(message);
    }
  }
}

int32_t ElementIndex(const TCustomParam& array, std::string_view name, std::span<const int32_t> indices) {
  const int32_t n = static_cast<int32_t>(indices.size());
  if (array.DimCount() != n) throw EOrvaError(IndexText(name, indices) + "添え字が不正です");
  // Row-major with 32-bit wrap-around; each index is not checked against its own dimension.
  uint32_t flat = 0;
  for (int32_t k = 0; k < n; ++k)
    flat = flat * static_cast<uint32_t>(array.GetDim(k)) + static_cast<uint32_t>(indices[static_cast<size_t>(k)]);
  const int32_t index = static_cast<int32_t>(flat);
  if (index >= array.Count()) throw EOrvaError(IndexText(name, indices) + "要素数を超えています");
  return index;
}

void BindElement(const TOpeData& op, TParamVar& temp, TParamCollectionItem* array) {
  temp.SetTarget(array);
  temp.SetIndex(0);
  if (array == nullptr) ThrowMissingVariable(OperandOf(op, 0).GetStr());
  std::vector<int32_t> indices;
  for (size_t k = 1; k < op.operands.size(); ++k) indices.push_back(op.operands[k]->GetInt());
  temp.SetIndex(ElementIndex(*array->Value(), array->Name(), indices));
}

void Perform(const TOpeData& op, TCustomParam& dest, TParamCollection& store) {
  if (semantics::PerformOnValues(op.opcode, dest, OperandOf(op, 0), OperandOf(op, 1))) return;
  if (op.opcode == ocFunc) {
    if (const TFunctionDispatch* functions = store.Functions()) {
      FunctionCall call{store, dest, op.operands};
      functions->Call(op.func_id, call);
    }
  }
  // ocDimTo acts when its temporary is made; ocNone and unknown codes do nothing.
}

}  // namespace orva
