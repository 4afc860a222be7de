#pragma once
// A scenario page file as stored: header, property sets and command records with every field in
// its stored form (expressions as their record bytes). The player builds its commands from this;
// the page tools list and rebuild it byte for byte.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/command_table.h"

namespace orva {

inline constexpr int32_t kOldestPageVersion = 103;
inline constexpr int32_t kNewestPageVersion = 110;
inline constexpr int kPropertySetBytes = 21;
inline constexpr int kPropertyIdCount = 162;

using PropertySet = std::array<uint8_t, kPropertySetBytes>;

inline bool HasProperty(const PropertySet& set, int id) { return (set[id / 8] >> (id % 8)) & 1; }

struct ExpressionBytes {
  int property_id = -1;  // the property of a property block entry; -1 elsewhere
  std::string record;    // the expression record exactly as stored
};

struct StoredField {
  int32_t number = 0;   // Int32, Byte, Flag; the stored count of a string, list or glyph stream
  std::string bytes;    // String, GlyphStream
  std::vector<ExpressionBytes> expressions;  // Expression (one), ExpressionList, PropertyBlock
};

struct CommandRecord {
  uint8_t type_byte = 0;  // as stored: the top bit is kept but carries no meaning
  int32_t indent = 0;
  uint8_t disabled = 0;
  uint8_t continue_flag = 0;
  int32_t line = 0;
  std::vector<StoredField> fields;  // one per field of the type that the page's version has

  uint8_t TypeId() const { return type_byte & 0x7F; }
  const CommandLayout& Layout() const { return *FindCommandLayout(TypeId()); }
};

struct PageRecord {
  int32_t version = kNewestPageVersion;
  uint8_t result_type = 1;
  int32_t set_count = 0;
  int32_t set_size = kPropertySetBytes;
  std::string sets;  // the stored property sets, set_count * set_size bytes
  std::vector<CommandRecord> commands;
  // Pages outside the versions read (below 103, above 110): everything after the version, kept.
  std::string unread_body;

  bool IsReadable() const { return version >= kOldestPageVersion && version <= kNewestPageVersion; }
  // The set of a command type: the first 21 bytes of its stored set, zero beyond what is stored.
  PropertySet SetOf(uint8_t type_id) const;
};

// Raises EOrvaError for a truncated or damaged page and for an unknown command type
// ("不正なコマンド"). Pages outside the versions read keep their body unread.
PageRecord ReadPageRecord(std::string_view bytes);
std::string WritePageRecord(const PageRecord& page);

// Moves the reader over one expression record, checking its counts against the bytes left.
class ByteReader;
void SkipExpressionRecord(ByteReader& reader);

}  // namespace orva
