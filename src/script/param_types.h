#pragma once
// The four concrete value classes: integers, reals, flags and strings.

#include "script/param.h"

namespace orva {

// Conversions of one element kind to and from the four kinds a getter or setter asks for.
struct IntElement {
  using Type = int32_t;
  static constexpr uint8_t kTypeCode = PT_INT;
};
struct FloatElement {
  using Type = long double;
  static constexpr uint8_t kTypeCode = PT_FLOAT;
};
struct FlagElement {
  // The byte as stored; any non-zero byte is TRUE and is written back unchanged.
  using Type = uint8_t;
  static constexpr uint8_t kTypeCode = PT_BOOL;
};
struct StrElement {
  using Type = std::string;
  static constexpr uint8_t kTypeCode = PT_STR;
};

template <typename Kind>
class TParamArray : public TCustomParam {
 public:
  using Element = typename Kind::Type;

  TParamArray() : elements_(1) {}

  int32_t Count() const override { return static_cast<int32_t>(elements_.size()); }
  void SetCount(int32_t n) override;
  uint8_t VarType() const override { return Kind::kTypeCode; }

  bool GetBool() const override;
  long double GetFloat() const override;
  int32_t GetInt() const override;
  std::string GetStr() const override;
  void SetBool(bool v) override;
  void SetFloat(long double v) override;
  void SetInt(int32_t v) override;
  void SetStr(std::string_view v) override;

  int32_t GetIntAt(int32_t i) const override;
  void SetIntAt(int32_t i, int32_t v) override;
  long double GetFloatAt(int32_t i) const override;
  void SetFloatAt(int32_t i, long double v) override;
  bool GetBoolAt(int32_t i) const override;
  void SetBoolAt(int32_t i, bool v) override;
  std::string GetStrAt(int32_t i) const override;
  void SetStrAt(int32_t i, std::string_view v) override;

  void Assign(const TCustomParam& other) override;
  void Fill(const Element& v);
  void FillInt(int32_t v) override;
  void FillFloat(long double v) override;
  void FillBool(bool v) override;
  void FillStr(std::string_view v) override;
  void CopyFrom(const TCustomParam& other) override;
  void WriteTo(ByteWriter& writer) const override;
  void ReadFrom(ByteReader& reader, const TParamCollection* store) override;
  void ClearDims() override;
  int32_t FindStr(std::string_view s, bool case_sensitive, bool partial) const override;
  void Reset() override;

  const std::vector<Element>& Elements() const { return elements_; }
  std::vector<Element>& Elements() { return elements_; }

 private:
  const Element& At(int32_t i) const {
    if (i < 0 || i >= Count()) ThrowBadIndex();
    return elements_[static_cast<size_t>(i)];
  }
  Element& At(int32_t i) {
    if (i < 0 || i >= Count()) ThrowBadIndex();
    return elements_[static_cast<size_t>(i)];
  }
  // Element 0 for a scalar write: the shape is dropped and an emptied value regains its element.
  Element& Scalar() {
    ClearDims();
    if (elements_.empty()) elements_.resize(1);
    return elements_[0];
  }
  const Element* First() const { return elements_.empty() ? nullptr : &elements_[0]; }

  std::vector<Element> elements_;
};

extern template class TParamArray<IntElement>;
extern template class TParamArray<FloatElement>;
extern template class TParamArray<FlagElement>;
extern template class TParamArray<StrElement>;

class TParamInt final : public TParamArray<IntElement> {};
class TParamFloat final : public TParamArray<FloatElement> {};
class TParamFlag final : public TParamArray<FlagElement> {};
class TParamStr final : public TParamArray<StrElement> {};

}  // namespace orva
