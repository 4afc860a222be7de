#pragma once
// TDBManager: the player's record tables, the active one, and their blocks in saves.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/builtins/record_table.h"

namespace orva {

class ByteReader;
class ByteWriter;

// Which records a direct access or a copy picks: keys and values are arrays (absent: every record).
struct RecordQuery {
  const TCustomParam* keys = nullptr;
  const TCustomParam* values = nullptr;
  bool ignore_case = false;
  bool partial = false;
};

class TDBManager {
 public:
  static constexpr int32_t kBlockVersion = 100;

  int32_t Count() const { return static_cast<int32_t>(tables_.size()); }
  TDBTable* Table(int32_t index) const { return tables_[static_cast<size_t>(index)].get(); }
  // The active table, or nothing.
  TDBTable* Active() const { return active_ >= 0 ? tables_[static_cast<size_t>(active_)].get() : nullptr; }
  int32_t ActiveIndex() const { return active_; }

  // Index of the table of that name ignoring ASCII case, or -1.
  int32_t Find(std::string_view name) const;
  TDBTable* FindTable(std::string_view name) const;
  // A new empty table that becomes active; false when the name is empty or taken.
  bool Create(std::string name, uint8_t status);
  bool SetActive(std::string_view name);
  // Deletes the named table; the active table stays active by name.
  void Delete(std::string_view name);
  void ClearAll();
  void DeleteGameTables();

  // dest (an existing table other than the active one) takes the active table's fields and the
  // selected records in selection order.
  bool CopySelected(std::string_view dest, const std::vector<int32_t>& selection);
  // Appends the selected records of source (which may be the active table) to the active table;
  // the field lists must be equal.
  bool InsertSelected(std::string_view source, const std::vector<int32_t>& selection);

  // The first selected record of the named table and its field, or nothing.
  struct FieldRef {
    TDBTable* table;
    int32_t record;
    int32_t field;
  };
  std::optional<FieldRef> Direct(std::string_view table, const RecordQuery& query, std::string_view field) const;

  void SaveTables(ByteWriter& writer, uint8_t status) const;
  // Replaces the tables of that status with those of the block; a damaged block raises an error
  // and leaves the tables as they were.
  void LoadTables(ByteReader& reader, uint8_t status);

 private:
  void RemoveAt(int32_t index);

  std::vector<std::unique_ptr<TDBTable>> tables_;
  int32_t active_ = -1;
};

}  // namespace orva
