#include "command_records_support.h"

#include "scenario/command_table.h"
#include "scenario/expression_listing.h"

namespace orva::test {

CommandRecord Command(uint8_t type, std::vector<StoredField> fields) {
  CommandRecord c;
  c.type_byte = type;
  c.continue_flag = 1;
  c.fields = std::move(fields);
  return c;
}

StoredField Expr(const std::string& text) {
  StoredField f;
  f.expressions.push_back({-1, ExpressionTextToRecord(text)});
  return f;
}

StoredField Text(const std::string& text) {
  StoredField f;
  f.bytes = text;
  return f;
}

StoredField Number(int32_t n) {
  StoredField f;
  f.number = n;
  return f;
}

CommandRecord VarNew(const std::string& name, int32_t type, const std::string& init) {
  return Command(command_id::kVarNew, {Text(name), Number(type), Expr(init), Number(0)});
}

}  // namespace orva::test
