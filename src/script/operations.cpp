#include "script/operations.h"

#include <cmath>
#include <limits>
#include <string>

#include "core/encoding.h"
#include "core/error.h"
#include "core/limits.h"
#include "script/function_table.h"
#include "script/orva_parser.h"
#include "script/param_collection.h"
#include "script/param_var.h"

namespace orva {
namespace {

const TCustomParam kNeutral;

[[noreturn]] void ThrowInvalidReal() { throw EOrvaError("Invalid floating point operation"); }

// Real arithmetic in extended precision; like the x87 with its usual exception mask, an overflow
// or an invalid operation stops the expression.
long double CheckedReal(long double a, long double b, long double r) {
  if (std::isnan(r) && !std::isnan(a) && !std::isnan(b)) ThrowInvalidReal();
  if (std::isinf(r) && std::isfinite(a) && std::isfinite(b)) throw EOrvaError("Floating point overflow");
  return r;
}

void Arithmetic(uint8_t opcode, TCustomParam& dest, const TCustomParam& a, const TCustomParam& b) {
  if (dest.VarType() == PT_FLOAT) {
    const long double x = a.GetFloat();
    const long double y = b.GetFloat();
    long double r = 0;
    switch (opcode) {
      case ocPlus: r = x + y; break;
      case ocMinus: r = x - y; break;
      case ocMul: r = x * y; break;
      default:
        if (y == 0) {
          if (x == 0 || std::isnan(x)) ThrowInvalidReal();
          throw EOrvaError("Floating point division by zero");
        }
        r = x / y;
        break;
    }
    dest.SetFloat(CheckedReal(x, y, r));
    return;
  }
  const int32_t x = a.GetInt();
  const int32_t y = b.GetInt();
  const uint32_t ux = static_cast<uint32_t>(x);
  const uint32_t uy = static_cast<uint32_t>(y);
  int32_t r = 0;
  switch (opcode) {
    case ocPlus: r = static_cast<int32_t>(ux + uy); break;
    case ocMinus: r = static_cast<int32_t>(ux - uy); break;
    case ocMul: r = static_cast<int32_t>(ux * uy); break;
    default:
      if (y == 0) throw EOrvaError("Division by zero");
      if (x == std::numeric_limits<int32_t>::min() && y == -1) throw EOrvaError("Integer overflow");
      r = x / y;
      break;
  }
  dest.SetInt(r);
}

void IntegerOperation(uint8_t opcode, TCustomParam& dest, const TCustomParam& a, const TCustomParam& b) {
  const int32_t x = a.GetInt();
  const int32_t y = b.GetInt();
  const uint32_t ux = static_cast<uint32_t>(x);
  const uint32_t shift = static_cast<uint32_t>(y) & 31;
  int32_t r = 0;
  switch (opcode) {
    case ocMod:
      if (y == 0) throw EOrvaError("Division by zero");
      if (x == std::numeric_limits<int32_t>::min() && y == -1) throw EOrvaError("Integer overflow");
      r = x % y;
      break;
    case ocOr: r = x | y; break;
    case ocAnd: r = x & y; break;
    case ocXor: r = x ^ y; break;
    case ocShiftL: r = static_cast<int32_t>(ux << shift); break;
    default: r = static_cast<int32_t>(ux >> shift); break;
  }
  dest.SetInt(r);
}

// -1, 0 or 1 in the mode operand a's type decides.
int Compare(const TCustomParam& a, const TCustomParam& b) {
  switch (a.VarType()) {
    case PT_STR: {
      const int c = a.GetStr().compare(b.GetStr());
      return (c > 0) - (c < 0);
    }
    case PT_FLOAT: {
      const long double x = a.GetFloat();
      const long double y = b.GetFloat();
      if (std::isnan(x) || std::isnan(y)) ThrowInvalidReal();
      return (x > y) - (x < y);
    }
    case PT_BOOL: {
      const int x = a.GetBool() ? 1 : 0;
      const int y = b.GetBool() ? 1 : 0;
      return x - y;
    }
    default: {
      const int32_t x = a.GetInt();
      const int32_t y = b.GetInt();
      return (x > y) - (x < y);
    }
  }
}

bool Comparison(uint8_t opcode, int c) {
  switch (opcode) {
    case ocEqual: return c == 0;
    case ocBig: return c > 0;
    case ocSmall: return c < 0;
    case ocEBig: return c >= 0;
    case ocESmall: return c <= 0;
    default: return c != 0;  // ocNEqual
  }
}

std::string IndexText(std::string_view name, const TOpeData& op) {
  std::string text = Cp932ToUtf8(name) + "[";
  for (size_t k = 1; k < op.operands.size(); ++k) {
    if (k > 1) text += ",";
    text += std::to_string(op.operands[k]->GetInt());
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

void BindElement(const TOpeData& op, TParamVar& temp, TParamCollectionItem* array) {
  temp.SetTarget(array);
  temp.SetIndex(0);
  if (array == nullptr) ThrowMissingVariable(OperandOf(op, 0).GetStr());
  const TCustomParam* value = array->Value();
  const std::string_view name = array->Name();
  const int32_t n = op.operands.empty() ? 0 : static_cast<int32_t>(op.operands.size() - 1);
  const int32_t dims = value->DimCount();
  if (dims != n) throw EOrvaError(IndexText(name, op) + "添え字が不正です");
  // Row-major with 32-bit wrap-around; each index is not checked against its own dimension.
  uint32_t flat = 0;
  for (int32_t k = 0; k < n; ++k) {
    flat = flat * static_cast<uint32_t>(value->GetDim(k)) +
           static_cast<uint32_t>(op.operands[static_cast<size_t>(k) + 1]->GetInt());
  }
  const int32_t index = static_cast<int32_t>(flat);
  if (index >= value->Count()) throw EOrvaError(IndexText(name, op) + "要素数を超えています");
  temp.SetIndex(index);
}

void Perform(const TOpeData& op, TCustomParam& dest, TParamCollection& store) {
  const TCustomParam& a = OperandOf(op, 0);
  switch (op.opcode) {
    case ocTo:
      switch (dest.VarType()) {
        case PT_INT: dest.SetInt(a.GetInt()); break;
        case PT_FLOAT: dest.SetFloat(a.GetFloat()); break;
        case PT_BOOL: dest.SetBool(a.GetBool()); break;
        case PT_STR: dest.SetStr(a.GetStr()); break;
        default: break;
      }
      break;
    case ocPlus: case ocMinus: case ocMul: case ocDiv:
      Arithmetic(op.opcode, dest, a, OperandOf(op, 1));
      break;
    case ocMod: case ocOr: case ocAnd: case ocXor: case ocShiftL: case ocShiftR:
      IntegerOperation(op.opcode, dest, a, OperandOf(op, 1));
      break;
    case ocComboStr: {
      std::string text = a.GetStr();
      const std::string tail = OperandOf(op, 1).GetStr();
      if (static_cast<int64_t>(text.size() + tail.size()) > limits::kMaxStringBytes)
        throw EOrvaError("文字列が長すぎます");
      text += tail;
      dest.SetStr(text);
      break;
    }
    case ocEqual: case ocBig: case ocSmall: case ocEBig: case ocESmall: case ocNEqual:
      dest.SetBool(Comparison(op.opcode, Compare(a, OperandOf(op, 1))));
      break;
    case ocFunc:
      if (const TFunctionDispatch* functions = store.Functions()) {
        FunctionCall call{store, dest, op.operands};
        functions->Call(op.func_id, call);
      }
      break;
    default:
      break;  // ocDimTo acts when its temporary is made; ocNone and unknown codes do nothing
  }
}

}  // namespace orva
