#pragma once
// What the variable-creation command does to the store.

#include <cstdint>
#include <string>

#include "script/param_collection.h"

namespace orva {

class TOrvaParser;

// Creates the variable unless the scope already has one, then assigns the initial value (when
// init yields one) through the declared type's setter; an existing status variable is left as it
// is. Fails with "変数名がありません" for an empty name and with the name check's error.
void CreateVariable(TParamCollection& store, const std::string& name, uint8_t type_code, VarScope scope,
                    TOrvaParser* init);

}  // namespace orva
