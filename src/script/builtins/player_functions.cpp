// The player's services: files, variables, run-time expressions, web addresses and save captions.

#include "core/encoding.h"
#include "core/error.h"
#include "platform/url_opener.h"
#include "resources/file_manager.h"
#include "resources/stream.h"
#include "script/build_parser.h"
#include "script/builtins/builtin_args.h"
#include "script/builtins/builtin_context.h"
#include "script/builtins/text_search.h"
#include "script/orva_parser.h"
#include "script/param_collection.h"

namespace orva {
namespace {

void FileExists(BuiltinContext& context, FunctionCall& c) {
  const std::string name = ArgStr(c, 0);
  c.dest.SetBool(!name.empty() && context.services.files != nullptr && context.services.files->Exists(name));
}

void LoadTextFile(BuiltinContext& context, FunctionCall& c) {
  TCustomParam* a = ArgVariable(c, 0);
  const std::string name = ArgStr(c, 1);
  c.dest.SetBool(false);
  if (a == nullptr || name.empty()) return;
  const auto text = LoadAvailableFile(context, name);
  if (!text) return;
  CheckElementCount(LineCount(*text));
  std::vector<std::string> lines = SplitLines(*text);
  if (lines.empty()) return;
  ElementList elements(PT_STR);
  elements.Texts() = std::move(lines);
  elements.StoreAsArray(*a);
  c.dest.SetBool(true);
}

void VarExists(BuiltinContext& context, FunctionCall& c) {
  c.dest.SetBool(context.store.FindVar(ArgStr(c, 0)) != nullptr);
}

void AssignTemp(BuiltinContext& context, FunctionCall& c) {
  const std::string name = ArgStr(c, 0);
  if (name.empty() || context.store.FindVar(name) == nullptr) return c.dest.SetBool(false);
  context.store.Settings().temp_target = name;
  c.dest.SetBool(true);
}

std::string TrimBlanks(const std::string& s) {
  size_t first = 0;
  size_t last = s.size();
  while (first < last && static_cast<uint8_t>(s[first]) <= 32) ++first;
  while (last > first && static_cast<uint8_t>(s[last - 1]) <= 32) --last;
  return s.substr(first, last - first);
}

void Calc(BuiltinContext& context, FunctionCall& c) {
  const std::string text = TrimBlanks(ArgStr(c, 0));
  if (text.empty()) return;
  // A syntax error leaves here and stops the calling expression; errors while evaluating stop
  // only the evaluated text.
  TOrvaParser parser;
  CompileExpression(text, parser);
  parser.Execute(context.store);
  c.dest.SetBool(true);
}

void OpenUrl(BuiltinContext& context, FunctionCall& c) {
  const std::string url = ArgStr(c, 0);
  if (context.services.urls == nullptr) return;
  if (url.rfind("http", 0) != 0 && url.rfind("ftp", 0) != 0) return;
  context.services.urls->Open(TryCp932ToUtf8(url).value_or(url));
}

void GetSaveCaption(BuiltinContext& context, FunctionCall& c) {
  c.dest.SetStr(context.captions.Caption(ArgInt(c, 0)));
}

void ListSaveCaption(BuiltinContext& context, FunctionCall& c) {
  const std::vector<SaveCaption>& saves = context.captions.Entries();
  if (!saves.empty()) {
    if (TCustomParam* a = ArgVariable(c, 0)) {
      ElementList captions(PT_STR);
      for (const SaveCaption& s : saves) captions.AppendStr(s.caption);
      captions.StoreAsArray(*a);
    }
    if (TCustomParam* b = ArgVariable(c, 1)) {
      b->SetDims(std::vector<int32_t>{static_cast<int32_t>(saves.size())});
      for (size_t k = 0; k < saves.size(); ++k) b->SetIntAt(static_cast<int32_t>(k), saves[k].slot);
    }
  }
  c.dest.SetInt(static_cast<int32_t>(saves.size()));
}

constexpr BuiltinRow kRows[] = {
    {27, GetSaveCaption}, {50, VarExists}, {71, FileExists}, {72, LoadTextFile}, {84, AssignTemp},
    {134, ListSaveCaption}, {135, OpenUrl}, {136, Calc},
};

}  // namespace

std::optional<std::string> LoadAvailableFile(BuiltinContext& context, const std::string& name) {
  TVrFileManager* files = context.services.files;
  if (files == nullptr || name.empty()) return std::nullopt;
  const bool available = context.services.available ? context.services.available(name) : files->Exists(name);
  if (!available) return std::nullopt;
  try {
    TMemoryStream bytes;
    files->Load(bytes, name);
    return std::string(bytes.View());
  } catch (const EOrvaError&) {
    // A file that vanished or cannot be read counts as not available.
    return std::nullopt;
  }
}

std::span<const BuiltinRow> PlayerFunctionRows() { return kRows; }

}  // namespace orva
