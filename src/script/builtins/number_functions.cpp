// Numbers: conversions, arithmetic helpers, trigonometry and the random generator.

#include <cmath>

#include "core/error.h"
#include "script/builtins/builtin_args.h"
#include "script/builtins/builtin_context.h"
#include "script/value_text.h"

namespace orva {
namespace {

// A result that is not a number came from an argument outside the function's domain; one that
// is infinite from finite arguments overflowed.
long double Checked(long double result) {
  if (std::isnan(result)) throw EOrvaError("浮動小数点演算が不正です");
  if (std::isinf(result)) throw EOrvaError("浮動小数点演算でオーバーフローしました");
  return result;
}

void Int(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(TruncateRealToInt(ArgFloat(c, 0))); }
void Float(BuiltinContext&, FunctionCall& c) { c.dest.SetFloat(ArgFloat(c, 0)); }
void Sin(BuiltinContext&, FunctionCall& c) { c.dest.SetFloat(Checked(std::sin(ArgFloat(c, 0)))); }
void Cos(BuiltinContext&, FunctionCall& c) { c.dest.SetFloat(Checked(std::cos(ArgFloat(c, 0)))); }
void Tan(BuiltinContext&, FunctionCall& c) { c.dest.SetFloat(Checked(std::tan(ArgFloat(c, 0)))); }
void ArcSin(BuiltinContext&, FunctionCall& c) { c.dest.SetFloat(Checked(std::asin(ArgFloat(c, 0)))); }
void ArcCos(BuiltinContext&, FunctionCall& c) { c.dest.SetFloat(Checked(std::acos(ArgFloat(c, 0)))); }
void ArcTan(BuiltinContext&, FunctionCall& c) { c.dest.SetFloat(Checked(std::atan(ArgFloat(c, 0)))); }
void ArcTan2(BuiltinContext&, FunctionCall& c) {
  c.dest.SetFloat(Checked(std::atan2(ArgFloat(c, 0), ArgFloat(c, 1))));
}
void Hypot(BuiltinContext&, FunctionCall& c) { c.dest.SetFloat(Checked(std::hypot(ArgFloat(c, 0), ArgFloat(c, 1)))); }

void Abs(BuiltinContext&, FunctionCall& c) {
  const int32_t n = ArgInt(c, 0);
  // The smallest integer has no positive counterpart and stays as it is.
  c.dest.SetInt(n < 0 ? static_cast<int32_t>(0u - static_cast<uint32_t>(n)) : n);
}
void Fabs(BuiltinContext&, FunctionCall& c) { c.dest.SetFloat(std::fabs(ArgFloat(c, 0))); }
void Min(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(std::min(ArgInt(c, 0), ArgInt(c, 1))); }
void Max(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(std::max(ArgInt(c, 0), ArgInt(c, 1))); }
void Fmin(BuiltinContext&, FunctionCall& c) {
  const long double a = ArgFloat(c, 0);
  const long double b = ArgFloat(c, 1);
  c.dest.SetFloat(a < b ? a : b);
}
void Fmax(BuiltinContext&, FunctionCall& c) {
  const long double a = ArgFloat(c, 0);
  const long double b = ArgFloat(c, 1);
  c.dest.SetFloat(a > b ? a : b);
}

void Random(BuiltinContext& context, FunctionCall& c) { c.dest.SetInt(context.random.Below(ArgInt(c, 0))); }

void StrToIntDef(BuiltinContext&, FunctionCall& c) {
  c.dest.SetInt(ParseIntText(ArgStr(c, 0)).value_or(ArgInt(c, 1)));
}
void StrToFloatDef(BuiltinContext&, FunctionCall& c) {
  c.dest.SetFloat(ParseRealText(ArgStr(c, 0)).value_or(ArgFloat(c, 1)));
}

void Not(BuiltinContext&, FunctionCall& c) { c.dest.SetBool(!ArgBool(c, 0)); }
void GetVarType(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(Arg(c, 0).VarType()); }

constexpr BuiltinRow kRows[] = {
    {20, Not},     {26, Random},   {37, Int},        {38, Float},        {39, Sin},           {40, Cos},
    {41, Tan},     {42, ArcSin},   {43, ArcCos},     {44, ArcTan},       {45, ArcTan2},       {46, Hypot},
    {48, Abs},     {49, Fabs},     {126, Min},       {127, Max},         {128, Fmin},         {129, Fmax},
    {130, GetVarType}, {138, StrToIntDef}, {139, StrToFloatDef},
};

}  // namespace

std::span<const BuiltinRow> NumberFunctionRows() { return kRows; }

}  // namespace orva
