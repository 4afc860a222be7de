#include "script/builtins/builtin_args.h"

#include <algorithm>

#include "core/error.h"
#include "core/limits.h"
#include "script/param_collection.h"
#include "script/param_var.h"

namespace orva {
namespace {

// The base value answers 0, 0.0, FALSE and "" and ignores writes.
const TCustomParam kNeutral;

}  // namespace

const TCustomParam& Arg(const FunctionCall& call, size_t i) {
  if (i >= call.args.size() || !call.args[i]) return kNeutral;
  return *call.args[i];
}

TCustomParam* ArgVariable(const FunctionCall& call, size_t i) {
  const TCustomParam& arg = Arg(call, i);
  if (!arg.IsReference()) return nullptr;
  TParamCollectionItem* target = static_cast<const TParamVar&>(arg).Target();
  return target != nullptr ? target->Value() : nullptr;
}

const TCustomParam& ArgWhole(const FunctionCall& call, size_t i) {
  if (TCustomParam* whole = ArgVariable(call, i)) return *whole;
  return Arg(call, i);
}

const TCustomParam& Underneath(const TCustomParam& value) {
  const TCustomParam* v = &value;
  // Element references point at variables, never at other references, but a damaged save could
  // chain them; a few steps are enough for every real case.
  for (int step = 0; step < 8 && v->IsReference(); ++step) {
    const TCustomParam* next = static_cast<const TParamVar*>(v)->TargetValue();
    if (next == nullptr) break;
    v = next;
  }
  return *v;
}

void WriteBackStr(const FunctionCall& call, size_t i, const std::string& text) {
  if (i >= call.args.size() || !call.args[i] || !call.args[i]->IsReference()) return;
  call.args[i]->SetStr(text);
}

int32_t ElementList::Size() const {
  switch (type_) {
    case PT_INT: return static_cast<int32_t>(ints_.size());
    case PT_FLOAT: return static_cast<int32_t>(reals_.size());
    case PT_BOOL: return static_cast<int32_t>(flags_.size());
    case PT_STR: return static_cast<int32_t>(strs_.size());
    default: return 0;
  }
}

void ElementList::Append(const TCustomParam& value, int32_t first, int32_t count) {
  const int32_t end = first + count;
  for (int32_t i = first; i < end; ++i) {
    switch (type_) {
      case PT_INT: ints_.push_back(value.GetIntAt(i)); break;
      case PT_FLOAT: reals_.push_back(value.GetFloatAt(i)); break;
      case PT_BOOL: flags_.push_back(value.GetBoolAt(i) ? 1 : 0); break;
      case PT_STR: strs_.push_back(value.GetStrAt(i)); break;
      default: return;
    }
  }
}

void ElementList::AppendStr(std::string text) { strs_.push_back(std::move(text)); }

namespace {

template <typename T>
void EraseRange(std::vector<T>& v, int32_t first, int32_t count) {
  const auto size = static_cast<int32_t>(v.size());
  first = std::clamp(first, 0, size);
  count = std::clamp(count, 0, size - first);
  v.erase(v.begin() + first, v.begin() + first + count);
}

template <typename T>
void InsertRange(std::vector<T>& v, int32_t at, const std::vector<T>& other) {
  v.insert(v.begin() + at, other.begin(), other.end());
}

}  // namespace

void ElementList::Erase(int32_t first, int32_t count) {
  EraseRange(ints_, first, count);
  EraseRange(reals_, first, count);
  EraseRange(flags_, first, count);
  EraseRange(strs_, first, count);
}

void ElementList::InsertList(int32_t at, const ElementList& other) {
  if (other.type_ != type_) return;
  switch (type_) {
    case PT_INT: InsertRange(ints_, at, other.ints_); break;
    case PT_FLOAT: InsertRange(reals_, at, other.reals_); break;
    case PT_BOOL: InsertRange(flags_, at, other.flags_); break;
    case PT_STR: InsertRange(strs_, at, other.strs_); break;
    default: break;
  }
}

void ElementList::Store(TCustomParam& target, const std::vector<int32_t>& dims) const {
  target.SetDims(dims);
  const int32_t n = std::min(Size(), target.Count());
  for (int32_t i = 0; i < n; ++i) {
    const auto k = static_cast<size_t>(i);
    switch (type_) {
      case PT_INT: target.SetIntAt(i, ints_[k]); break;
      case PT_FLOAT: target.SetFloatAt(i, reals_[k]); break;
      case PT_BOOL: target.SetBoolAt(i, flags_[k] != 0); break;
      case PT_STR: target.SetStrAt(i, strs_[k]); break;
      default: return;
    }
  }
}

void ElementList::StoreAsArray(TCustomParam& target) const { Store(target, {Size()}); }

std::vector<int32_t> ShapeOf(const TCustomParam& value) {
  const int32_t n = value.DimCount();
  if (n <= 1) return {value.Count()};
  std::vector<int32_t> dims;
  for (int32_t k = 0; k < n; ++k) dims.push_back(value.GetDim(k));
  return dims;
}

void CheckTextSize(int64_t bytes) {
  if (bytes > limits::kMaxStringBytes) throw EOrvaError("文字列が長すぎます");
}

void CheckElementCount(size_t count) {
  if (count > static_cast<size_t>(limits::kMaxArrayElements))
    throw EOrvaError("配列の要素数[" + std::to_string(count) + "]が不正です");
}

}  // namespace orva
