#pragma once
// Operation codes of compiled expressions.

#include <cstdint>
#include <string_view>

namespace orva {

enum Opcode : uint8_t {
  ocNone = 0,
  ocTo = 1,
  ocPlus = 2,
  ocMinus = 3,
  ocMul = 4,
  ocDiv = 5,
  ocMod = 6,
  ocOr = 7,
  ocAnd = 8,
  ocXor = 9,
  ocDimTo = 10,
  ocFunc = 11,
  ocEqual = 12,
  ocBig = 13,
  ocSmall = 14,
  ocEBig = 15,
  ocESmall = 16,
  ocShiftL = 17,
  ocShiftR = 18,
  ocComboStr = 19,
  ocNEqual = 20,
};

inline constexpr uint8_t kLastOpcode = ocNEqual;

// "ocPlus" and so on; "" for codes without one.
std::string_view OpcodeIdentifier(uint8_t code);
// The operator of the text syntax ("+", "==", "dim"); "" for codes without one.
std::string_view OpcodeSymbol(uint8_t code);

// Names of temporaries: every one begins with the prefix; element references with the second.
inline constexpr std::string_view kTempPrefix = "____";
inline constexpr std::string_view kElementTempPrefix = "____d_";
inline constexpr std::string_view kResultTemp = "____arg";

}  // namespace orva
