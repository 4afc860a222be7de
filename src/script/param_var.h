#pragma once
// TParamVar: a reference to a variable of the store, or to one element of it.

#include "script/param.h"

namespace orva {

// Scalar operations act on the target's element Index; element and array operations go to the
// target's value unchanged, with the caller's own index. Without a target every read yields the
// default, Count, DimCount and VarType are 0, and writes do nothing.
class TParamVar final : public TCustomParam {
 public:
  TParamVar() = default;
  explicit TParamVar(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  TParamCollectionItem* Target() const { return target_; }
  void SetTarget(TParamCollectionItem* target) { target_ = target; }
  int32_t Index() const { return index_; }
  void SetIndex(int32_t index) { index_ = index; }
  uint8_t Reserved() const { return reserved_; }
  void SetReserved(uint8_t reserved) { reserved_ = reserved; }

  // The value the target holds, or nothing.
  TCustomParam* TargetValue() const;

  int32_t Count() const override;
  void SetCount(int32_t n) override;
  uint8_t VarType() const override;

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

  int32_t DimCount() const override;
  int32_t GetDim(int32_t index) const override;
  void Assign(const TCustomParam& other) override;
  void SetDims(std::span<const int32_t> dims) override;
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
  bool IsReference() const override { return true; }

 private:
  std::string name_;
  TParamCollectionItem* target_ = nullptr;
  uint8_t reserved_ = 0;
  int32_t index_ = 0;
};

}  // namespace orva
