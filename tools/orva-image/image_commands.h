#pragma once
// The commands of orva-image: describe, decode and encode layered images.

#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>

#include "images/mosa_frames.h"
#include "tool_main.h"

namespace orva::image_tool {

using tool::UsageError;

// JSON description of every frame of the file.
void Info(const std::string& path, int32_t key, std::ostream& out);
// Frame `frame` as composed, as an 8-bit RGBA PNG.
void Decode(const std::string& path, int32_t key, int32_t frame, const std::string& out_path);
// A one-frame, one-layer file from a PNG.
void Encode(const std::string& png_path, int32_t key, MosaCompression compression, int32_t quality,
            const std::string& out_path);

}  // namespace orva::image_tool
