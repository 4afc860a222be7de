#pragma once
// The semantics of the value operations, written once for every kind of operand access: the
// store's values through their virtual interface, and the typed cells of bound expressions.

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "core/error.h"
#include "core/limits.h"
#include "script/opcodes.h"
#include "script/value_type.h"

namespace orva::semantics {

[[noreturn]] inline void ThrowInvalidReal() { throw EOrvaError("Invalid floating point operation"); }

// Real arithmetic in extended precision; like the x87 with its usual exception mask, an overflow
// or an invalid operation stops the expression.
inline long double CheckedReal(long double a, long double b, long double r) {
  if (std::isnan(r) && !std::isnan(a) && !std::isnan(b)) ThrowInvalidReal();
  if (std::isinf(r) && std::isfinite(a) && std::isfinite(b)) throw EOrvaError("Floating point overflow");
  return r;
}

template <typename Value>
void Arithmetic(uint8_t opcode, Value& dest, const Value& a, const Value& b) {
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

template <typename Value>
void IntegerOperation(uint8_t opcode, Value& dest, const Value& a, const Value& b) {
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
template <typename Value>
int Compare(const Value& a, const Value& b) {
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

inline bool Comparison(uint8_t opcode, int c) {
  switch (opcode) {
    case ocEqual: return c == 0;
    case ocBig: return c > 0;
    case ocSmall: return c < 0;
    case ocEBig: return c >= 0;
    case ocESmall: return c <= 0;
    default: return c != 0;  // ocNEqual
  }
}

// ocTo, arithmetic, bitwise, shifts, concatenation and comparisons; false for other codes.
template <typename Value>
bool PerformOnValues(uint8_t opcode, Value& dest, const Value& a, const Value& b) {
  switch (opcode) {
    case ocTo:
      switch (dest.VarType()) {
        case PT_INT: dest.SetInt(a.GetInt()); break;
        case PT_FLOAT: dest.SetFloat(a.GetFloat()); break;
        case PT_BOOL: dest.SetBool(a.GetBool()); break;
        case PT_STR: dest.SetStr(a.GetStr()); break;
        default: break;
      }
      return true;
    case ocPlus: case ocMinus: case ocMul: case ocDiv:
      Arithmetic(opcode, dest, a, b);
      return true;
    case ocMod: case ocOr: case ocAnd: case ocXor: case ocShiftL: case ocShiftR:
      IntegerOperation(opcode, dest, a, b);
      return true;
    case ocComboStr: {
      std::string text = a.GetStr();
      const std::string tail = b.GetStr();
      if (static_cast<int64_t>(text.size() + tail.size()) > limits::kMaxStringBytes)
        throw EOrvaError("文字列が長すぎます");
      text += tail;
      dest.SetStr(text);
      return true;
    }
    case ocEqual: case ocBig: case ocSmall: case ocEBig: case ocESmall: case ocNEqual:
      dest.SetBool(Comparison(opcode, Compare(a, b)));
      return true;
    default:
      return false;
  }
}

}  // namespace orva::semantics
