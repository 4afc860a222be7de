// Record tables: a saved block of tables, or a tab-separated text, read and written back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "script/builtins/record_table_manager.h"
#include "script/builtins/text_search.h"
#include "script/param_types.h"

namespace {

// Writes the tables of the status out, reads them into a fresh manager, and demands the same bytes.
void RoundTrip(const orva::TDBManager& tables, uint8_t status) {
  orva::ByteWriter first;
  tables.SaveTables(first, status);
  orva::TDBManager again;
  orva::ByteReader reader(first.Data());
  again.LoadTables(reader, status);
  orva::ByteWriter second;
  again.SaveTables(second, status);
  if (first.Data() != second.Data() || !reader.AtEnd()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  orva::TDBManager tables;
  const uint8_t status = mode & 1;
  try {
    if ((mode & 2) == 0) {
      orva::ByteReader reader(bytes);
      tables.LoadTables(reader, status);
    } else {
      tables.Create("t", status);
      orva::TDBTable& table = *tables.Active();
      table.LoadTsv(orva::SplitLines(bytes));
      if (table.Fields().Count() > 0 && table.RecordCount() > 0) {
        orva::TParamStr keys;
        keys.SetStr(table.Fields().Field(0).name);
        orva::TParamStr values;
        values.SetStr(*table.GetStr(0, 0));
        orva::TParamFlag descending;
        descending.SetBool(mode & 4);
        table.Sort(keys, descending);
        if (table.Select(&keys, &values, mode & 8, mode & 16).empty() && (mode & 16) == 0) std::abort();
      }
    }
  } catch (const orva::EOrvaError&) {
    return 0;
  }
  RoundTrip(tables, status);
  return 0;
}
