// The built-in functions called with whatever arguments a scenario could pass: literals of every
// kind (huge, negative, empty, double-byte text), whole variables, arrays and elements. The input
// picks the function, the number of arguments and each argument; the call must never fault. No
// file manager is given: the file functions find nothing, and their readers have targets of their own.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/error.h"
#include "platform/headless/recording_url_opener.h"
#include "script/build_parser.h"
#include "script/builtins/function_manager.h"
#include "script/function_table.h"
#include "script/orva_parser.h"
#include "script/param_collection.h"

namespace {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  uint32_t Word() {
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k) v = v << 8 | Byte();
    return v;
  }
  bool Empty() const { return at_ >= size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// Numbers stay moderate (a count of a million times a long text is a legitimate request for tens of
// megabytes, just too slow for the fuzzer's time limit); the extremes come from a short list.
int32_t Integer(Input& in) {
  static const int32_t kEdges[] = {0, 1, -1, 2147483647, -2147483647 - 1, 255, 256, 65535};
  const uint8_t how = in.Byte();
  if (how < 64) return kEdges[how % 8];
  return static_cast<int32_t>(in.Word() % 200001) - 100000;
}

std::string Text(Input& in) {
  const size_t length = in.Byte() % 48;
  std::string text;
  for (size_t k = 0; k < length; ++k) {
    char c = static_cast<char>(in.Byte());
    if (c == '"') c = '\'';
    if (c == '\\') c = '/';
    text.push_back(c);
  }
  return "\"" + text + "\"";
}

std::string Argument(Input& in) {
  switch (in.Byte() % 10) {
    case 0: return std::to_string(Integer(in));
    case 1: {
      char number[64];
      const double v = (static_cast<int32_t>(in.Word() % 200001) - 100000) / 1024.0;
      std::snprintf(number, sizeof number, "%.6f", std::isfinite(v) ? v : 0.0);
      return number;
    }
    case 2:
    case 3: return Text(in);
    case 4: return "i";
    case 5: return "r";
    case 6: return "s";
    case 7: return "a";
    case 8: return "t";
    default: return "a(" + std::to_string(in.Byte() % 4) + ", " + std::to_string(in.Byte() % 5) + ")";
  }
}

void AddVariables(orva::TParamCollection& store) {
  store.AddNamedVar("i", 1)->Value()->SetInt(3);
  store.AddNamedVar("r", 2)->Value()->SetFloat(2.5L);
  store.AddNamedVar("s", 4)->Value()->SetStr("ab\x82\xa0,c");
  orva::TParamCollectionItem* a = store.AddNamedVar("a", 4);
  const int32_t dims[] = {3, 4};
  a->Value()->SetDims(dims);
  a->Value()->SetStrAt(5, "x");
  orva::TParamCollectionItem* t = store.AddNamedVar("t", 1);
  const int32_t one[] = {6};
  t->Value()->SetDims(one);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  orva::TParamCollection store;
  AddVariables(store);
  orva::platform::RecordingUrlOpener urls;
  orva::BuiltinServices services;
  services.urls = &urls;
  orva::TSystemFunctionManager functions(store, std::move(services), 1);

  // A few calls in a row, so that record tables and arrays built by one are used by the next.
  for (int call = 0; call < 4 && !in.Empty(); ++call) {
    const int id = in.Byte() % orva::kFunctionCount;
    // Calc's body is the compiler, which has its own target; here it could only multiply the work.
    const orva::FunctionInfo* info = orva::FunctionById(id);
    if (info == nullptr || id == orva::kCalcFunction) continue;
    const int count = in.Byte() % 8;
    std::string text = std::string(info->name) + "(";
    for (int k = 0; k < count; ++k) text += (k > 0 ? ", " : "") + Argument(in);
    text += ")";
    orva::TOrvaParser parser;
    try {
      orva::CompileExpression(text, parser);
    } catch (const orva::EOrvaError&) {
      continue;
    }
    parser.Execute(store);
    parser.Execute(store);
  }
  return 0;
}
