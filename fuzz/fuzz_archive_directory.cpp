// Archive directories of every version: read the table, touch every name and offset.
#include <cstddef>
#include <cstdint>

#include "core/error.h"
#include "resources/file_collection.h"

namespace {

// Work bound of this target: name lookups checked per input.
constexpr int kCheckedLookups = 4096;

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
  uint64_t sum = 0;
  for (int i = 0; i < table.Count(); ++i) {
    const orva::TVrFile& entry = *table.File(i);
    for (char c : entry.Name()) sum += static_cast<uint8_t>(c);
    sum += static_cast<uint64_t>(entry.offset) + static_cast<uint64_t>(entry.size) + entry.crc;
    // Lookups walk one of 256 chains: the check is bounded so that huge tables stay linear.
    if (i < kCheckedLookups && table.FindFile(entry.Name()) == nullptr) __builtin_trap();
  }
  return sum == 1 ? 1 : 0;
}
