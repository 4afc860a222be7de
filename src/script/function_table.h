#pragma once
// The built-in functions expressions call by number: names, argument limits and result types
// (the numbering is stored in compiled expressions), and the dispatch point the player fills
// with the function bodies.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace orva {

class TCustomParam;
class TParamCollection;

struct FunctionInfo {
  std::string_view name;
  int min_args;  // -1: no limit
  int max_args;  // -1: no limit
  uint8_t result_type;
};

inline constexpr int kFunctionCount = 142;
inline constexpr int kGetPropFunction = 2;
inline constexpr int kCalcFunction = 136;

// Nothing for an id outside the table.
const FunctionInfo* FunctionById(int id);
// Looked up case-sensitively.
std::optional<int> FunctionIdByName(std::string_view name);

// The value type of property id (0 .. 161); nothing outside.
std::optional<uint8_t> PropertyValueType(int id);

// One call: the destination variable (a temporary of the result type, or whatever variable the
// operation names) and the arguments as the operation holds them (literals, or references bound
// to their variables for the duration of the call).
struct FunctionCall {
  TParamCollection& store;
  TCustomParam& dest;
  std::span<const std::unique_ptr<TCustomParam>> args;
};

using FunctionHandler = std::function<void(FunctionCall&)>;

// One handler per function id. An id without a handler, or outside the table, does nothing.
class TFunctionDispatch {
 public:
  void SetHandler(int id, FunctionHandler handler);
  bool HasHandler(int id) const;
  void Call(int id, FunctionCall& call) const;

 private:
  std::array<FunctionHandler, kFunctionCount> handlers_;
};

}  // namespace orva
