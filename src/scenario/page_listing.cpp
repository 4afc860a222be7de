#include "scenario/page_listing.h"

#include <charconv>
#include <sstream>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "scenario/expression_listing.h"

namespace orva {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

std::string Hex(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    out += kHexDigits[c >> 4];
    out += kHexDigits[c & 15];
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Unhex(std::string_view text) {
  if (text.size() % 2 != 0) throw EOrvaError("odd number of hex digits");
  std::string out;
  for (size_t i = 0; i < text.size(); i += 2) {
    const int hi = HexValue(text[i]);
    const int lo = HexValue(text[i + 1]);
    if (hi < 0 || lo < 0) throw EOrvaError("not a hex digit in \"" + std::string(text) + "\"");
    out += static_cast<char>(hi * 16 + lo);
  }
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

int32_t ParseInt(std::string_view text, const char* what) {
  text = Trim(text);
  int64_t value = 0;
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || value < -2147483648LL ||
      value > 4294967295LL) {
    throw EOrvaError(std::string("bad ") + what + " \"" + std::string(text) + "\"");
  }
  return static_cast<int32_t>(value);
}

// An expression as text, or "#" and hex when no text compiles back to its bytes (or the text
// would not fit on one line).
std::string ExpressionValue(const std::string& record) {
  const std::optional<std::string> text = ExpressionRecordToText(record);
  if (text) {
    const std::optional<std::string> utf8 = TryCp932ToUtf8(*text);
    bool one_line = true;
    for (char c : *text) one_line = one_line && static_cast<unsigned char>(c) >= 0x20;
    if (utf8 && one_line) return text->empty() ? "" : " " + *utf8;
  }
  return "# " + Hex(record);
}

std::string ExpressionFromValue(std::string_view value) {
  if (!value.empty() && value.front() == '#') return Unhex(Trim(value.substr(1)));
  return ExpressionTextToRecord(Utf8ToCp932(Trim(value)));
}

bool SetsAreListable(const PageRecord& page) {
  if (page.set_count < 0 || page.set_size <= 0) return page.sets.empty();
  for (int32_t set = 0; set < page.set_count; ++set) {
    for (int32_t byte = 0; byte < page.set_size; ++byte) {
      const unsigned char b = static_cast<unsigned char>(page.sets[static_cast<size_t>(set * page.set_size + byte)]);
      if (b == 0) continue;
      if (set >= kCommandTypeCount || byte >= kPropertySetBytes) return false;
      if (byte == kPropertySetBytes - 1 && (b & 0xFC) != 0) return false;  // ids above 161
    }
  }
  return true;
}

}  // namespace

std::string QuoteListingString(const std::string& sjis) {
  std::string out = "\"";
  for (size_t i = 0; i < sjis.size();) {
    const size_t length = sjis::CharLengthAt(sjis, i);
    const std::string_view piece(sjis.data() + i, length);
    const unsigned char c = static_cast<unsigned char>(sjis[i]);
    if (length == 1 && (c == '"' || c == '\\')) {
      out += '\\';
      out += static_cast<char>(c);
    } else if (length == 1 && c == '\r') {
      out += "\\r";
    } else if (length == 1 && c == '\n') {
      out += "\\n";
    } else if (length == 1 && c == '\t') {
      out += "\\t";
    } else if (auto utf8 = TryCp932ToUtf8(piece); utf8 && (length == 2 || (c >= 0x20 && c != 0x7F))) {
      out += *utf8;
    } else {
      for (unsigned char b : piece) {
        out += "\\x";
        out += kHexDigits[b >> 4];
        out += kHexDigits[b & 15];
      }
    }
    i += length;
  }
  return out + "\"";
}

std::string UnquoteListingString(std::string_view text, std::string_view* rest) {
  text = Trim(text);
  if (text.empty() || text.front() != '"') throw EOrvaError("a quoted string was expected");
  std::string out;
  std::string utf8_run;
  auto flush = [&] {
    out += Utf8ToCp932(utf8_run);
    utf8_run.clear();
  };
  for (size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      flush();
      if (rest != nullptr) *rest = text.substr(i + 1);
      return out;
    }
    if (c != '\\') {
      utf8_run += c;
      continue;
    }
    if (++i >= text.size()) break;
    switch (text[i]) {
      case '"': utf8_run += '"'; break;
      case '\\': utf8_run += '\\'; break;
      case 'r': utf8_run += '\r'; break;
      case 'n': utf8_run += '\n'; break;
      case 't': utf8_run += '\t'; break;
      case 'x':
        if (i + 2 >= text.size()) throw EOrvaError("a \\x escape needs two hex digits");
        flush();
        out += Unhex(text.substr(i + 1, 2));
        i += 2;
        break;
      default: throw EOrvaError(std::string("unknown escape \\") + text[i]);
    }
  }
  throw EOrvaError("a quoted string is not closed");
}

std::string ListPage(const PageRecord& page) {
  std::ostringstream out;
  if (!page.IsReadable()) {
    out << "page " << page.version << "\n";
    out << "body " << Hex(page.unread_body) << "\n";
    return out.str();
  }
  out << "page " << page.version << " result=" << int{page.result_type} << "\n";
  out << "sets " << page.set_count << " " << page.set_size << "\n";
  if (SetsAreListable(page)) {
    for (int type = 0; type < kCommandTypeCount; ++type) {
      const PropertySet set = page.SetOf(static_cast<uint8_t>(type));
      std::string ids;
      for (int id = 0; id < kPropertyIdCount; ++id) {
        if (HasProperty(set, id)) ids += " " + std::to_string(id);
      }
      if (!ids.empty()) out << "set " << FindCommandLayout(static_cast<uint8_t>(type))->name << ":" << ids << "\n";
    }
  } else {
    out << "sets-raw " << Hex(page.sets) << "\n";
  }
  for (const CommandRecord& command : page.commands) {
    const CommandLayout& layout = command.Layout();
    out << "\n" << layout.name << " line=" << command.line << " indent=" << command.indent
        << " continue=" << int{command.continue_flag} << " disabled=" << int{command.disabled};
    if (command.type_byte != layout.id) out << " type=0x" << kHexDigits[command.type_byte >> 4] << kHexDigits[command.type_byte & 15];
    out << "\n";
    size_t stored = 0;
    for (const FieldLayout& field : layout.fields) {
      if (page.version < field.min_version) continue;
      const StoredField& value = command.fields.at(stored++);
      out << "  " << field.name << ":";
      switch (field.kind) {
        case FieldKind::kExpression: out << ExpressionValue(value.expressions.at(0).record) << "\n"; break;
        case FieldKind::kString:
          if (value.bytes.empty() && value.number < 0) {
            // A negative count reads as the empty string; its bytes are kept.
            const uint32_t count = static_cast<uint32_t>(value.number);
            const char raw[4] = {static_cast<char>(count), static_cast<char>(count >> 8), static_cast<char>(count >> 16),
                                 static_cast<char>(count >> 24)};
            out << "# " << Hex(std::string_view(raw, 4)) << "\n";
          } else {
            out << " " << QuoteListingString(value.bytes) << "\n";
          }
          break;
        case FieldKind::kInt32:
        case FieldKind::kByte:
        case FieldKind::kFlag: out << " " << value.number << "\n"; break;
        case FieldKind::kExpressionList:
          out << " " << value.number << "\n";
          for (const auto& e : value.expressions) out << "    -" << ExpressionValue(e.record) << "\n";
          break;
        case FieldKind::kPropertyBlock:
          out << "\n";
          for (const auto& e : value.expressions) out << "    [" << e.property_id << "]" << ExpressionValue(e.record) << "\n";
          break;
        case FieldKind::kGlyphStream:
          out << " " << value.number;
          if (!value.bytes.empty()) out << " " << Hex(value.bytes);
          out << "\n";
          break;
      }
    }
  }
  return out.str();
}

namespace {

struct ListingReader {
  std::vector<std::string_view> lines;
  size_t next = 0;

  explicit ListingReader(std::string_view text) {
    while (!text.empty()) {
      const size_t end = text.find('\n');
      lines.push_back(text.substr(0, end));
      if (end == std::string_view::npos) break;
      text.remove_prefix(end + 1);
    }
  }
  // The next line that is not empty or a comment ("#" in the first column), trimmed.
  std::optional<std::string_view> Next() {
    while (next < lines.size()) {
      const std::string_view line = Trim(lines[next++]);
      if (!line.empty() && lines[next - 1].front() != '#') return line;
    }
    return std::nullopt;
  }
  std::optional<std::string_view> Peek() {
    const size_t saved = next;
    auto line = Next();
    next = saved;
    return line;
  }
  [[noreturn]] void Fail(const std::string& what) const {
    throw EOrvaError("line " + std::to_string(next) + ": " + what);
  }
};

// "key=value" words after the first word of a line.
std::optional<std::string_view> Word(std::string_view line, std::string_view key) {
  size_t at = 0;
  while ((at = line.find(key, at)) != std::string_view::npos) {
    if ((at == 0 || line[at - 1] == ' ') && at + key.size() < line.size() && line[at + key.size()] == '=') {
      std::string_view value = line.substr(at + key.size() + 1);
      return value.substr(0, value.find(' '));
    }
    at += key.size();
  }
  return std::nullopt;
}

// "Name:value" with the field's name checked.
std::string_view FieldValue(ListingReader& reader, const FieldLayout& field) {
  const auto line = reader.Next();
  if (!line || line->substr(0, field.name.size()) != field.name || line->size() <= field.name.size() ||
      (*line)[field.name.size()] != ':') {
    reader.Fail("the field " + std::string(field.name) + " was expected");
  }
  return line->substr(field.name.size() + 1);
}

StoredField AssembleField(ListingReader& reader, const FieldLayout& field) {
  StoredField value;
  const std::string_view text = FieldValue(reader, field);
  switch (field.kind) {
    case FieldKind::kExpression: value.expressions.push_back({-1, ExpressionFromValue(text)}); break;
    case FieldKind::kString:
      if (!text.empty() && text.front() == '#') {
        const std::string raw = Unhex(Trim(text.substr(1)));
        if (raw.size() != 4) reader.Fail("a raw string count has four bytes");
        uint32_t count = 0;
        for (int i = 3; i >= 0; --i) count = (count << 8) | static_cast<unsigned char>(raw[static_cast<size_t>(i)]);
        value.number = static_cast<int32_t>(count);
        if (value.number > 0) reader.Fail("a raw string count must not be positive");
      } else {
        value.bytes = UnquoteListingString(text);
        value.number = static_cast<int32_t>(value.bytes.size());
      }
      break;
    case FieldKind::kInt32: value.number = ParseInt(text, "number"); break;
    case FieldKind::kByte:
    case FieldKind::kFlag: {
      value.number = ParseInt(text, "byte");
      if (value.number < 0 || value.number > 255) reader.Fail("a byte must be 0 to 255");
      break;
    }
    case FieldKind::kExpressionList:
      value.number = ParseInt(text, "count");
      while (auto line = reader.Peek()) {
        if (line->front() != '-') break;
        reader.Next();
        value.expressions.push_back({-1, ExpressionFromValue(line->substr(1))});
      }
      if (static_cast<int64_t>(value.expressions.size()) != std::max(value.number, 0)) {
        reader.Fail("the list has " + std::to_string(value.expressions.size()) + " entries, not " +
                    std::to_string(value.number));
      }
      break;
    case FieldKind::kPropertyBlock:
      while (auto line = reader.Peek()) {
        if (line->front() != '[') break;
        reader.Next();
        const size_t close = line->find(']');
        if (close == std::string_view::npos) reader.Fail("a property line needs [id]");
        const int id = ParseInt(line->substr(1, close - 1), "property id");
        value.expressions.push_back({id, ExpressionFromValue(line->substr(close + 1))});
      }
      break;
    case FieldKind::kGlyphStream: {
      const std::string_view rest = Trim(text);
      const size_t space = rest.find(' ');
      value.number = ParseInt(rest.substr(0, space), "count");
      if (space != std::string_view::npos) value.bytes = Unhex(Trim(rest.substr(space)));
      if (static_cast<int64_t>(value.bytes.size()) != std::max(value.number, 0)) {
        reader.Fail("the glyph stream has " + std::to_string(value.bytes.size()) + " bytes, not " +
                    std::to_string(value.number));
      }
      break;
    }
  }
  return value;
}

}  // namespace

PageRecord AssemblePage(std::string_view listing) {
  ListingReader reader(listing);
  PageRecord page;
  try {
    auto header = reader.Next();
    if (!header || header->substr(0, 5) != "page ") reader.Fail("a listing begins with \"page VERSION\"");
    std::string_view rest = header->substr(5);
    page.version = ParseInt(rest.substr(0, rest.find(' ')), "version");
    if (!page.IsReadable()) {
      auto body = reader.Next();
      if (!body || body->substr(0, 5) != "body ") reader.Fail("a page of this version lists its body as hex");
      page.unread_body = Unhex(Trim(body->substr(5)));
      return page;
    }
    if (auto result = Word(*header, "result")) page.result_type = static_cast<uint8_t>(ParseInt(*result, "result"));

    auto sets = reader.Next();
    if (!sets || sets->substr(0, 5) != "sets ") reader.Fail("\"sets COUNT SIZE\" was expected");
    std::string_view numbers = Trim(sets->substr(5));
    page.set_count = ParseInt(numbers.substr(0, numbers.find(' ')), "set count");
    page.set_size = ParseInt(numbers.substr(numbers.find(' ') + 1), "set size");
    const int64_t set_bytes = int64_t{std::max(page.set_count, 0)} * std::max(page.set_size, 0);
    if (auto raw = reader.Peek(); raw && raw->substr(0, 9) == "sets-raw ") {
      reader.Next();
      page.sets = Unhex(Trim(raw->substr(9)));
      if (static_cast<int64_t>(page.sets.size()) != set_bytes) reader.Fail("sets-raw does not hold COUNT x SIZE bytes");
    } else {
      if (set_bytes > 64 * 1024 * 1024) reader.Fail("the property sets are too large to list");
      page.sets.assign(static_cast<size_t>(set_bytes), '\0');
      while (auto line = reader.Peek()) {
        if (line->substr(0, 4) != "set ") break;
        reader.Next();
        const size_t colon = line->find(':');
        if (colon == std::string_view::npos) reader.Fail("\"set TYPE: IDS\" was expected");
        const CommandLayout* layout = FindCommandLayoutByName(Trim(line->substr(4, colon - 4)));
        if (layout == nullptr) reader.Fail("unknown command type in a set line");
        std::istringstream ids{std::string(line->substr(colon + 1))};
        std::string id_text;
        while (ids >> id_text) {
          const int id = ParseInt(id_text, "property id");
          if (id < 0 || id >= kPropertyIdCount || layout->id >= page.set_count || id / 8 >= page.set_size) {
            reader.Fail("property " + id_text + " does not fit the sets");
          }
          page.sets[static_cast<size_t>(layout->id * page.set_size + id / 8)] |= static_cast<char>(1 << (id % 8));
        }
      }
    }

    while (auto line = reader.Next()) {
      const std::string_view name = line->substr(0, line->find(' '));
      const CommandLayout* layout = FindCommandLayoutByName(name);
      if (layout == nullptr) reader.Fail("unknown command \"" + std::string(name) + "\"");
      CommandRecord command;
      command.type_byte = layout->id;
      if (auto type = Word(*line, "type")) command.type_byte = static_cast<uint8_t>(ParseInt(*type, "type byte"));
      if ((command.type_byte & 0x7F) != layout->id) reader.Fail("the type byte does not match the command");
      if (auto v = Word(*line, "line")) command.line = ParseInt(*v, "line");
      if (auto v = Word(*line, "indent")) command.indent = ParseInt(*v, "indent");
      if (auto v = Word(*line, "continue")) command.continue_flag = static_cast<uint8_t>(ParseInt(*v, "continue"));
      if (auto v = Word(*line, "disabled")) command.disabled = static_cast<uint8_t>(ParseInt(*v, "disabled"));
      const PropertySet set = page.SetOf(layout->id);
      for (const FieldLayout& field : layout->fields) {
        if (page.version < field.min_version) continue;
        StoredField value = AssembleField(reader, field);
        if (field.kind == FieldKind::kPropertyBlock) {
          // The block holds exactly the page's properties for this type, in ascending order.
          std::vector<int> expected;
          for (int id = 0; id < kPropertyIdCount; ++id)
            if (HasProperty(set, id)) expected.push_back(id);
          std::vector<int> given;
          for (const auto& e : value.expressions) given.push_back(e.property_id);
          if (given != expected) reader.Fail("the properties do not match the page's set for " + std::string(layout->name));
        }
        command.fields.push_back(std::move(value));
      }
      page.commands.push_back(std::move(command));
    }
  } catch (const EOrvaError& e) {
    const std::string message = e.what();
    if (message.rfind("line ", 0) == 0) throw;
    reader.Fail(message);
  }
  return page;
}

}  // namespace orva
