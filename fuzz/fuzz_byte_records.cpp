// The bounds-checked reader: a program of record reads driven by the input itself.
#include <cstddef>
#include <cstdint>

#include "core/byte_reader.h"
#include "core/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the record kinds; the rest is the data they read.
  const uint8_t program = data[0];
  orva::ByteReader reader(std::span<const uint8_t>(data + 1, size - 1));
  try {
    for (int step = 0; !reader.AtEnd() && step < 4096; ++step) {
      switch ((program >> (step % 4 * 2)) & 3) {
        case 0: reader.String(); break;
        case 1: reader.I32(); break;
        case 2: {
          const int32_t count = reader.Count(4);
          for (int32_t i = 0; i < count; ++i) reader.I32();
          break;
        }
        case 3: reader.Extended(); break;
      }
    }
  } catch (const orva::EOrvaError&) {
  }
  return 0;
}
