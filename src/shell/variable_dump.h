#pragma once
// The variables of a run as JSON, for "--dump-vars": every variable that is neither a system
// variable nor a temporary, in store order.

#include <string>

namespace orva {

class TParamCollection;

std::string DumpVariablesJson(const TParamCollection& store);

// A real as a JSON value: at least 17 significant digits; NaN and the infinities as strings.
std::string RealToJson(long double value);
// A Shift-JIS text as a JSON string (converted to UTF-8, escaped).
std::string TextToJson(const std::string& sjis);

}  // namespace orva
