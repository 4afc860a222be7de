#include "render/surface_files.h"

#include "core/error.h"
#include "core/limits.h"
#include "resources/atomic_file.h"
#include "resources/local_files.h"

namespace orva {

std::optional<std::string> ReadPictureFile(const std::string& path) {
  // No picture file is larger than its largest uncompressed pixels plus headers.
  constexpr uint64_t kLargestPictureFile = limits::kMaxPicturePixels * 4 + 65536;
  try {
    return ReadLocalFile(path, kLargestPictureFile);
  } catch (const EOrvaError&) {
    return std::nullopt;
  }
}

bool WritePictureFile(const std::string& path, std::string_view bytes) {
  try {
    WriteFileAtomically(path, bytes);
    return true;
  } catch (const EOrvaError&) {
    return false;
  }
}

}  // namespace orva
