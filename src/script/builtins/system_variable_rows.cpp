#include "script/builtins/system_variable_rows.h"

#include "core/error.h"

namespace orva {

void SystemVariableRows::SetRow(int row, Row handlers) {
  if (row < 0 || row >= kSystemVariableRows) throw EOrvaError("内部エラー");
  rows_[static_cast<size_t>(row)] = std::move(handlers);
}

const SystemVariableRows::Row* SystemVariableRows::Find(int row) const {
  if (row < 0 || row >= kSystemVariableRows) return nullptr;
  return &rows_[static_cast<size_t>(row)];
}

TCustomParam* SystemVariableRows::Underlying(int row) {
  const Row* r = Find(row);
  return r != nullptr && r->underlying ? r->underlying() : nullptr;
}

uint8_t SystemVariableRows::Type(int row) {
  const Row* r = Find(row);
  if (r != nullptr && r->type) return r->type();
  return SystemVariableRow(row).type;
}

int32_t SystemVariableRows::Count(int row) {
  const Row* r = Find(row);
  return r != nullptr && r->count ? r->count() : 1;
}

void SystemVariableRows::Read(int row, int32_t index, SystemValue& out) {
  const Row* r = Find(row);
  if (r != nullptr && r->read) r->read(index, out);
}

void SystemVariableRows::Write(int row, int32_t index, const SystemValue& value) {
  const Row* r = Find(row);
  if (r != nullptr && r->write) r->write(index, value);
}

}  // namespace orva
