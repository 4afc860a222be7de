#include <cstdio>

#include "archive_commands.h"
#include "core/encoding.h"
#include "core/error.h"
#include "resources/local_names.h"

namespace orva::archive_tool {
namespace {

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::unique_ptr<TVrFileCollection> OpenArchive(const std::string& path) {
  if (!LocalFileExists(path)) throw EOrvaError(path + ": no such file");
  auto table = std::make_unique<TVrFileCollection>();
  table->Open(path);
  return table;
}

int DirectoryEntryCount(const TVrFileCollection& table) {
  // The table of an archive just read ends with its sentinel; a directory entry may carry the same name.
  return table.Count() > 0 ? table.Count() - 1 : 0;
}

void List(const std::string& path, bool json, std::ostream& out) {
  const auto table = OpenArchive(path);
  const int count = DirectoryEntryCount(*table);
  if (json) out << "[";
  for (int i = 0; i < count; ++i) {
    const TVrFile& entry = *table->File(i);
    const std::string name = Cp932ToUtf8(entry.Name());
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08x", entry.crc);
    if (!json) {
      out << entry.size << '\t' << (entry.stored ? 1 : 0) << '\t' << crc << '\t' << name << '\n';
      continue;
    }
    out << (i == 0 ? "\n" : ",\n") << "  {\"name\": " << JsonString(name) << ", \"offset\": " << entry.offset
        << ", \"size\": " << entry.size << ", \"stored\": " << (entry.stored ? "true" : "false")
        << ", \"timestamp\": " << static_cast<uint32_t>(entry.timestamp) << ", \"crc\": " << entry.crc
        << ", \"crc_of_plain\": " << (entry.crc_of_plain ? "true" : "false") << "}";
  }
  if (json) out << (count > 0 ? "\n]\n" : "]\n");
}

void Cat(const std::string& path, const std::string& utf8_name, std::ostream& out) {
  const auto table = OpenArchive(path);
  const std::string name = Utf8ToCp932(utf8_name);
  const TVrFile* entry = table->FindFile(name);
  // Only the archive's own entries: not the sentinel, not files beside the archive.
  if (entry == nullptr || entry->Index() >= DirectoryEntryCount(*table)) ThrowFileMissing(name);
  TMemoryStream contents;
  table->Extract(name, contents);
  out.write(contents.View().data(), static_cast<std::streamsize>(contents.Size()));
}

}  // namespace orva::archive_tool
