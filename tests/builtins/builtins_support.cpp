#include "builtins_support.h"

#include "core/error.h"
#include "script/build_parser.h"
#include "script/orva_parser.h"

namespace orva::test {

BuiltinsFixture::BuiltinsFixture(TVrFileManager* files, uint32_t seed) {
  BuiltinServices services;
  services.files = files;
  services.urls = &urls;
  functions = std::make_unique<TSystemFunctionManager>(store, std::move(services), seed);
}

void BuiltinsFixture::Run(const std::string& text) {
  TOrvaParser parser;
  CompileExpression(text, parser);
  parser.Execute(store);
}

std::string BuiltinsFixture::Eval(const std::string& text) {
  TOrvaParser parser;
  CompileExpression(text, parser);
  parser.Execute(store);
  return parser.Result() != nullptr ? parser.Result()->GetStr() : "<none>";
}

TCustomParam& BuiltinsFixture::Var(const std::string& name, uint8_t type) {
  return *store.AddNamedVar(name, type)->Value();
}

TCustomParam& BuiltinsFixture::Value(const std::string& name) {
  TParamCollectionItem* item = store.FindVar(name);
  if (item == nullptr) throw EOrvaError("no variable " + name);
  return *item->Value();
}

}  // namespace orva::test
