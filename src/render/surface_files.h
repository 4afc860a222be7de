#pragma once
// The one place the surfaces touch the file system: reading a picture file whole and writing one
// atomically (a temporary file in the same folder, renamed over the target).

#include <optional>
#include <string>
#include <string_view>

namespace orva {

// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> ReadPictureFile(const std::string& path);
// False when any step fails; the target is then left as it was.
bool WritePictureFile(const std::string& path, std::string_view bytes);

}  // namespace orva
