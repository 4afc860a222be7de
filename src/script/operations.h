#pragma once
// What each operation of a compiled expression does, shared by every way of running one.

#include <cstdint>
#include <span>
#include <string_view>

namespace orva {

class TCustomParam;
class TParamCollection;
class TParamCollectionItem;
class TParamVar;
struct TOpeData;

// Operand k, or a neutral value (0, "") where a damaged record has fewer.
const TCustomParam& OperandOf(const TOpeData& op, size_t k);

// The type of a new temporary receiving op (operands already resolved); ocNone and unknown codes
// fail with "不正な式...".
uint8_t TempTypeFor(const TOpeData& op);

// The flat index of an element of array; a wrong number of indices or an index beyond the
// elements fails with the name and the indices in the message.
int32_t ElementIndex(const TCustomParam& array, std::string_view name, std::span<const int32_t> indices);

// ocDimTo: points the new element reference at the element the indices address in array.
void BindElement(const TOpeData& op, TParamVar& temp, TParamCollectionItem* array);

// Applies op to dest.
void Perform(const TOpeData& op, TCustomParam& dest, TParamCollection& store);

[[noreturn]] void ThrowMissingVariable(std::string_view name);

}  // namespace orva
