#include "scenario/page_record.h"

#include <algorithm>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"

namespace orva {
namespace {

constexpr size_t kSmallestExpressionRecord = 4;
constexpr size_t kSmallestOperation = 1 + 4 + 4;
constexpr size_t kSmallestOperand = 2;

std::string ReadExpressionBytes(ByteReader& reader) {
  const size_t start = reader.Position();
  SkipExpressionRecord(reader);
  const size_t end = reader.Position();
  reader.Seek(start);
  return std::string(reader.Chars(end - start));
}

// A stored count of records; a negative count stands for none but is kept as it was.
int32_t ReadListCount(ByteReader& reader, size_t smallest_record) {
  const int32_t count = reader.I32();
  if (count > 0 && static_cast<uint64_t>(count) * smallest_record > reader.Remaining()) {
    throw EOrvaError("damaged page: a list of " + std::to_string(count) + " entries does not fit the data left");
  }
  return count;
}

StoredField ReadField(ByteReader& reader, const FieldLayout& layout, const PropertySet& set) {
  StoredField field;
  switch (layout.kind) {
    case FieldKind::kExpression:
      field.expressions.push_back({-1, ReadExpressionBytes(reader)});
      break;
    case FieldKind::kString:
      // A count of 0 or less stands for the empty string; a negative one is kept as it was.
      field.number = reader.I32();
      if (field.number > 0) field.bytes = std::string(reader.Chars(static_cast<size_t>(field.number)));
      break;
    case FieldKind::kInt32:
      field.number = reader.I32();
      break;
    case FieldKind::kByte:
    case FieldKind::kFlag:
      field.number = reader.U8();
      break;
    case FieldKind::kExpressionList:
      field.number = ReadListCount(reader, kSmallestExpressionRecord);
      for (int32_t i = 0; i < field.number; ++i) field.expressions.push_back({-1, ReadExpressionBytes(reader)});
      break;
    case FieldKind::kPropertyBlock:
      for (int id = 0; id < kPropertyIdCount; ++id) {
        if (HasProperty(set, id)) field.expressions.push_back({id, ReadExpressionBytes(reader)});
      }
      break;
    case FieldKind::kGlyphStream:
      field.number = reader.I32();
      if (field.number > 0) field.bytes = std::string(reader.Chars(static_cast<size_t>(field.number)));
      break;
  }
  return field;
}

void WriteField(ByteWriter& writer, const FieldLayout& layout, const StoredField& field) {
  switch (layout.kind) {
    case FieldKind::kExpression:
    case FieldKind::kPropertyBlock:
      for (const auto& e : field.expressions) writer.Chars(e.record);
      break;
    case FieldKind::kString:
      if (field.bytes.empty() && field.number < 0) {
        writer.I32(field.number);
      } else {
        writer.String(field.bytes);
      }
      break;
    case FieldKind::kInt32:
      writer.I32(field.number);
      break;
    case FieldKind::kByte:
    case FieldKind::kFlag:
      writer.U8(static_cast<uint8_t>(field.number));
      break;
    case FieldKind::kExpressionList:
      writer.I32(field.number);
      for (const auto& e : field.expressions) writer.Chars(e.record);
      break;
    case FieldKind::kGlyphStream:
      writer.I32(field.number);
      writer.Chars(field.bytes);
      break;
  }
}

}  // namespace

void SkipExpressionRecord(ByteReader& reader) {
  const int32_t operations = reader.Count(kSmallestOperation);
  for (int32_t i = 0; i < operations; ++i) {
    const uint8_t opcode = reader.U8();
    const int32_t dest_length = reader.I32();
    if (dest_length > 0) reader.Skip(static_cast<size_t>(dest_length));
    const int32_t operands = reader.Count(kSmallestOperand);
    if (opcode == 11) reader.U8();  // the function id
    for (int32_t k = 0; k < operands; ++k) {
      switch (reader.U8()) {
        case 1: reader.Skip(4); break;
        case 2: reader.Skip(10); break;
        case 3: reader.Skip(1); break;
        default: {  // strings and references (any other tag) carry a string
          const int32_t length = reader.I32();
          if (length > 0) reader.Skip(static_cast<size_t>(length));
        }
      }
    }
  }
}

PropertySet PageRecord::SetOf(uint8_t type_id) const {
  PropertySet set{};
  const int64_t size = std::max(set_size, 0);
  if (type_id >= std::max(set_count, 0)) return set;
  const int64_t start = int64_t{type_id} * size;
  for (int64_t i = 0; i < std::min<int64_t>(size, kPropertySetBytes); ++i) {
    set[static_cast<size_t>(i)] = static_cast<uint8_t>(sets[static_cast<size_t>(start + i)]);
  }
  return set;
}

PageRecord ReadPageRecord(std::string_view bytes) {
  PageRecord page;
  ByteReader reader(bytes);
  page.version = reader.I32();
  if (!page.IsReadable()) {
    page.unread_body = std::string(reader.Chars(reader.Remaining()));
    return page;
  }
  page.result_type = reader.U8();
  page.set_count = reader.I32();
  page.set_size = reader.I32();
  const uint64_t set_bytes = static_cast<uint64_t>(std::max(page.set_count, 0)) *
                             static_cast<uint64_t>(std::max(page.set_size, 0));
  if (set_bytes > reader.Remaining()) {
    throw EOrvaError("damaged page: " + std::to_string(page.set_count) + " property sets of " +
                     std::to_string(page.set_size) + " bytes do not fit the data left");
  }
  page.sets = std::string(reader.Chars(static_cast<size_t>(set_bytes)));

  std::array<PropertySet, kCommandTypeCount> type_sets;
  for (int i = 0; i < kCommandTypeCount; ++i) type_sets[static_cast<size_t>(i)] = page.SetOf(static_cast<uint8_t>(i));

  const int32_t count = reader.Count(1 + 4 + 1 + 1 + 4);
  page.commands.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    CommandRecord command;
    command.type_byte = reader.U8();
    const CommandLayout* layout = FindCommandLayout(command.TypeId());
    if (layout == nullptr) throw EOrvaError("不正なコマンド");
    command.indent = reader.I32();
    command.disabled = reader.U8();
    command.continue_flag = reader.U8();
    command.line = reader.I32();
    for (const FieldLayout& field : layout->fields) {
      if (page.version < field.min_version) continue;
      command.fields.push_back(ReadField(reader, field, type_sets[layout->id]));
    }
    page.commands.push_back(std::move(command));
  }
  return page;
}

std::string WritePageRecord(const PageRecord& page) {
  ByteWriter writer;
  writer.I32(page.version);
  if (!page.IsReadable()) {
    writer.Chars(page.unread_body);
    return writer.Take();
  }
  writer.U8(page.result_type);
  writer.I32(page.set_count);
  writer.I32(page.set_size);
  writer.Chars(page.sets);
  writer.I32(static_cast<int32_t>(page.commands.size()));
  for (const CommandRecord& command : page.commands) {
    writer.U8(command.type_byte);
    writer.I32(command.indent);
    writer.U8(command.disabled);
    writer.U8(command.continue_flag);
    writer.I32(command.line);
    size_t stored = 0;
    for (const FieldLayout& field : command.Layout().fields) {
      if (page.version < field.min_version) continue;
      if (stored < command.fields.size()) WriteField(writer, field, command.fields[stored]);
      ++stored;
    }
  }
  return writer.Take();
}

}  // namespace orva
