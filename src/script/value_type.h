#pragma once
// Value type codes, as stored in pages and save data.

#include <cstdint>
#include <string_view>

namespace orva {

inline constexpr uint8_t PT_NONE = 0;   // a reference to another variable
inline constexpr uint8_t PT_INT = 1;    // signed 32-bit integers
inline constexpr uint8_t PT_FLOAT = 2;  // 80-bit extended reals
inline constexpr uint8_t PT_BOOL = 3;   // flags
inline constexpr uint8_t PT_STR = 4;    // Shift-JIS byte strings

// The name the editor shows for a type code (UTF-8), "" for codes without one.
std::string_view ValueTypeDisplayName(uint8_t type_code);

}  // namespace orva
