#pragma once
// Page commands built in code for the title tests: a command with Continue set and its stored
// fields.

#include <cstdint>
#include <string>
#include <vector>

#include "scenario/page_record.h"

namespace orva::test {

CommandRecord Command(uint8_t type, std::vector<StoredField> fields);
StoredField Expr(const std::string& text);
StoredField Text(const std::string& text);
StoredField Number(int32_t n);
// VarNew of a game variable of the type code, set to the expression's value.
CommandRecord VarNew(const std::string& name, int32_t type, const std::string& init);

}  // namespace orva::test
