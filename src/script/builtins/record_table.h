#pragma once
// Record tables: small in-memory tables of fixed-layout records that scenarios create, fill,
// search, sort and copy, load from tab-separated text, and keep in saves.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orva {

class ByteReader;
class ByteWriter;
class TCustomParam;

// Equality ignoring the case of ASCII letters, byte by byte.
bool SameAsciiText(std::string_view a, std::string_view b);

// One column. Type is a value type code: 1 integer, 2 real, 3 flag, 4 string.
struct TDBField {
  std::string name;  // compared ignoring ASCII case
  int32_t size = 0;  // bytes in a record: 4, 10, 1, or a string's declared length + 1
  uint8_t type = 0;
};

class TDBFieldList {
 public:
  int32_t Count() const { return static_cast<int32_t>(fields_.size()); }
  const TDBField& Field(int32_t f) const { return fields_[static_cast<size_t>(f)]; }
  int32_t Offset(int32_t f) const { return offsets_[static_cast<size_t>(f)]; }
  int32_t RecordLength() const { return length_; }
  // The first field of that name ignoring ASCII case, or -1.
  int32_t Find(std::string_view name) const;
  void Add(TDBField field);
  void Clear();
  // Same count and, field by field, the same name (compared exactly), type and size.
  bool operator==(const TDBFieldList& other) const;

 private:
  std::vector<TDBField> fields_;
  std::vector<int32_t> offsets_;
  int32_t length_ = 0;
};

// The record interface every table kind offers. Every access fails (nothing, or false) when the
// record or field index is out of range.
class TDBCustomTable {
 public:
  TDBCustomTable(std::string name, uint8_t status) : name_(std::move(name)), status_(status) {}
  virtual ~TDBCustomTable() = default;

  const std::string& Name() const { return name_; }
  uint8_t Status() const { return status_; }
  void SetStatus(uint8_t status) { status_ = status; }
  const TDBFieldList& Fields() const { return fields_; }

  virtual int32_t RecordCount() const = 0;
  virtual int32_t Current() const = 0;
  // n < 0 sets -1 and succeeds; n >= RecordCount fails.
  virtual bool SetCurrent(int32_t n) = 0;
  // Adds a zeroed record and makes it current; fails when the table would grow too large.
  virtual bool Append() = 0;
  virtual bool DeleteCurrent() = 0;
  virtual bool First() = 0;
  virtual bool Last() = 0;
  virtual bool Next() = 0;
  virtual bool Prior() = 0;
  virtual void ClearRecords() = 0;
  // Fields and records.
  virtual void Clear() = 0;

  virtual std::optional<int32_t> GetInt(int32_t r, int32_t f) const = 0;
  virtual std::optional<long double> GetFloat(int32_t r, int32_t f) const = 0;
  virtual std::optional<bool> GetBool(int32_t r, int32_t f) const = 0;
  virtual std::optional<std::string> GetStr(int32_t r, int32_t f) const = 0;
  virtual bool SetInt(int32_t r, int32_t f, int32_t v) = 0;
  virtual bool SetFloat(int32_t r, int32_t f, long double v) = 0;
  virtual bool SetBool(int32_t r, int32_t f, bool v) = 0;
  virtual bool SetStr(int32_t r, int32_t f, std::string_view v) = 0;

  // The field index, or -1 for a type outside 1 to 4 or a record that would grow too large.
  // Every record grows by the field's size, the new bytes zero.
  virtual int32_t AddField(std::string name, uint8_t type, int32_t length) = 0;

  // Indices of the records matching every key (keys or values absent: every record).
  virtual std::vector<int32_t> Select(const TCustomParam* keys, const TCustomParam* values, bool ignore_case,
                                      bool partial) const = 0;
  // Cleared, then the header line makes the fields and every other non-empty line a record. A
  // header cell with an empty name, or one whose field cannot be made, leaves the table empty.
  virtual void LoadTsv(const std::vector<std::string>& lines) = 0;
  virtual void Sort(const TCustomParam& keys, const TCustomParam& descending) = 0;
  // The table record (name, status, fields, records, current).
  virtual void WriteTo(ByteWriter& writer) const = 0;

 protected:
  std::string name_;
  uint8_t status_;
  TDBFieldList fields_;
};

class TDBTable final : public TDBCustomTable {
 public:
  using TDBCustomTable::TDBCustomTable;
  // Reads a table record; sizes that disagree with the types or the data raise an error.
  static std::unique_ptr<TDBTable> Read(ByteReader& reader);

  int32_t RecordCount() const override { return count_; }
  int32_t Current() const override { return current_; }
  bool SetCurrent(int32_t n) override;
  bool Append() override;
  bool DeleteCurrent() override;
  bool First() override;
  bool Last() override;
  bool Next() override;
  bool Prior() override;
  void ClearRecords() override;
  void Clear() override;

  std::optional<int32_t> GetInt(int32_t r, int32_t f) const override;
  std::optional<long double> GetFloat(int32_t r, int32_t f) const override;
  std::optional<bool> GetBool(int32_t r, int32_t f) const override;
  std::optional<std::string> GetStr(int32_t r, int32_t f) const override;
  bool SetInt(int32_t r, int32_t f, int32_t v) override;
  bool SetFloat(int32_t r, int32_t f, long double v) override;
  bool SetBool(int32_t r, int32_t f, bool v) override;
  bool SetStr(int32_t r, int32_t f, std::string_view v) override;

  int32_t AddField(std::string name, uint8_t type, int32_t length) override;
  std::vector<int32_t> Select(const TCustomParam* keys, const TCustomParam* values, bool ignore_case,
                              bool partial) const override;
  void LoadTsv(const std::vector<std::string>& lines) override;
  // The same from a whole text, taking its lines one at a time.
  void LoadTsvText(std::string_view text);
  void Sort(const TCustomParam& keys, const TCustomParam& descending) override;
  void WriteTo(ByteWriter& writer) const override;

  // Raw records, for copying between tables of equal field lists.
  std::string_view Record(int32_t r) const;
  bool AppendRecord(std::string_view bytes);
  // The fields of another table, without records.
  void TakeFields(const TDBFieldList& fields);

 private:
  // The bytes of field f of record r, or nothing out of range.
  const char* FieldBytes(int32_t r, int32_t f) const;
  char* FieldBytes(int32_t r, int32_t f);
  bool RoomFor(int64_t records, int64_t length) const;
  // next_line gives the lines in order and false after the last.
  void LoadTsvLines(const std::function<bool(std::string_view& line)>& next_line);

  size_t Stride() const { return static_cast<size_t>(fields_.RecordLength()); }

  // The records back to back, RecordLength bytes each: records of a table without fields cost
  // nothing however many there are.
  std::string data_;
  int32_t count_ = 0;
  int32_t current_ = -1;
};

}  // namespace orva
