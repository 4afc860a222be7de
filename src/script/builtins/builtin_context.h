#pragma once
// What the bodies of the built-in functions reach: the store, the player's services, the general
// random generator, the record tables and the save captions. Each group of functions is one
// table pairing function ids with their bodies.

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <string>

#include "script/builtins/record_table_manager.h"
#include "script/builtins/save_captions.h"
#include "script/function_table.h"

namespace orva {

namespace platform {
class UrlOpener;
}
class TParamCollection;
class TVrFileManager;

struct BuiltinServices {
  TVrFileManager* files = nullptr;
  platform::UrlOpener* urls = nullptr;
  // Whether a file may be read: found by the file manager, or brought in by a disc change. The
  // file manager's own lookup when not given.
  std::function<bool(const std::string& name)> available;
};

// The generator behind Random; any uniform generator will do, seeded once.
class GeneralRandom {
 public:
  explicit GeneralRandom(uint32_t seed) : engine_(seed) {}
  // 0 <= r < n for n > 0; n = 0 gives 0; a negative n gives n <= r <= 0.
  int32_t Below(int32_t n);

 private:
  std::mt19937 engine_;
};

struct BuiltinContext {
  BuiltinContext(TParamCollection& s, BuiltinServices services_in, uint32_t seed)
      : store(s), services(std::move(services_in)), random(seed) {}

  TParamCollection& store;
  BuiltinServices services;
  GeneralRandom random;
  TDBManager tables;
  SaveCaptionList captions;
};

using BuiltinBody = void (*)(BuiltinContext&, FunctionCall&);
struct BuiltinRow {
  int id;
  BuiltinBody body;
};

// The contents of a title's file when it is available, nothing otherwise.
std::optional<std::string> LoadAvailableFile(BuiltinContext& context, const std::string& name);

std::span<const BuiltinRow> StringFunctionRows();
std::span<const BuiltinRow> NumberFunctionRows();
std::span<const BuiltinRow> ArrayFunctionRows();
std::span<const BuiltinRow> DateFunctionRows();
std::span<const BuiltinRow> PlayerFunctionRows();
std::span<const BuiltinRow> RecordTableFunctionRows();

}  // namespace orva
