#include "script/param.h"

#include <algorithm>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "core/limits.h"
#include "script/param_types.h"
#include "script/param_var.h"

namespace orva {

void ThrowBadIndex() { throw EOrvaError("配列の添字が不正です"); }

int32_t TCustomParam::DimCount() const { return dims_.empty() ? 1 : static_cast<int32_t>(dims_.size()); }

int32_t TCustomParam::GetDim(int32_t index) const {
  if (index < 0 || index >= static_cast<int32_t>(dims_.size())) return 1;
  return dims_[static_cast<size_t>(index)];
}

void TCustomParam::SetDims(std::span<const int32_t> dims) {
  int64_t product = 1;
  bool bad = false;
  for (int32_t d : dims) {
    if (d <= 0) bad = true;
    else if (!bad) product = std::min<int64_t>(product * d, limits::kMaxArrayElements + int64_t{1});
  }
  // A shape larger than the player can hold is refused like an empty one.
  if (bad || product > limits::kMaxArrayElements) {
    std::string list;
    for (size_t i = 0; i < dims.size(); ++i) {
      if (i > 0) list += ",";
      list += std::to_string(dims[i]);
    }
    throw EOrvaError("配列の要素数[" + list + "]が不正です");
  }
  dims_.assign(dims.begin(), dims.end());
  SetCount(static_cast<int32_t>(product));
}

void TCustomParam::CopyFrom(const TCustomParam&) { throw EOrvaError("CopyMem:変数の型があいません"); }

void TCustomParam::WriteTo(ByteWriter& writer) const { WriteDims(writer); }

void TCustomParam::ReadFrom(ByteReader& reader, const TParamCollection*) { ReadDims(reader); }

void TCustomParam::ClearDims() { dims_.clear(); }

int32_t TCustomParam::FindStr(std::string_view, bool, bool) const { return -1; }

void TCustomParam::WriteDims(ByteWriter& writer) const {
  writer.I32(static_cast<int32_t>(dims_.size()));
  for (int32_t d : dims_) writer.I32(d);
}

void TCustomParam::ReadDims(ByteReader& reader) {
  const int32_t n = reader.Count(4);
  std::vector<int32_t> dims(static_cast<size_t>(n));
  for (int32_t& d : dims) d = reader.I32();
  dims_ = std::move(dims);
}

void TCustomParam::ConvertFrom(const TCustomParam& source) {
  std::vector<int32_t> dims;
  for (int32_t i = 0; i < source.DimCount(); ++i) dims.push_back(source.GetDim(i));
  SetDims(dims);
  const int32_t n = std::min(Count(), source.Count());
  switch (VarType()) {
    case PT_INT:
      for (int32_t i = 0; i < n; ++i) SetIntAt(i, source.GetIntAt(i));
      break;
    case PT_FLOAT:
      for (int32_t i = 0; i < n; ++i) SetFloatAt(i, source.GetFloatAt(i));
      break;
    case PT_BOOL:
      for (int32_t i = 0; i < n; ++i) SetBoolAt(i, source.GetBoolAt(i));
      break;
    case PT_STR:
      for (int32_t i = 0; i < n; ++i) SetStrAt(i, source.GetStrAt(i));
      break;
    default:
      break;
  }
}

std::unique_ptr<TCustomParam> NewParam(uint8_t type_code) {
  switch (type_code & 0x7F) {
    case PT_NONE: return std::make_unique<TParamVar>();
    case PT_INT: return std::make_unique<TParamInt>();
    case PT_FLOAT: return std::make_unique<TParamFloat>();
    case PT_BOOL: return std::make_unique<TParamFlag>();
    case PT_STR: return std::make_unique<TParamStr>();
    default: throw EOrvaError("不正な変数の型です(" + std::to_string(type_code) + ")");
  }
}

std::unique_ptr<TCustomParam> CopyParam(const TCustomParam& value) {
  const uint8_t type = value.VarType();
  if (type < PT_INT || type > PT_STR) return nullptr;
  std::unique_ptr<TCustomParam> copy = NewParam(type);
  copy->Assign(value);
  return copy;
}

}  // namespace orva
