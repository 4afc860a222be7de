#include "script/param_types.h"

#include <algorithm>
#include <typeinfo>

#include "core/byte_reader.h"
#include "core/byte_search.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "core/sjis.h"
#include "script/element_conversion.h"
#include "script/value_text.h"

namespace orva {
using namespace element;
namespace {

void WriteElement(ByteWriter& w, int32_t e) { w.I32(e); }
void WriteElement(ByteWriter& w, long double e) { w.Extended(e); }
void WriteElement(ByteWriter& w, uint8_t e) { w.U8(e); }
void WriteElement(ByteWriter& w, const std::string& e) { w.String(e); }

void ReadElement(ByteReader& r, int32_t& e) { e = r.I32(); }
void ReadElement(ByteReader& r, long double& e) { e = r.Extended(); }
void ReadElement(ByteReader& r, uint8_t& e) { e = r.U8(); }
void ReadElement(ByteReader& r, std::string& e) { e = r.String(); }

template <typename E> constexpr size_t kElementRecordSize = 4;
template <> constexpr size_t kElementRecordSize<long double> = 10;
template <> constexpr size_t kElementRecordSize<uint8_t> = 1;

bool TextMatches(std::string_view element, std::string_view s, bool case_sensitive, bool partial) {
  if (partial) {
    if (s.empty()) return true;
    if (case_sensitive) return FindBytes(element, s) != std::string_view::npos;
    return FindBytes(sjis::AnsiLowerCase(element), sjis::AnsiLowerCase(s)) != std::string_view::npos;
  }
  if (case_sensitive) return element == s;
  if (element.size() != s.size()) return false;
  for (size_t i = 0; i < s.size(); ++i) {
    auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
    if (fold(element[i]) != fold(s[i])) return false;
  }
  return true;
}

}  // namespace

template <typename Kind>
void TParamArray<Kind>::SetCount(int32_t n) {
  elements_.resize(n < 0 ? 0 : static_cast<size_t>(n));
}

template <typename Kind>
bool TParamArray<Kind>::GetBool() const {
  const Element* e = First();
  return e != nullptr && ToBool(*e);
}
template <typename Kind>
long double TParamArray<Kind>::GetFloat() const {
  const Element* e = First();
  return e != nullptr ? ToFloat(*e) : 0.0L;
}
template <typename Kind>
int32_t TParamArray<Kind>::GetInt() const {
  const Element* e = First();
  return e != nullptr ? ToInt(*e) : 0;
}
template <typename Kind>
std::string TParamArray<Kind>::GetStr() const {
  const Element* e = First();
  return e != nullptr ? ToStr(*e) : std::string();
}
template <typename Kind>
void TParamArray<Kind>::SetBool(bool v) { Scalar() = FromBool<Element>(v); }
template <typename Kind>
void TParamArray<Kind>::SetFloat(long double v) { Scalar() = FromFloat<Element>(v); }
template <typename Kind>
void TParamArray<Kind>::SetInt(int32_t v) { Scalar() = FromInt<Element>(v); }
template <typename Kind>
void TParamArray<Kind>::SetStr(std::string_view v) { Scalar() = FromStr<Element>(v); }

template <typename Kind>
int32_t TParamArray<Kind>::GetIntAt(int32_t i) const { return ToInt(At(i)); }
template <typename Kind>
void TParamArray<Kind>::SetIntAt(int32_t i, int32_t v) { At(i) = FromInt<Element>(v); }
template <typename Kind>
long double TParamArray<Kind>::GetFloatAt(int32_t i) const { return ToFloat(At(i)); }
template <typename Kind>
void TParamArray<Kind>::SetFloatAt(int32_t i, long double v) { At(i) = FromFloat<Element>(v); }
template <typename Kind>
bool TParamArray<Kind>::GetBoolAt(int32_t i) const { return ToBool(At(i)); }
template <typename Kind>
void TParamArray<Kind>::SetBoolAt(int32_t i, bool v) { At(i) = FromBool<Element>(v); }
template <typename Kind>
std::string TParamArray<Kind>::GetStrAt(int32_t i) const { return ToStr(At(i)); }
template <typename Kind>
void TParamArray<Kind>::SetStrAt(int32_t i, std::string_view v) { At(i) = FromStr<Element>(v); }

template <typename Kind>
void TParamArray<Kind>::Assign(const TCustomParam& other) {
  // Callers pass a value of the same class; anything else is copied through the converters.
  // The class is compared by its type identity, which is far cheaper than a dynamic_cast on the
  // path that hands every expression's result out.
  if (typeid(other) == typeid(*this)) {
    const auto& same = static_cast<const TParamArray<Kind>&>(other);
    if (dims_.empty() && same.dims_.empty() && elements_.size() == 1 && same.elements_.size() == 1) {
      elements_[0] = same.elements_[0];  // scalar to scalar, the usual result
      return;
    }
    dims_ = same.dims_;
    elements_ = same.elements_;
    return;
  }
  ConvertFrom(other);
}

template <typename Kind>
void TParamArray<Kind>::Fill(const Element& v) {
  std::fill(elements_.begin(), elements_.end(), v);
}
template <typename Kind>
void TParamArray<Kind>::FillInt(int32_t v) {
  if constexpr (Kind::kTypeCode == PT_INT) Fill(v);
}
template <typename Kind>
void TParamArray<Kind>::FillFloat(long double v) {
  if constexpr (Kind::kTypeCode == PT_FLOAT) Fill(v);
}
template <typename Kind>
void TParamArray<Kind>::FillBool(bool v) {
  if constexpr (Kind::kTypeCode == PT_BOOL) Fill(v ? 1 : 0);
}
template <typename Kind>
void TParamArray<Kind>::FillStr(std::string_view v) {
  if constexpr (Kind::kTypeCode == PT_STR) Fill(std::string(v));
}

template <typename Kind>
void TParamArray<Kind>::CopyFrom(const TCustomParam& other) {
  const auto* same = dynamic_cast<const TParamArray<Kind>*>(&other);
  if (same == nullptr || typeid(*same) != typeid(*this)) throw EOrvaError("CopyMem:変数の型があいません");
  if (same == this) return;
  std::vector<int32_t> dims;
  for (int32_t i = 0; i < same->DimCount(); ++i) dims.push_back(same->GetDim(i));
  elements_ = same->elements_;
  dims_ = std::move(dims);
}

template <typename Kind>
void TParamArray<Kind>::WriteTo(ByteWriter& writer) const {
  WriteDims(writer);
  writer.I32(Count());
  for (const Element& e : elements_) WriteElement(writer, e);
}

template <typename Kind>
void TParamArray<Kind>::ReadFrom(ByteReader& reader, const TParamCollection*) {
  ReadDims(reader);
  const int32_t n = reader.Count(kElementRecordSize<Element>);
  std::vector<Element> elements(static_cast<size_t>(n));
  for (Element& e : elements) ReadElement(reader, e);
  elements_ = std::move(elements);
}

template <typename Kind>
void TParamArray<Kind>::ClearDims() {
  if (dims_.empty()) return;
  dims_.clear();
  if (elements_.size() > 1) elements_.erase(elements_.begin() + 1, elements_.end());
}

template <typename Kind>
int32_t TParamArray<Kind>::FindStr(std::string_view s, bool case_sensitive, bool partial) const {
  for (size_t i = 0; i < elements_.size(); ++i) {
    if constexpr (Kind::kTypeCode == PT_STR) {
      if (TextMatches(elements_[i], s, case_sensitive, partial)) return static_cast<int32_t>(i);
    } else {
      if (TextMatches(ToStr(elements_[i]), s, case_sensitive, partial)) return static_cast<int32_t>(i);
    }
  }
  return -1;
}

template <typename Kind>
void TParamArray<Kind>::Reset() {
  dims_.clear();
  elements_.resize(1);
  elements_[0] = Element();
}

template class TParamArray<IntElement>;
template class TParamArray<FloatElement>;
template class TParamArray<FlagElement>;
template class TParamArray<StrElement>;

}  // namespace orva
