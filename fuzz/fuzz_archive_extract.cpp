// Extracting every entry of an archive, then writing the table as a new archive and checking that
// it reads back with the same contents.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/error.h"
#include "resources/file_collection.h"

namespace {

// Work bounds of this target: stored bytes inflated per input (each may grow 1032 times), and
// entries looked up and rewritten (each lookup walks one of 256 name chains).
constexpr int64_t kStoredBytesBudget = 64 * 1024;
constexpr int kEntryBudget = 4096;

std::string Extracted(orva::TVrFileCollection& table, const std::string& name) {
  orva::TMemoryStream out;
  table.Extract(name, out);
  return std::string(out.View());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto stream = std::make_unique<orva::TQnBigMemoryStream>();
  stream->WriteBuffer(data, static_cast<int64_t>(size));
  stream->SetPosition(0);
  orva::TVrFileCollection table;
  try {
    table.OpenStream(std::move(stream));
  } catch (const orva::EOrvaError&) {
    return 0;
  }
  if (table.Count() > kEntryBudget) return 0;
  int64_t budget = kStoredBytesBudget;
  std::vector<std::pair<std::string, std::string>> contents;
  bool every_entry_read = true;
  for (int i = 0; i < table.Count(); ++i) {
    const orva::TVrFile& entry = *table.File(i);
    if (entry.Name() == orva::kArchiveSentinelName) continue;
    budget -= entry.size < 0 ? 0 : entry.size;
    if (budget < 0) return 0;
    try {
      std::string bytes = Extracted(table, entry.Name());
      contents.emplace_back(entry.Name(), std::move(bytes));
    } catch (const orva::EOrvaError&) {
      every_entry_read = false;
    }
  }
  if (!every_entry_read) return 0;

  orva::TQnBigMemoryStream rewritten;
  try {
    // Entries hidden behind a newer one of the same name are written too, and may be damaged.
    table.WriteArchive(rewritten);
  } catch (const orva::EOrvaError&) {
    return 0;
  }
  rewritten.SetPosition(0);
  auto copy = std::make_unique<orva::TQnBigMemoryStream>();
  copy->Stream().WriteBuffer(rewritten.Stream().Bytes().data(), rewritten.GetSize());
  copy->SetPosition(0);
  orva::TVrFileCollection reread;
  reread.OpenStream(std::move(copy));
  // Lookups find the newest entry of a name in both tables, so the contents must agree.
  for (const auto& [name, bytes] : contents) {
    if (Extracted(reread, name) != Extracted(table, name)) __builtin_trap();
  }
  return 0;
}
