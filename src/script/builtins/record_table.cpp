#include "script/builtins/record_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "core/extended.h"
#include "core/limits.h"
#include "core/sjis.h"
#include "script/builtins/text_search.h"
#include "script/japanese_text.h"
#include "script/param.h"
#include "script/value_text.h"

namespace orva {
namespace {

constexpr int32_t kDefaultStringLength = 80;

int32_t SizeOfType(uint8_t type, int32_t length) {
  switch (type) {
    case PT_INT: return 4;
    case PT_FLOAT: return 10;
    case PT_BOOL: return 1;
    default: return std::max(length, 0) + 1;
  }
}

// A real into an integer field or read as an integer: to nearest, ties to even.
int32_t RoundToInt(long double v) { return TruncateRealToInt(std::nearbyint(v)); }

}  // namespace

bool SameAsciiText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    char x = a[k];
    char y = b[k];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

int32_t TDBFieldList::Find(std::string_view name) const {
  for (size_t f = 0; f < fields_.size(); ++f)
    if (SameAsciiText(fields_[f].name, name)) return static_cast<int32_t>(f);
  return -1;
}

void TDBFieldList::Add(TDBField field) {
  offsets_.push_back(length_);
  length_ += field.size;
  fields_.push_back(std::move(field));
}

void TDBFieldList::Clear() {
  fields_.clear();
  offsets_.clear();
  length_ = 0;
}

bool TDBFieldList::operator==(const TDBFieldList& other) const {
  if (fields_.size() != other.fields_.size()) return false;
  for (size_t f = 0; f < fields_.size(); ++f) {
    const TDBField& a = fields_[f];
    const TDBField& b = other.fields_[f];
    if (a.name != b.name || a.type != b.type || a.size != b.size) return false;
  }
  return true;
}

bool TDBTable::RoomFor(int64_t records, int64_t length) const {
  return records <= limits::kMaxTableRecords && records * std::max<int64_t>(length, 1) <= limits::kMaxTableBytes;
}

bool TDBTable::SetCurrent(int32_t n) {
  if (n < 0) {
    current_ = -1;
    return true;
  }
  if (n >= RecordCount()) return false;
  current_ = n;
  return true;
}

bool TDBTable::Append() {
  if (!RoomFor(RecordCount() + int64_t{1}, fields_.RecordLength())) return false;
  data_.append(Stride(), '\0');
  ++count_;
  current_ = count_ - 1;
  return true;
}

bool TDBTable::AppendRecord(std::string_view bytes) {
  if (bytes.size() != Stride()) return false;
  if (!RoomFor(RecordCount() + int64_t{1}, fields_.RecordLength())) return false;
  data_.append(bytes);
  ++count_;
  return true;
}

std::string_view TDBTable::Record(int32_t r) const {
  return std::string_view(data_).substr(static_cast<size_t>(r) * Stride(), Stride());
}

bool TDBTable::DeleteCurrent() {
  if (current_ < 0 || current_ >= RecordCount()) return false;
  data_.erase(static_cast<size_t>(current_) * Stride(), Stride());
  --count_;
  if (current_ >= RecordCount()) current_ = RecordCount() - 1;
  return true;
}

bool TDBTable::First() {
  if (count_ == 0) return false;
  current_ = 0;
  return true;
}

bool TDBTable::Last() {
  if (count_ == 0) return false;
  current_ = RecordCount() - 1;
  return true;
}

bool TDBTable::Next() {
  if (current_ + 1 >= RecordCount()) return false;
  ++current_;
  return true;
}

bool TDBTable::Prior() {
  if (current_ <= 0) return false;
  --current_;
  return true;
}

void TDBTable::ClearRecords() {
  data_.clear();
  count_ = 0;
  current_ = -1;
}

void TDBTable::Clear() {
  ClearRecords();
  fields_.Clear();
}

void TDBTable::TakeFields(const TDBFieldList& fields) {
  Clear();
  fields_ = fields;
}

const char* TDBTable::FieldBytes(int32_t r, int32_t f) const {
  if (r < 0 || r >= RecordCount() || f < 0 || f >= fields_.Count()) return nullptr;
  return data_.data() + static_cast<size_t>(r) * Stride() + static_cast<size_t>(fields_.Offset(f));
}

char* TDBTable::FieldBytes(int32_t r, int32_t f) {
  if (r < 0 || r >= RecordCount() || f < 0 || f >= fields_.Count()) return nullptr;
  return data_.data() + static_cast<size_t>(r) * Stride() + static_cast<size_t>(fields_.Offset(f));
}

namespace {

int32_t LoadInt(const char* p) {
  uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<uint8_t>(p[k]);
  return static_cast<int32_t>(v);
}

void StoreInt(char* p, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int k = 0; k < 4; ++k) p[k] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

long double LoadReal(const char* p) {
  ExtendedBytes bytes;
  std::memcpy(bytes.data(), p, bytes.size());
  return DecodeExtended(bytes);
}

void StoreReal(char* p, long double v) {
  const ExtendedBytes bytes = EncodeExtended(v);
  std::memcpy(p, bytes.data(), bytes.size());
}

// The zero-terminated text of a string field of size bytes.
std::string LoadText(const char* p, int32_t size) {
  const auto n = static_cast<size_t>(size);
  const void* end = std::memchr(p, 0, n);
  return std::string(p, end != nullptr ? static_cast<const char*>(end) - p : n);
}

// Cut to the declared length in bytes (a double-byte character may lose its second byte).
void StoreText(char* p, int32_t size, std::string_view text) {
  const auto n = static_cast<size_t>(size);
  std::memset(p, 0, n);
  std::memcpy(p, text.data(), std::min(text.size(), n - 1));
}

}  // namespace

std::optional<int32_t> TDBTable::GetInt(int32_t r, int32_t f) const {
  const char* p = FieldBytes(r, f);
  if (p == nullptr) return std::nullopt;
  const TDBField& field = fields_.Field(f);
  switch (field.type) {
    case PT_INT: return LoadInt(p);
    case PT_FLOAT: return RoundToInt(LoadReal(p));
    case PT_BOOL: return *p != 0 ? 1 : 0;
    default: return ParseIntText(LoadText(p, field.size)).value_or(0);
  }
}

std::optional<long double> TDBTable::GetFloat(int32_t r, int32_t f) const {
  const char* p = FieldBytes(r, f);
  if (p == nullptr) return std::nullopt;
  const TDBField& field = fields_.Field(f);
  switch (field.type) {
    case PT_INT: return static_cast<long double>(LoadInt(p));
    case PT_FLOAT: return LoadReal(p);
    case PT_BOOL: return *p != 0 ? 1.0L : 0.0L;
    default: return ParseRealText(LoadText(p, field.size)).value_or(0.0L);
  }
}

std::optional<bool> TDBTable::GetBool(int32_t r, int32_t f) const {
  const char* p = FieldBytes(r, f);
  if (p == nullptr) return std::nullopt;
  const TDBField& field = fields_.Field(f);
  switch (field.type) {
    case PT_INT: return LoadInt(p) != 0;
    case PT_FLOAT: return LoadReal(p) != 0;
    case PT_BOOL: return *p != 0;
    default: return LoadText(p, field.size) == "TRUE";
  }
}

std::optional<std::string> TDBTable::GetStr(int32_t r, int32_t f) const {
  const char* p = FieldBytes(r, f);
  if (p == nullptr) return std::nullopt;
  const TDBField& field = fields_.Field(f);
  switch (field.type) {
    case PT_INT: return FormatInt(LoadInt(p));
    case PT_FLOAT: return FormatReal(LoadReal(p));
    case PT_BOOL: return std::string(*p != 0 ? "TRUE" : "FALSE");
    default: return LoadText(p, field.size);
  }
}

bool TDBTable::SetInt(int32_t r, int32_t f, int32_t v) {
  char* p = FieldBytes(r, f);
  if (p == nullptr) return false;
  const TDBField& field = fields_.Field(f);
  switch (field.type) {
    case PT_INT: StoreInt(p, v); break;
    case PT_FLOAT: StoreReal(p, v); break;
    case PT_BOOL: *p = v != 0 ? 1 : 0; break;
    default: StoreText(p, field.size, FormatInt(v)); break;
  }
  return true;
}

bool TDBTable::SetFloat(int32_t r, int32_t f, long double v) {
  char* p = FieldBytes(r, f);
  if (p == nullptr) return false;
  const TDBField& field = fields_.Field(f);
  switch (field.type) {
    case PT_INT: StoreInt(p, RoundToInt(v)); break;
    case PT_FLOAT: StoreReal(p, v); break;
    case PT_BOOL: *p = v != 0 ? 1 : 0; break;
    default: StoreText(p, field.size, FormatReal(v)); break;
  }
  return true;
}

bool TDBTable::SetBool(int32_t r, int32_t f, bool v) {
  char* p = FieldBytes(r, f);
  if (p == nullptr) return false;
  const TDBField& field = fields_.Field(f);
  switch (field.type) {
    case PT_INT: StoreInt(p, v ? 1 : 0); break;
    case PT_FLOAT: StoreReal(p, v ? 1 : 0); break;
    case PT_BOOL: *p = v ? 1 : 0; break;
    default: StoreText(p, field.size, v ? "TRUE" : "FALSE"); break;
  }
  return true;
}

bool TDBTable::SetStr(int32_t r, int32_t f, std::string_view v) {
  char* p = FieldBytes(r, f);
  if (p == nullptr) return false;
  const TDBField& field = fields_.Field(f);
  switch (field.type) {
    case PT_INT: StoreInt(p, ParseIntText(v).value_or(0)); break;
    case PT_FLOAT: StoreReal(p, ParseRealText(v).value_or(0.0L)); break;
    case PT_BOOL: *p = v == "TRUE" ? 1 : 0; break;
    default: StoreText(p, field.size, v); break;
  }
  return true;
}

int32_t TDBTable::AddField(std::string name, uint8_t type, int32_t length) {
  if (type < PT_INT || type > PT_STR) return -1;
  const int64_t size = type == PT_STR ? std::max<int64_t>(length, 0) + 1 : SizeOfType(type, 0);
  const int64_t new_length = fields_.RecordLength() + size;
  if (new_length > limits::kMaxTableRecordBytes || !RoomFor(RecordCount(), new_length)) return -1;
  const size_t old_stride = Stride();
  fields_.Add({std::move(name), static_cast<int32_t>(size), type});
  std::string grown(static_cast<size_t>(count_) * Stride(), '\0');
  for (size_t r = 0; r < static_cast<size_t>(count_); ++r)
    grown.replace(r * Stride(), old_stride, data_, r * old_stride, old_stride);
  data_ = std::move(grown);
  return fields_.Count() - 1;
}

std::vector<int32_t> TDBTable::Select(const TCustomParam* keys, const TCustomParam* values, bool ignore_case,
                                      bool partial) const {
  std::vector<int32_t> found;
  if (keys == nullptr || values == nullptr) {
    for (int32_t r = 0; r < RecordCount(); ++r) found.push_back(r);
    return found;
  }
  const int32_t k = std::min(keys->Count(), values->Count());
  std::vector<int32_t> key_fields;
  for (int32_t i = 0; i < k; ++i) key_fields.push_back(fields_.Find(keys->GetStrAt(i)));
  const uint8_t kind = values->VarType();
  for (int32_t r = 0; r < RecordCount(); ++r) {
    bool match = true;
    for (int32_t i = 0; i < k && match; ++i) {
      const int32_t f = key_fields[static_cast<size_t>(i)];
      // A key that names no field ends the selection with what was found so far.
      if (f < 0) return found;
      switch (kind) {
        case PT_FLOAT: match = *GetFloat(r, f) == values->GetFloatAt(i); break;
        case PT_BOOL: match = *GetBool(r, f) == values->GetBoolAt(i); break;
        case PT_STR: {
          std::string text = *GetStr(r, f);
          std::string wanted = values->GetStrAt(i);
          if (partial) {
            if (ignore_case) {
              text = sjis::AnsiUpperCase(text);
              wanted = sjis::AnsiUpperCase(wanted);
            }
            // An empty text is found nowhere, as with the classic position search.
            match = FindBytes(wanted, text) != std::string::npos;
          } else {
            match = ignore_case ? SameAsciiText(text, wanted) : text == wanted;
          }
          break;
        }
        default: match = *GetInt(r, f) == values->GetIntAt(i); break;
      }
    }
    if (match) found.push_back(r);
  }
  return found;
}

namespace {

// Backslash before a double quote or a backslash is dropped; backslash-n is a line break.
std::string Unescape(std::string_view line) {
  std::string out;
  for (size_t k = 0; k < line.size(); ++k) {
    if (line[k] == '\\' && k + 1 < line.size()) {
      const char next = line[k + 1];
      if (next == '"' || next == '\\') {
        out += next;
        ++k;
        continue;
      }
      if (next == 'n') {
        out += "\r\n";
        ++k;
        continue;
      }
    }
    out += line[k];
  }
  return out;
}

// The first max_cells cells of a line: the cells past the fields are never read.
std::vector<std::string> SplitTabs(std::string_view line, size_t max_cells) {
  std::vector<std::string> cells;
  size_t start = 0;
  while (cells.size() < max_cells) {
    const size_t tab = line.find('\t', start);
    cells.emplace_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return cells;
    start = tab + 1;
  }
  return cells;
}

uint8_t TypeOfWord(const std::string& word) {
  if (word == "int") return PT_INT;
  if (word == "float") return PT_FLOAT;
  if (word == "bool") return PT_BOOL;
  return PT_STR;
}

}  // namespace

void TDBTable::LoadTsv(const std::vector<std::string>& lines) {
  size_t next = 0;
  LoadTsvLines([&](std::string_view& line) {
    if (next >= lines.size()) return false;
    line = lines[next++];
    return true;
  });
}

void TDBTable::LoadTsvText(std::string_view text) {
  LineReader reader(text);
  LoadTsvLines([&](std::string_view& line) { return reader.Next(line); });
}

void TDBTable::LoadTsvLines(const std::function<bool(std::string_view& line)>& next_line) {
  Clear();
  std::string_view header;
  if (!next_line(header)) return;
  // Every field takes at least a byte of the record, so a header of more cells cannot load.
  for (const std::string& cell : SplitTabs(header, static_cast<size_t>(limits::kMaxTableRecordBytes) + 1)) {
    std::string rest = cell;
    const std::string name = SplitFirst(rest, " ");
    const std::string type = SplitFirst(rest, " ");
    const std::string length = SplitFirst(rest, " ");
    // A field that cannot be made ends the load like an empty name: the columns would not match.
    if (name.empty() || AddField(name, TypeOfWord(type), ParseIntText(length).value_or(kDefaultStringLength)) < 0) {
      fields_.Clear();
      return;
    }
  }
  for (std::string_view line; next_line(line);) {
    if (line.empty()) continue;
    const std::vector<std::string> cells = SplitTabs(Unescape(line), static_cast<size_t>(fields_.Count()));
    if (!Append()) return;
    const int32_t n = std::min(static_cast<int32_t>(cells.size()), fields_.Count());
    for (int32_t f = 0; f < n; ++f) SetStr(current_, f, cells[static_cast<size_t>(f)]);
  }
}

namespace {

int CompareReals(long double a, long double b) {
  // Not-a-number sorts below every number so that the order stays total.
  const bool a_nan = std::isnan(a);
  const bool b_nan = std::isnan(b);
  if (a_nan || b_nan) return a_nan == b_nan ? 0 : (a_nan ? -1 : 1);
  return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

void TDBTable::Sort(const TCustomParam& keys, const TCustomParam& descending) {
  struct Key {
    int32_t field;
    bool descending;
  };
  std::vector<Key> sort_keys;
  const int32_t n = std::min(keys.Count(), descending.Count());
  // A field named again can never decide: its earlier key already compared equal. Leaving it out
  // keeps a long array of keys from multiplying the work of every comparison.
  std::vector<bool> used(static_cast<size_t>(fields_.Count()), false);
  for (int32_t i = 0; i < n; ++i) {
    const int32_t f = fields_.Find(keys.GetStrAt(i));
    if (f < 0 || used[static_cast<size_t>(f)]) continue;
    used[static_cast<size_t>(f)] = true;
    sort_keys.push_back({f, descending.GetBoolAt(i)});
  }
  if (sort_keys.empty()) return;
  auto compare = [&](int32_t x, int32_t y) {
    for (const Key& key : sort_keys) {
      const TDBField& field = fields_.Field(key.field);
      const char* a = FieldBytes(x, key.field);
      const char* b = FieldBytes(y, key.field);
      int result = 0;
      switch (field.type) {
        case PT_INT: {
          const int64_t d = int64_t{LoadInt(a)} - LoadInt(b);
          result = d < 0 ? -1 : (d > 0 ? 1 : 0);
          break;
        }
        case PT_FLOAT: result = CompareReals(LoadReal(a), LoadReal(b)); break;
        case PT_BOOL: result = static_cast<uint8_t>(*a) - static_cast<uint8_t>(*b); break;
        default: result = LoadText(a, field.size).compare(LoadText(b, field.size)); break;
      }
      if (key.descending) result = -result;
      if (result != 0) return result < 0;
    }
    return false;
  };
  std::vector<int32_t> order(static_cast<size_t>(count_));
  for (int32_t r = 0; r < count_; ++r) order[static_cast<size_t>(r)] = r;
  std::sort(order.begin(), order.end(), compare);
  std::string sorted;
  sorted.reserve(data_.size());
  for (int32_t r : order) sorted.append(Record(r));
  data_ = std::move(sorted);
}

void TDBTable::WriteTo(ByteWriter& writer) const {
  writer.String(name_);
  writer.U8(status_);
  writer.I32(fields_.Count());
  for (int32_t f = 0; f < fields_.Count(); ++f) {
    const TDBField& field = fields_.Field(f);
    writer.I32(field.size);
    writer.String(field.name);
    writer.U8(field.type);
  }
  writer.I32(RecordCount());
  writer.Chars(data_);
  writer.I32(current_);
}

std::unique_ptr<TDBTable> TDBTable::Read(ByteReader& reader) {
  std::string name = reader.String();
  const uint8_t status = reader.U8();
  auto table = std::make_unique<TDBTable>(std::move(name), status);
  // A field takes at least 9 bytes: size, empty name, type.
  const int32_t field_count = reader.Count(9);
  for (int32_t f = 0; f < field_count; ++f) {
    const int32_t size = reader.I32();
    std::string field_name = reader.String();
    const uint8_t type = reader.U8();
    const bool fits = type >= PT_INT && type <= PT_STR &&
                      (type == PT_STR ? size >= 1 : size == SizeOfType(type, 0)) &&
                      table->fields_.RecordLength() + int64_t{size} <= limits::kMaxTableRecordBytes;
    if (!fits) throw EOrvaError("テーブルのフィールドが不正です");
    table->fields_.Add({std::move(field_name), size, type});
  }
  const int32_t length = table->fields_.RecordLength();
  const int32_t record_count = reader.Count(static_cast<size_t>(length));
  if (!table->RoomFor(record_count, length)) throw EOrvaError("テーブルのレコードが多すぎます");
  table->data_ = std::string(reader.Chars(static_cast<size_t>(record_count) * static_cast<size_t>(length)));
  table->count_ = record_count;
  const int32_t current = reader.I32();
  table->current_ = current >= 0 && current < record_count ? current : -1;
  return table;
}

}  // namespace orva
