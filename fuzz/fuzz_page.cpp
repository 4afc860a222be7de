// Scenario pages: the record reader, writing back what it read, and building the page's commands
// with their compiled expressions.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/error.h"
#include "scenario/page.h"
#include "scenario/page_record.h"
#include "script/param_collection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static orva::TParamCollection store;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const orva::PageRecord page = orva::ReadPageRecord(bytes);
    const std::string written = orva::WritePageRecord(page);
    // What was accepted is written back as its exact prefix of the input.
    if (written != bytes.substr(0, written.size())) std::abort();
  } catch (const orva::EOrvaError&) {
  }
  try {
    orva::TPage page(&store);
    page.LoadFromBytes("fuzz.osb", bytes, nullptr);
    page.FindLabel("label");
  } catch (const orva::EOrvaError&) {
  }
  return 0;
}
