// The compiled expression record: read it, write it back, evaluate it against a small store.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "expression_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orva::ByteReader reader(std::span<const uint8_t>(data, size));
  orva::TOrvaParser parser;
  try {
    parser.LoadFrom(reader);
  } catch (const orva::EOrvaError&) {
    return 0;
  }
  orva::ByteWriter first;
  parser.SaveTo(first);
  orva::TOrvaParser again;
  orva::ByteReader back(first.Data());
  again.LoadFrom(back);
  orva::ByteWriter second;
  again.SaveTo(second);
  if (second.Data() != first.Data()) std::abort();
  orva::fuzz::Evaluate(parser);
  return 0;
}
