#include "script/builtins/record_table_manager.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"

namespace orva {

int32_t TDBManager::Find(std::string_view name) const {
  for (size_t i = 0; i < tables_.size(); ++i)
    if (SameAsciiText(tables_[i]->Name(), name)) return static_cast<int32_t>(i);
  return -1;
}

TDBTable* TDBManager::FindTable(std::string_view name) const {
  const int32_t i = Find(name);
  return i >= 0 ? Table(i) : nullptr;
}

bool TDBManager::Create(std::string name, uint8_t status) {
  if (name.empty() || Find(name) >= 0) return false;
  tables_.push_back(std::make_unique<TDBTable>(std::move(name), status));
  active_ = Count() - 1;
  return true;
}

bool TDBManager::SetActive(std::string_view name) {
  const int32_t i = Find(name);
  if (i < 0) return false;
  active_ = i;
  return true;
}

void TDBManager::RemoveAt(int32_t index) {
  const std::string active_name = Active() != nullptr ? Active()->Name() : std::string();
  const TDBTable* active = Active();
  const bool active_goes = active == Table(index);
  tables_.erase(tables_.begin() + index);
  active_ = active_goes || active_name.empty() ? -1 : Find(active_name);
}

void TDBManager::Delete(std::string_view name) {
  const int32_t i = Find(name);
  if (i >= 0) RemoveAt(i);
}

void TDBManager::ClearAll() {
  tables_.clear();
  active_ = -1;
}

void TDBManager::DeleteGameTables() {
  for (int32_t i = Count() - 1; i >= 0; --i)
    if (Table(i)->Status() == 0) tables_.erase(tables_.begin() + i);
  active_ = -1;
}

bool TDBManager::CopySelected(std::string_view dest, const std::vector<int32_t>& selection) {
  TDBTable* active = Active();
  TDBTable* target = FindTable(dest);
  if (active == nullptr || target == nullptr || target == active) return false;
  target->TakeFields(active->Fields());
  for (int32_t r : selection)
    if (!target->AppendRecord(active->Record(r))) return false;
  return true;
}

bool TDBManager::InsertSelected(std::string_view source, const std::vector<int32_t>& selection) {
  TDBTable* active = Active();
  TDBTable* from = FindTable(source);
  if (active == nullptr || from == nullptr || !(from->Fields() == active->Fields())) return false;
  // Copies first: the source may be the active table itself.
  std::vector<std::string> records;
  for (int32_t r : selection) records.emplace_back(from->Record(r));
  for (const std::string& record : records)
    if (!active->AppendRecord(record)) return false;
  return true;
}

std::optional<TDBManager::FieldRef> TDBManager::Direct(std::string_view table, const RecordQuery& query,
                                                       std::string_view field) const {
  TDBTable* t = FindTable(table);
  if (t == nullptr) return std::nullopt;
  const std::vector<int32_t> selected = t->Select(query.keys, query.values, query.ignore_case, query.partial);
  const int32_t f = t->Fields().Find(field);
  if (selected.empty() || f < 0) return std::nullopt;
  return FieldRef{t, selected.front(), f};
}

void TDBManager::SaveTables(ByteWriter& writer, uint8_t status) const {
  writer.I32(kBlockVersion);
  int32_t count = 0;
  for (const auto& table : tables_)
    if (table->Status() == status) ++count;
  writer.I32(count);
  for (const auto& table : tables_) {
    if (table->Status() != status) continue;
    writer.U8(0);  // the only table kind
    table->WriteTo(writer);
  }
  if (status == 0) writer.String(Active() != nullptr ? Active()->Name() : std::string());
}

void TDBManager::LoadTables(ByteReader& reader, uint8_t status) {
  reader.I32();  // the block version; one layout so far
  // The smallest table record: kind, empty name, status, no fields, no records, current.
  const int32_t count = reader.Count(18);
  std::vector<std::unique_ptr<TDBTable>> loaded;
  for (int32_t i = 0; i < count; ++i) {
    if (reader.U8() != 0) throw EOrvaError("テーブルの種類が不正です");
    loaded.push_back(TDBTable::Read(reader));
    // A damaged block may carry a table marked for the other block; it stays with the block it
    // came in, or the next save would drop it and the active name would point elsewhere.
    loaded.back()->SetStatus(status);
  }
  const std::string active_name = status == 0 ? reader.String() : std::string();

  for (int32_t i = Count() - 1; i >= 0; --i)
    if (Table(i)->Status() == status) tables_.erase(tables_.begin() + i);
  const int32_t first_loaded = Count();
  for (auto& table : loaded) tables_.push_back(std::move(table));
  active_ = -1;
  // The active table is one of the saved game's: a status table made since under the same name
  // must not take its place.
  if (status == 0 && !active_name.empty()) {
    for (int32_t i = first_loaded; i < Count() && active_ < 0; ++i)
      if (SameAsciiText(Table(i)->Name(), active_name)) active_ = i;
  }
}

}  // namespace orva
