// Dates and times.

#include <array>

#include "core/encoding.h"
#include "script/builtins/builtin_args.h"
#include "script/builtins/builtin_context.h"
#include "script/builtins/date_time.h"

namespace orva {
namespace {

void EncodeDateBody(BuiltinContext&, FunctionCall& c) {
  c.dest.SetFloat(EncodeDate(ArgInt(c, 0), ArgInt(c, 1), ArgInt(c, 2)));
}

void EncodeTimeBody(BuiltinContext&, FunctionCall& c) {
  c.dest.SetFloat(EncodeTime(ArgInt(c, 0), ArgInt(c, 1), ArgInt(c, 2), 0));
}

// The parts go to the arguments that refer to variables (the element each names).
void WriteParts(FunctionCall& c, int32_t a, int32_t b, int32_t d) {
  const int32_t values[3] = {a, b, d};
  for (size_t k = 0; k < 3; ++k) {
    const size_t i = k + 1;
    if (i < c.args.size() && c.args[i] && c.args[i]->IsReference()) c.args[i]->SetInt(values[k]);
  }
}

void DecodeDateBody(BuiltinContext&, FunctionCall& c) {
  const DateParts parts = DecodeDate(ArgFloat(c, 0));
  WriteParts(c, parts.year, parts.month, parts.day);
}

void DecodeTimeBody(BuiltinContext&, FunctionCall& c) {
  const TimeParts parts = DecodeTime(ArgFloat(c, 0));
  WriteParts(c, parts.hour, parts.minute, parts.second);
}

void GetYear(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(DecodeDate(ArgFloat(c, 0)).year); }
void GetMonth(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(DecodeDate(ArgFloat(c, 0)).month); }
void GetDay(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(DecodeDate(ArgFloat(c, 0)).day); }
void GetHour(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(DecodeTime(ArgFloat(c, 0)).hour); }
void GetMin(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(DecodeTime(ArgFloat(c, 0)).minute); }
void GetSec(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(DecodeTime(ArgFloat(c, 0)).second); }
void GetWeek(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(DecodeDate(ArgFloat(c, 0)).day_of_week); }

// Index 0 .. 6 of a day of the week, or nothing for a date before the year 1.
const std::string* DayName(const std::array<std::string, 7>& names, long double t) {
  const int32_t week = DecodeDate(t).day_of_week;
  return week >= 1 && week <= 7 ? &names[static_cast<size_t>(week - 1)] : nullptr;
}

void GetWeekStr(BuiltinContext&, FunctionCall& c) {
  static const std::array<std::string, 7> kNames = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                                    "Thursday", "Friday", "Saturday"};
  const std::string* name = DayName(kNames, ArgFloat(c, 0));
  c.dest.SetStr(name != nullptr ? *name : std::string());
}

void GetWeekJStr(BuiltinContext&, FunctionCall& c) {
  static const std::array<std::string, 7> kNames = {Utf8ToCp932("日"), Utf8ToCp932("月"), Utf8ToCp932("火"),
                                                    Utf8ToCp932("水"), Utf8ToCp932("木"), Utf8ToCp932("金"),
                                                    Utf8ToCp932("土")};
  const std::string* name = DayName(kNames, ArgFloat(c, 0));
  c.dest.SetStr(name != nullptr ? *name : std::string());
}

constexpr BuiltinRow kRows[] = {
    {51, EncodeDateBody}, {52, EncodeTimeBody}, {53, DecodeDateBody}, {54, DecodeTimeBody},
    {55, GetYear},        {56, GetMonth},       {57, GetDay},         {58, GetHour},
    {59, GetMin},         {60, GetSec},         {61, GetWeek},        {62, GetWeekStr},
    {63, GetWeekJStr},
};

}  // namespace

std::span<const BuiltinRow> DateFunctionRows() { return kRows; }

}  // namespace orva
