#pragma once
// Writing a surface as a 24-bit bottom-up Windows bitmap file.

#include <string>

namespace orva {

class TCustomDIBX;

std::string EncodeBmp24(const TCustomDIBX& surface);

}  // namespace orva
