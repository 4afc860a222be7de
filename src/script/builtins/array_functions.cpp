// Arrays: shapes, filling, copying, growing and shrinking, texts to and from arrays.

#include <algorithm>

#include "core/error.h"
#include "core/sjis.h"
#include "script/builtins/builtin_args.h"
#include "script/builtins/builtin_context.h"
#include "script/builtins/text_search.h"
#include "script/param.h"

namespace orva {
namespace {

TCustomParam& NeedVariable(const FunctionCall& c, size_t i, const char* function) {
  TCustomParam* v = ArgVariable(c, i);
  if (v == nullptr) throw EOrvaError(std::string(function) + ":変数が見つかりません");
  return *v;
}

void GetArraySize(BuiltinContext&, FunctionCall& c) {
  const TCustomParam& a = NeedVariable(c, 0, "GetArraySize");
  if (!HasArg(c, 1)) return c.dest.SetInt(a.Count());
  // Counted from the last dimension; positions outside the shape have size 1.
  const int64_t k = int64_t{a.DimCount()} - 1 - ArgInt(c, 1);
  c.dest.SetInt(k < 0 || k >= a.DimCount() ? 1 : a.GetDim(static_cast<int32_t>(k)));
}

void SetArray(BuiltinContext&, FunctionCall& c) {
  TCustomParam& a = NeedVariable(c, 0, "SetArray");
  std::vector<int32_t> dims;
  for (size_t k = 1; k < c.args.size(); ++k) dims.push_back(ArgInt(c, k));
  a.SetDims(dims);
}

void FillMem(BuiltinContext&, FunctionCall& c) {
  TCustomParam& a = NeedVariable(c, 0, "FillMem");
  switch (Underneath(a).VarType()) {
    case PT_INT: a.FillInt(ArgInt(c, 1)); break;
    case PT_FLOAT: a.FillFloat(ArgFloat(c, 1)); break;
    case PT_BOOL: a.FillBool(ArgBool(c, 1)); break;
    case PT_STR: {
      // Every element holds its own copy of the text.
      const std::string text = ArgStr(c, 1);
      CheckTextSize(int64_t{a.Count()} * static_cast<int64_t>(text.size()));
      a.FillStr(text);
      break;
    }
    default: break;
  }
}

void CopyMem(BuiltinContext&, FunctionCall& c) {
  TCustomParam* a = ArgVariable(c, 0);
  TCustomParam* b = ArgVariable(c, 1);
  if (a == nullptr || b == nullptr) throw EOrvaError("CopyMem:変数が見つかりません");
  a->CopyFrom(Underneath(*b));
}

void CopyArray(BuiltinContext&, FunctionCall& c) {
  TCustomParam* a = ArgVariable(c, 0);
  const TCustomParam& b = ArgWhole(c, 1);
  if (a == nullptr) return;
  ElementList elements(Underneath(*a).VarType());
  elements.Append(b);
  elements.Store(*a, ShapeOf(b));
  c.dest.SetBool(true);
}

// Growing needs one-dimensional arrays on both sides.
bool OneDimensional(const TCustomParam& v) { return v.DimCount() < 2; }

void AddArray(BuiltinContext&, FunctionCall& c) {
  TCustomParam* a = ArgVariable(c, 0);
  if (a == nullptr) return;
  const TCustomParam& b = ArgWhole(c, 1);
  if (!OneDimensional(*a) || !OneDimensional(b)) return c.dest.SetInt(a->Count());
  ElementList elements(Underneath(*a).VarType());
  elements.Append(*a);
  elements.Append(b);
  elements.StoreAsArray(*a);
  c.dest.SetInt(a->Count());
}

void InsertArray(BuiltinContext&, FunctionCall& c) {
  TCustomParam* a = ArgVariable(c, 0);
  if (a == nullptr) return;
  const TCustomParam& b = ArgWhole(c, 2);
  if (!OneDimensional(*a) || !OneDimensional(b)) return c.dest.SetInt(a->Count());
  const uint8_t type = Underneath(*a).VarType();
  ElementList elements(type);
  elements.Append(*a);
  ElementList inserted(type);
  inserted.Append(b);
  elements.InsertList(std::clamp(ArgInt(c, 1), 0, elements.Size()), inserted);
  elements.StoreAsArray(*a);
  c.dest.SetInt(a->Count());
}

void DeleteArray(BuiltinContext&, FunctionCall& c) {
  TCustomParam* a = ArgVariable(c, 0);
  if (a == nullptr) return;
  if (!OneDimensional(*a)) return c.dest.SetInt(a->Count());
  const int32_t count = a->Count();
  const int32_t i = std::clamp(ArgInt(c, 1), 0, std::max(count - 1, 0));
  const int32_t n = std::clamp(ArgInt(c, 2), 0, count - i);
  ElementList elements(Underneath(*a).VarType());
  elements.Append(*a);
  elements.Erase(i, n);
  elements.StoreAsArray(*a);
  c.dest.SetInt(a->Count());
}

void ArrayToString(BuiltinContext&, FunctionCall& c) {
  const TCustomParam& a = ArgWhole(c, 0);
  const std::string separator = HasArg(c, 1) ? ArgStr(c, 1) : std::string("\r\n");
  std::string out;
  const int32_t n = a.Count();
  for (int32_t i = 0; i < n; ++i) {
    if (i > 0) out += separator;
    out += a.GetStrAt(i);
    CheckTextSize(static_cast<int64_t>(out.size()));
  }
  c.dest.SetStr(out);
}

// target becomes a one-dimensional array of the texts, or the single value "" without any.
void StoreTexts(TCustomParam& target, std::vector<std::string> texts) {
  if (texts.empty()) return target.SetStr("");
  ElementList elements(PT_STR);
  elements.Texts() = std::move(texts);
  elements.StoreAsArray(target);
}

void StringToArray(BuiltinContext&, FunctionCall& c) {
  const std::string s = ArgStr(c, 0);
  TCustomParam* a = ArgVariable(c, 1);
  if (a == nullptr) return;
  const bool lines = !HasArg(c, 2) || ArgStr(c, 2) == "\r\n";
  const std::string separators = lines ? std::string() : ArgStr(c, 2);
  CheckElementCount(lines ? LineCount(s) : PieceCount(s, separators));
  StoreTexts(*a, lines ? SplitLines(s) : SplitAtBytes(s, separators));
}

void IndexOfStr(BuiltinContext&, FunctionCall& c) {
  const bool case_sensitive = !HasArg(c, 2) || ArgBool(c, 2);
  const bool partial = HasArg(c, 3) && ArgBool(c, 3);
  c.dest.SetInt(ArgWhole(c, 0).FindStr(ArgStr(c, 1), case_sensitive, partial));
}

void SortStr(BuiltinContext&, FunctionCall& c) {
  TCustomParam* a = ArgVariable(c, 0);
  if (a == nullptr) return;
  ElementList elements(PT_STR);
  elements.Append(*a);
  std::vector<std::string>& texts = elements.Texts();
  // Ordered ignoring the case of letters; equal keys may change places.
  std::vector<std::pair<std::string, size_t>> keys;
  keys.reserve(texts.size());
  for (size_t k = 0; k < texts.size(); ++k) keys.emplace_back(sjis::AnsiUpperCase(texts[k]), k);
  std::sort(keys.begin(), keys.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
  std::vector<std::string> sorted;
  sorted.reserve(texts.size());
  for (const auto& key : keys) sorted.push_back(std::move(texts[key.second]));
  for (int32_t i = 0; i < static_cast<int32_t>(sorted.size()); ++i) a->SetStrAt(i, sorted[static_cast<size_t>(i)]);
}

constexpr BuiltinRow kRows[] = {
    {4, GetArraySize}, {21, SetArray},   {22, FillMem},    {23, CopyMem},  {28, ArrayToString},
    {29, StringToArray}, {30, IndexOfStr}, {31, SortStr}, {66, AddArray}, {67, InsertArray},
    {68, DeleteArray}, {70, CopyArray},
};

}  // namespace

std::span<const BuiltinRow> ArrayFunctionRows() { return kRows; }

}  // namespace orva
