#pragma once
// A typed cell: direct access to one element of a value whose class is known when an expression
// is bound, with the getters and setters the operation semantics use.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "script/element_conversion.h"
#include "script/param_types.h"

namespace orva {

struct TypedCell {
  TCustomParam* value = nullptr;  // a TParamInt, TParamFloat, TParamFlag or TParamStr
  uint8_t kind = PT_INT;
  // Reached through an element reference: the element is *index and a write leaves the shape.
  const int32_t* index = nullptr;

  uint8_t VarType() const { return kind; }

  int32_t GetInt() const { return Read<int32_t>([](const auto& e) { return element::ToInt(e); }); }
  long double GetFloat() const { return Read<long double>([](const auto& e) { return element::ToFloat(e); }); }
  bool GetBool() const { return Read<bool>([](const auto& e) { return element::ToBool(e); }); }
  std::string GetStr() const { return Read<std::string>([](const auto& e) { return element::ToStr(e); }); }

  void SetInt(int32_t v) { Write([v](auto& e) { e = element::FromInt<std::decay_t<decltype(e)>>(v); }); }
  void SetFloat(long double v) { Write([v](auto& e) { e = element::FromFloat<std::decay_t<decltype(e)>>(v); }); }
  void SetBool(bool v) { Write([v](auto& e) { e = element::FromBool<std::decay_t<decltype(e)>>(v); }); }
  void SetStr(std::string_view v) { Write([v](auto& e) { e = element::FromStr<std::decay_t<decltype(e)>>(v); }); }

 private:
  template <typename Kind>
  std::vector<typename Kind::Type>& Elements() const {
    return static_cast<TParamArray<Kind>*>(value)->Elements();
  }

  template <typename Elements>
  static size_t Position(const Elements& e, const int32_t* index) {
    const int32_t i = index != nullptr ? *index : 0;
    if (i < 0 || static_cast<size_t>(i) >= e.size()) ThrowBadIndex();
    return static_cast<size_t>(i);
  }

  // Operands are read as elements: an emptied variable has no element 0.
  template <typename Result, typename Convert>
  Result Read(Convert convert) const {
    switch (kind) {
      case PT_INT: { const auto& e = Elements<IntElement>(); return convert(e[Position(e, index)]); }
      case PT_FLOAT: { const auto& e = Elements<FloatElement>(); return convert(e[Position(e, index)]); }
      case PT_BOOL: { const auto& e = Elements<FlagElement>(); return convert(e[Position(e, index)]); }
      default: { const auto& e = Elements<StrElement>(); return convert(e[Position(e, index)]); }
    }
  }

  // A whole variable is written as a scalar (its shape dropped); an element in place.
  template <typename Assign>
  void Write(Assign assign) {
    switch (kind) {
      case PT_INT: WriteIn<IntElement>(assign); break;
      case PT_FLOAT: WriteIn<FloatElement>(assign); break;
      case PT_BOOL: WriteIn<FlagElement>(assign); break;
      default: WriteIn<StrElement>(assign); break;
    }
  }

  template <typename Kind, typename Assign>
  void WriteIn(Assign& assign) {
    auto& e = Elements<Kind>();
    if (index != nullptr) {
      assign(e[Position(e, index)]);
      return;
    }
    if (!value->Dims().empty()) value->ClearDims();
    if (e.empty()) e.resize(1);
    assign(e[0]);
  }
};

// The kind of a value that a cell may address directly, or nothing.
inline bool IsPlainValue(const TCustomParam* value) {
  if (value == nullptr) return false;
  switch (value->VarType()) {
    case PT_INT: return dynamic_cast<const TParamInt*>(value) != nullptr;
    case PT_FLOAT: return dynamic_cast<const TParamFloat*>(value) != nullptr;
    case PT_BOOL: return dynamic_cast<const TParamFlag*>(value) != nullptr;
    case PT_STR: return dynamic_cast<const TParamStr*>(value) != nullptr;
    default: return false;
  }
}

}  // namespace orva
