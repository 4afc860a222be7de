#include "script/param_var.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/encoding.h"
#include "core/error.h"
#include "core/limits.h"
#include "script/param_collection.h"

namespace orva {

TCustomParam* TParamVar::TargetValue() const { return target_ != nullptr ? target_->Value() : nullptr; }

int32_t TParamVar::Count() const {
  const TCustomParam* v = TargetValue();
  return v != nullptr ? v->Count() : 0;
}
void TParamVar::SetCount(int32_t n) {
  if (TCustomParam* v = TargetValue()) v->SetCount(n);
}
uint8_t TParamVar::VarType() const {
  const TCustomParam* v = TargetValue();
  return v != nullptr ? v->VarType() : PT_NONE;
}

bool TParamVar::GetBool() const {
  const TCustomParam* v = TargetValue();
  return v != nullptr && v->GetBoolAt(index_);
}
long double TParamVar::GetFloat() const {
  const TCustomParam* v = TargetValue();
  return v != nullptr ? v->GetFloatAt(index_) : 0.0L;
}
int32_t TParamVar::GetInt() const {
  const TCustomParam* v = TargetValue();
  return v != nullptr ? v->GetIntAt(index_) : 0;
}
std::string TParamVar::GetStr() const {
  const TCustomParam* v = TargetValue();
  return v != nullptr ? v->GetStrAt(index_) : std::string();
}
void TParamVar::SetBool(bool b) {
  if (TCustomParam* v = TargetValue()) v->SetBoolAt(index_, b);
}
void TParamVar::SetFloat(long double f) {
  if (TCustomParam* v = TargetValue()) v->SetFloatAt(index_, f);
}
void TParamVar::SetInt(int32_t i) {
  if (TCustomParam* v = TargetValue()) v->SetIntAt(index_, i);
}
void TParamVar::SetStr(std::string_view s) {
  if (TCustomParam* v = TargetValue()) v->SetStrAt(index_, s);
}

int32_t TParamVar::GetIntAt(int32_t i) const {
  const TCustomParam* v = TargetValue();
  return v != nullptr ? v->GetIntAt(i) : 0;
}
void TParamVar::SetIntAt(int32_t i, int32_t x) {
  if (TCustomParam* v = TargetValue()) v->SetIntAt(i, x);
}
long double TParamVar::GetFloatAt(int32_t i) const {
  const TCustomParam* v = TargetValue();
  return v != nullptr ? v->GetFloatAt(i) : 0.0L;
}
void TParamVar::SetFloatAt(int32_t i, long double x) {
  if (TCustomParam* v = TargetValue()) v->SetFloatAt(i, x);
}
bool TParamVar::GetBoolAt(int32_t i) const {
  const TCustomParam* v = TargetValue();
  return v != nullptr && v->GetBoolAt(i);
}
void TParamVar::SetBoolAt(int32_t i, bool x) {
  if (TCustomParam* v = TargetValue()) v->SetBoolAt(i, x);
}
std::string TParamVar::GetStrAt(int32_t i) const {
  const TCustomParam* v = TargetValue();
  return v != nullptr ? v->GetStrAt(i) : std::string();
}
void TParamVar::SetStrAt(int32_t i, std::string_view x) {
  if (TCustomParam* v = TargetValue()) v->SetStrAt(i, x);
}

int32_t TParamVar::DimCount() const {
  const TCustomParam* v = TargetValue();
  return v != nullptr ? v->DimCount() : 0;
}
int32_t TParamVar::GetDim(int32_t index) const {
  const TCustomParam* v = TargetValue();
  return v != nullptr ? v->GetDim(index) : 1;
}
void TParamVar::Assign(const TCustomParam& other) {
  if (TCustomParam* v = TargetValue()) v->Assign(other);
}
void TParamVar::SetDims(std::span<const int32_t> dims) {
  if (TCustomParam* v = TargetValue()) v->SetDims(dims);
}
void TParamVar::FillInt(int32_t x) {
  if (TCustomParam* v = TargetValue()) v->FillInt(x);
}
void TParamVar::FillFloat(long double x) {
  if (TCustomParam* v = TargetValue()) v->FillFloat(x);
}
void TParamVar::FillBool(bool x) {
  if (TCustomParam* v = TargetValue()) v->FillBool(x);
}
void TParamVar::FillStr(std::string_view x) {
  if (TCustomParam* v = TargetValue()) v->FillStr(x);
}
void TParamVar::CopyFrom(const TCustomParam& other) {
  if (TCustomParam* v = TargetValue()) v->CopyFrom(other);
}
void TParamVar::ClearDims() {
  if (TCustomParam* v = TargetValue()) v->ClearDims();
}
int32_t TParamVar::FindStr(std::string_view s, bool case_sensitive, bool partial) const {
  const TCustomParam* v = TargetValue();
  return v != nullptr ? v->FindStr(s, case_sensitive, partial) : -1;
}

void TParamVar::WriteTo(ByteWriter& writer) const {
  WriteDims(writer);
  writer.String(name_);
  writer.String(target_ != nullptr ? target_->Name() : std::string());
  writer.U8(reserved_);
  writer.I32(index_);
}

void TParamVar::ReadFrom(ByteReader& reader, const TParamCollection* store) {
  ReadDims(reader);
  name_ = reader.String();
  const std::string target_name = reader.String();
  reserved_ = reader.U8();
  index_ = reader.I32();
  target_ = nullptr;
  if (target_name.empty() || store == nullptr) return;
  TParamCollectionItem* target = store->FindVar(target_name);
  // Every read through a reference follows the chain to its end; a damaged save could chain
  // enough references to exhaust the stack, far beyond anything a title makes.
  int depth = 0;
  for (const TCustomParam* v = target != nullptr ? target->Value() : nullptr; v != nullptr && v->IsReference();
       v = static_cast<const TParamVar*>(v)->TargetValue()) {
    if (++depth >= limits::kMaxNestingDepth) throw EOrvaError(Cp932ToUtf8(name_) + ":不正な変数です");
  }
  target_ = target;
}

void TParamVar::Reset() {
  dims_.clear();
  target_ = nullptr;
  index_ = 0;
}

}  // namespace orva
