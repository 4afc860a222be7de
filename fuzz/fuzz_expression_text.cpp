// The expression compiler: text in, a record out, read back (it must read to the same bytes) and
// evaluated against a small store.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "expression_fuzz_support.h"
#include "script/build_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The compiler's passes rescan the text after each replacement; scenario expressions are short.
  if (size > 4096) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  orva::ByteWriter record;
  try {
    orva::TBuildOrvaParser builder;
    builder.Compile(text);
    builder.SaveTo(record);
  } catch (const orva::EOrvaError&) {
    return 0;
  }
  orva::TOrvaParser parser;
  orva::ByteReader reader(record.Data());
  parser.LoadFrom(reader);
  if (!reader.AtEnd()) std::abort();
  orva::ByteWriter again;
  parser.SaveTo(again);
  if (again.Data() != record.Data()) std::abort();
  orva::fuzz::Evaluate(parser);
  return 0;
}
