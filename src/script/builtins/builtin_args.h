#pragma once
// Reading the arguments of a built-in function call, and the element lists the array functions
// move between values of any kind.

#include <cstdint>
#include <string>
#include <vector>

#include "script/function_table.h"
#include "script/param.h"

namespace orva {

// Argument i, or a neutral value (0, 0.0, FALSE, "") when the call has fewer arguments.
const TCustomParam& Arg(const FunctionCall& call, size_t i);
inline bool HasArg(const FunctionCall& call, size_t i) { return i < call.args.size(); }
inline int32_t ArgInt(const FunctionCall& call, size_t i) { return Arg(call, i).GetInt(); }
inline long double ArgFloat(const FunctionCall& call, size_t i) { return Arg(call, i).GetFloat(); }
inline bool ArgBool(const FunctionCall& call, size_t i) { return Arg(call, i).GetBool(); }
inline std::string ArgStr(const FunctionCall& call, size_t i) { return Arg(call, i).GetStr(); }

// The whole value of the variable argument i refers to; nothing for a literal or an unbound
// reference.
TCustomParam* ArgVariable(const FunctionCall& call, size_t i);
// The variable's whole value when argument i refers to one, else the argument itself.
const TCustomParam& ArgWhole(const FunctionCall& call, size_t i);

// The value a chain of element references finally stands for (itself when it is no reference).
const TCustomParam& Underneath(const TCustomParam& value);

// Writes a text back through argument i when it refers to a variable (to the element it names).
void WriteBackStr(const FunctionCall& call, size_t i, const std::string& text);

// The elements of a value read in one kind, to be written into another value of that kind.
class ElementList {
 public:
  explicit ElementList(uint8_t type) : type_(type) {}

  uint8_t Type() const { return type_; }
  int32_t Size() const;
  // Appends elements first .. first + count - 1 of value, converted to this list's kind.
  void Append(const TCustomParam& value, int32_t first, int32_t count);
  void Append(const TCustomParam& value) { Append(value, 0, value.Count()); }
  void AppendStr(std::string text);
  void Erase(int32_t first, int32_t count);
  void InsertList(int32_t at, const ElementList& other);
  // Strings only: the texts themselves.
  std::vector<std::string>& Texts() { return strs_; }

  // target becomes a one-dimensional array of these elements, converted to its own kind.
  void StoreAsArray(TCustomParam& target) const;
  // target takes dims and these elements in order.
  void Store(TCustomParam& target, const std::vector<int32_t>& dims) const;

 private:
  uint8_t type_;
  std::vector<int32_t> ints_;
  std::vector<long double> reals_;
  std::vector<uint8_t> flags_;
  std::vector<std::string> strs_;
};

// A value's shape: its declared dimensions, or one dimension of its Count when it has none.
std::vector<int32_t> ShapeOf(const TCustomParam& value);

// Refuses texts longer than a value may hold.
void CheckTextSize(int64_t bytes);
// Refuses a one-dimensional array of more elements than a value may hold, as declaring its shape
// would, before anything is made for its elements.
void CheckElementCount(size_t count);

}  // namespace orva
