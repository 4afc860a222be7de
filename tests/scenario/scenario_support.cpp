#include "scenario/scenario_support.h"

#include "core/byte_writer.h"
#include "core/error.h"
#include "scenario/page_record.h"
#include "script/build_parser.h"

namespace orva::test {

std::string ExpressionRecord(const std::string& text) {
  ByteWriter writer;
  if (text.empty()) {
    writer.I32(0);
    return writer.Take();
  }
  TBuildOrvaParser compiler;
  compiler.Compile(text);
  compiler.SaveTo(writer);
  return writer.Take();
}

namespace {

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t bar = text.find('|', start);
    items.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return items;
}

}  // namespace

std::string BuildPage(const std::vector<Cmd>& commands, int32_t version, uint8_t result_type) {
  PageRecord page;
  page.version = version;
  page.result_type = result_type;
  for (const Cmd& cmd : commands) {
    CommandRecord record;
    record.type_byte = cmd.type;
    record.indent = cmd.indent;
    record.continue_flag = cmd.continues ? 1 : 0;
    record.disabled = cmd.disabled ? 1 : 0;
    record.line = static_cast<int32_t>(page.commands.size()) + 1;
    for (const std::string& field : cmd.fields) {
      StoredField stored;
      const std::string value = field.substr(2);
      switch (field[0]) {
        case 'e': stored.expressions.push_back({-1, ExpressionRecord(value)}); break;
        case 's': stored.bytes = value; break;
        case 'n': stored.number = std::stoi(value); break;
        case 'l':
          for (const std::string& item : SplitList(value)) stored.expressions.push_back({-1, ExpressionRecord(item)});
          stored.number = static_cast<int32_t>(stored.expressions.size());
          break;
        default: throw EOrvaError("bad test field " + field);
      }
      record.fields.push_back(std::move(stored));
    }
    page.commands.push_back(std::move(record));
  }
  return WritePageRecord(page);
}

std::string MemoryHost::ReadPageFile(const std::string& name) {
  auto it = pages.find(name);
  if (it == pages.end()) ThrowFileMissing(name);
  return it->second;
}

bool MemoryHost::EnsureAvailable(const std::string& name) {
  for (const auto& missing : unavailable) {
    if (missing == name) return false;
  }
  return pages.count(name) != 0;
}

void MemoryHost::RequestSave(int32_t slot, const std::string& page, const std::string& caption, int32_t value) {
  log.push_back("save " + std::to_string(slot) + " " + page + " " + caption + " " + std::to_string(value));
}

}  // namespace orva::test
