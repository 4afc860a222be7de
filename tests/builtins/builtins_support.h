#pragma once
// A store with the built-in functions installed, and expressions evaluated against it.

#include <memory>
#include <string>

#include "platform/headless/recording_url_opener.h"
#include "script/builtins/function_manager.h"
#include "script/param_collection.h"

namespace orva::test {

struct BuiltinsFixture {
  explicit BuiltinsFixture(TVrFileManager* files = nullptr, uint32_t seed = 0);

  // Compiles and evaluates text (Shift-JIS); compile errors propagate.
  void Run(const std::string& text);
  // The value of "____arg" after evaluating text as an expression: its text, or "<none>".
  std::string Eval(const std::string& text);
  TCustomParam& Var(const std::string& name, uint8_t type);
  TCustomParam& Value(const std::string& name);

  TParamCollection store;
  platform::RecordingUrlOpener urls;
  std::unique_ptr<TSystemFunctionManager> functions;
};

}  // namespace orva::test
