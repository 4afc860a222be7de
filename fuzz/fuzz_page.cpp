// Scenario pages: the record reader, then writing back what it read and reading that again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/error.h"
#include "scenario/page_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const orva::PageRecord page = orva::ReadPageRecord(bytes);
    const std::string written = orva::WritePageRecord(page);
    // What was accepted is written back as its exact prefix of the input.
    if (written != bytes.substr(0, written.size())) std::abort();
  } catch (const orva::EOrvaError&) {
  }
  return 0;
}
