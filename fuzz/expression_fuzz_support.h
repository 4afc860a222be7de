#pragma once
// What both expression fuzz targets share: a small store to evaluate against, and the work bound.

#include <memory>

#include "script/opcodes.h"
#include "script/orva_parser.h"
#include "script/param_collection.h"

namespace orva::fuzz {

inline std::unique_ptr<TParamCollection> SmallStore() {
  auto store = std::make_unique<TParamCollection>();
  store->AddNamedVar("i", 1)->Value()->SetInt(7);
  store->AddNamedVar("r", 2)->Value()->SetFloat(2.5L);
  store->AddNamedVar("f", 3);
  store->AddNamedVar("s", 4)->Value()->SetStr("abc");
  TParamCollectionItem* a = store->AddNamedVar("a", 1);
  const int32_t dims[] = {3, 4};
  a->Value()->SetDims(dims);
  return store;
}

// Every concatenation may double a string: only a few are run, so that an input cannot ask for
// gigabytes within the time limit.
inline bool WorthRunning(const TOrvaParser& parser) {
  int concatenations = 0;
  for (int i = 0; i < parser.Count(); ++i)
    if (parser.Operation(i).opcode == ocComboStr) ++concatenations;
  return concatenations <= 12 && parser.Count() <= 4096;
}

inline void Evaluate(TOrvaParser& parser) {
  if (!WorthRunning(parser)) return;
  auto store = SmallStore();
  parser.Execute(*store);
  parser.Execute(*store);  // the second run takes the bound path where it can
  if (const TCustomParam* result = parser.Result()) (void)result->GetStr();
}

}  // namespace orva::fuzz
