#pragma once
// The variable store: every variable of the player, its scope, the system variables and the
// player settings that travel with the variables in saves.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/hash_collection.h"
#include "script/param.h"

namespace orva {

class ByteReader;
class ByteWriter;
class ISystemVariableHost;
class TFunctionDispatch;

// One variable.
class TParamCollectionItem : public THashCollectionItem {
 public:
  TParamCollectionItem() = default;
  explicit TParamCollectionItem(std::unique_ptr<TCustomParam> value) : value_(std::move(value)) {}

  TCustomParam* Value() const { return value_.get(); }
  // Replaces the value; the old one is handed back.
  std::unique_ptr<TCustomParam> SetValue(std::unique_ptr<TCustomParam> value);

  // Sets the name after checking it: an empty name, one with an ASCII space or one that begins
  // with an ASCII digit fails with '"%s"：変数名が不正です'.
  void Rename(std::string name);

  uint8_t Reserved() const { return reserved_; }
  void SetReserved(uint8_t reserved) { reserved_ = reserved; }
  bool Status() const { return status_; }
  void SetStatus(bool status) { status_ = status; }
  int32_t Frame() const { return frame_; }
  void SetFrame(int32_t frame);
  bool Local() const { return local_; }
  void SetLocal(bool local);
  bool IsSystem() const { return system_; }

  // The variable record: name, value record, Status, Reserved, Frame, Local.
  void WriteTo(ByteWriter& writer) const;

 private:
  friend class TParamCollection;
  void Touch();

  std::unique_ptr<TCustomParam> value_;
  uint8_t reserved_ = 0;
  bool status_ = false;
  int32_t frame_ = -1;
  bool local_ = false;
  bool system_ = false;
};

// The history text style the history-entry command copies from a message box.
enum HistoryStyle : int { kHistoryFontHeight, kHistoryFontBorder, kHistoryFontShadow, kHistoryWidth,
                          kHistoryHeight, kHistoryLineSpace, kHistoryStyleCount };

// Player settings that are not variables but are saved and restored with them.
struct PlayerSettings {
  int32_t text_delay = 50;
  std::string cursor;
  std::array<int32_t, kHistoryStyleCount> history_style{};
  std::string temp_target;  // the variable that @Temp stands for
};

// Scopes of the variable-creation command.
enum class VarScope : uint8_t { kGlobal = 0, kAutoFree = 1, kLocal = 2, kStatus = 3 };

class TParamCollection : public THashCollection {
 public:
  static constexpr int kSystemVariableCount = 49;

  // Creates the 49 system variables as the first items.
  TParamCollection();
  ~TParamCollection() override;

  TParamCollectionItem* Var(int index) const { return ItemAs<TParamCollectionItem>(*this, index); }

  // The variable expressions see: a Local variable of the current depth, else the oldest
  // non-Local variable of that name; Local variables of other depths never.
  TParamCollectionItem* FindVar(std::string_view name) const;
  // With local: a Local variable of the current depth; without: a non-Local variable.
  TParamCollectionItem* FindScoped(std::string_view name, bool local) const;

  // Appends a variable holding a fresh value of the type (top bit ignored); name it afterwards.
  TParamCollectionItem* AddVar(uint8_t type_code);
  // AddVar and Rename in one.
  TParamCollectionItem* AddNamedVar(std::string name, uint8_t type_code);
  // Appends a variable holding the given value, unnamed.
  TParamCollectionItem* AddValue(std::unique_ptr<TCustomParam> value);
  void DeleteVar(TParamCollectionItem* item);
  // Every variable whose Frame is depth.
  void FreeFrame(int32_t depth);

  // A free-standing copy of the named variable; nothing when absent; fails with
  // "%s:不正な変数です" when its type is not 1 to 4.
  std::unique_ptr<TCustomParam> Snapshot(std::string_view name) const;

  void SaveGameVars(ByteWriter& writer) const;
  void LoadGameVars(ByteReader& reader, int version);
  void SaveStatusVars(ByteWriter& writer) const;
  void LoadStatusVars(ByteReader& reader);
  void ResetGameVars();

  int32_t CurrentFrame() const { return current_frame_; }
  void SetCurrentFrame(int32_t frame);

  const std::string& SelStr() const { return sel_str_; }
  void SetSelStr(std::string s) { sel_str_ = std::move(s); }
  int32_t SelIndex() const { return sel_index_; }
  void SetSelIndex(int32_t i) { sel_index_ = i; }

  PlayerSettings& Settings() { return settings_; }
  const PlayerSettings& Settings() const { return settings_; }

  // The player's implementation of the system variables (not owned); reads give defaults and
  // writes are ignored while there is none.
  ISystemVariableHost* SystemHost() const { return system_host_; }
  void SetSystemHost(ISystemVariableHost* host) { system_host_ = host; }

  // The built-in functions expressions call (not owned); calls do nothing while there is none.
  TFunctionDispatch* Functions() const { return functions_; }
  void SetFunctions(TFunctionDispatch* functions) { functions_ = functions; }

  // Changes whenever a lookup by name could give another answer: a variable added, removed or
  // renamed, its scope changed, or the call depth changed. Compiled expressions keep their
  // bindings while it stays the same. Values are unique across all stores, so a store made where
  // an old one was never matches the old one's bindings.
  uint64_t Generation() const { return generation_; }

  // Nesting of evaluations (an expression calling Calc), bounded by limits::kMaxNestingDepth.
  int& EvaluationDepth() { return evaluation_depth_; }

 private:
  friend class TParamCollectionItem;
  using THashCollection::Add;
  using THashCollection::Clear;
  using THashCollection::Delete;
  using THashCollection::Extract;
  using THashCollection::Insert;

  void Touch();
  void Remove(int index);
  void DeleteWhere(bool (*doomed)(const TParamCollectionItem&));
  void WriteBlock(ByteWriter& writer, bool status) const;
  void ReadEntries(ByteReader& reader);
  // Clears every reference that points at item, before item goes.
  void Forget(const TParamCollectionItem* item);
  void Track(const TCustomParam* value, int delta);

  int32_t current_frame_ = 0;
  std::string sel_str_;
  int32_t sel_index_ = 0;
  PlayerSettings settings_;
  ISystemVariableHost* system_host_ = nullptr;
  TFunctionDispatch* functions_ = nullptr;
  uint64_t generation_;
  int evaluation_depth_ = 0;
  int references_ = 0;  // variables whose value is a reference
};

}  // namespace orva
