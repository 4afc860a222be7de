// Layered images (and the PNG and bitmap files that load into one frame): read, compose, touch
// every output byte, then the editing steps a title applies to loaded frames.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/error.h"
#include "images/mosa_frames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  // Scrambled seeds are written with this key; the key changes nothing for other files.
  orva::TMosaFrameList list(12345);
  list.SetPixelBudget(4 << 20);
  try {
    const char* name = "fuzz.mos";
    if (size >= 2 && std::memcmp(data, "BM", 2) == 0) name = "fuzz.bmp";
    if (size >= 4 && std::memcmp(data, "\x89PNG", 4) == 0) name = "fuzz.png";
    list.LoadFromFileBytes(name, bytes);
  } catch (const orva::EOrvaError&) {
    return 0;
  }
  volatile uint32_t sum = 0;
  for (int i = 0; i < list.Count(); ++i) {
    const orva::TDIBSurface& picture = list[i]->Picture;
    for (uint8_t b : picture.Bits()) sum = sum + b;
    if (picture.Alpha())
      for (uint8_t b : picture.Alpha()->Bits()) sum = sum + b;
  }
  list.KeyToAlpha();
  orva::TRect kept;
  for (int i = 0; i < list.Count(); ++i) list.Trim(i, kept);
  return 0;
}
