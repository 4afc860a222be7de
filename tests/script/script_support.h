#pragma once
// Helpers shared by the script tests: Shift-JIS literals, variables, compiling and running text.

#include <string>
#include <string_view>

#include "core/encoding.h"
#include "script/build_parser.h"
#include "script/orva_parser.h"
#include "script/param_collection.h"

namespace orva::test {

// UTF-8 source text as the Shift-JIS bytes a scenario holds.
inline std::string Sjis(std::string_view utf8) { return Utf8ToCp932(utf8); }

TParamCollectionItem* AddInt(TParamCollection& store, const std::string& name, int32_t value);
TParamCollectionItem* AddStr(TParamCollection& store, const std::string& name, const std::string& value);
TParamCollectionItem* AddFloat(TParamCollection& store, const std::string& name, long double value);

// Compiles and runs text once; the expression is kept so its Result can be read.
struct Evaluated {
  TOrvaParser parser;
  Evaluated(TParamCollection& store, std::string_view text);
};

// The operations the compiler makes, one line each: "dest = op a, b".
std::string Listing(std::string_view text);

}  // namespace orva::test
