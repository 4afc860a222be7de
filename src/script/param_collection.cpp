#include "script/param_collection.h"

#include <atomic>
#include <unordered_set>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "script/param_system.h"
#include "script/param_var.h"

namespace orva {

// --- TParamCollectionItem ---

void TParamCollectionItem::Touch() {
  if (auto* store = dynamic_cast<TParamCollection*>(Collection())) store->Touch();
}

std::unique_ptr<TCustomParam> TParamCollectionItem::SetValue(std::unique_ptr<TCustomParam> value) {
  auto* store = dynamic_cast<TParamCollection*>(Collection());
  if (store != nullptr) {
    store->Track(value_.get(), -1);
    store->Track(value.get(), +1);
    store->Touch();
  }
  std::swap(value_, value);
  return value;
}

void TParamCollectionItem::Rename(std::string name) {
  const bool bad = name.empty() || name.find(' ') != std::string::npos || (name[0] >= '0' && name[0] <= '9');
  if (bad) throw EOrvaError("\"" + Cp932ToUtf8(name) + "\"：変数名が不正です");
  SetName(std::move(name));
  Touch();
}

void TParamCollectionItem::SetFrame(int32_t frame) {
  frame_ = frame;
  Touch();
}

void TParamCollectionItem::SetLocal(bool local) {
  local_ = local;
  Touch();
}

void TParamCollectionItem::WriteTo(ByteWriter& writer) const {
  writer.String(Name());
  value_->WriteTo(writer);
  writer.Bool(status_);
  writer.U8(reserved_);
  writer.I32(frame_);
  writer.Bool(local_);
}

// --- TParamCollection ---

namespace {

std::atomic<uint64_t> next_generation{1};

}  // namespace

void TParamCollection::Touch() { generation_ = next_generation.fetch_add(1, std::memory_order_relaxed); }

TParamCollection::TParamCollection() : generation_(next_generation.fetch_add(1, std::memory_order_relaxed)) {
  for (int row = 0; row < kSystemVariableCount; ++row) {
    auto item = std::make_unique<TParamCollectionItem>(std::make_unique<TParamSystem>(row, this));
    item->SetName(std::string(SystemVariableRow(row).name));
    item->system_ = true;
    Add(std::move(item));
  }
}

TParamCollection::~TParamCollection() = default;

TParamCollectionItem* TParamCollection::FindVar(std::string_view name) const {
  TParamCollectionItem* oldest_shared = nullptr;
  for (THashCollectionItem* it = ChainHead(name); it != nullptr; it = it->NextInChain()) {
    if (!sjis::SameTextIgnoringCase(it->Name(), name)) continue;
    auto* item = static_cast<TParamCollectionItem*>(it);
    if (item->local_) {
      if (item->frame_ == current_frame_) return item;
    } else {
      oldest_shared = item;
    }
  }
  return oldest_shared;
}

TParamCollectionItem* TParamCollection::FindScoped(std::string_view name, bool local) const {
  for (THashCollectionItem* it = ChainHead(name); it != nullptr; it = it->NextInChain()) {
    if (!sjis::SameTextIgnoringCase(it->Name(), name)) continue;
    auto* item = static_cast<TParamCollectionItem*>(it);
    if (local ? (item->local_ && item->frame_ == current_frame_) : !item->local_) return item;
  }
  return nullptr;
}

TParamCollectionItem* TParamCollection::AddValue(std::unique_ptr<TCustomParam> value) {
  Track(value.get(), +1);
  auto* item = static_cast<TParamCollectionItem*>(
      Add(std::make_unique<TParamCollectionItem>(std::move(value))));
  Touch();
  return item;
}

TParamCollectionItem* TParamCollection::AddVar(uint8_t type_code) { return AddValue(NewParam(type_code)); }

TParamCollectionItem* TParamCollection::AddNamedVar(std::string name, uint8_t type_code) {
  // The name is checked before the variable exists, so a bad name leaves nothing behind.
  TParamCollectionItem probe;
  probe.Rename(name);
  TParamCollectionItem* item = AddVar(type_code);
  item->SetName(std::move(name));
  return item;
}

void TParamCollection::Track(const TCustomParam* value, int delta) {
  if (value != nullptr && value->IsReference()) references_ += delta;
}

void TParamCollection::Forget(const TParamCollectionItem* item) {
  if (references_ == 0) return;
  for (int i = 0; i < Count(); ++i) {
    auto* ref = dynamic_cast<TParamVar*>(Var(i)->Value());
    if (ref != nullptr && ref->Target() == item) ref->SetTarget(nullptr);
  }
}

void TParamCollection::Remove(int index) {
  TParamCollectionItem* item = Var(index);
  Track(item->Value(), -1);
  Forget(item);
  Extract(index);
  Touch();
}

void TParamCollection::DeleteVar(TParamCollectionItem* item) {
  if (item == nullptr || item->Collection() != this || item->system_) return;
  Remove(item->Index());
}

void TParamCollection::DeleteWhere(bool (*doomed)(const TParamCollectionItem&)) {
  for (int i = Count() - 1; i >= 0; --i) {
    const TParamCollectionItem* item = Var(i);
    if (!item->system_ && doomed(*item)) Remove(i);
  }
}

void TParamCollection::FreeFrame(int32_t depth) {
  for (int i = Count() - 1; i >= 0; --i) {
    const TParamCollectionItem* item = Var(i);
    if (!item->system_ && item->frame_ == depth) Remove(i);
  }
}

void TParamCollection::SetCurrentFrame(int32_t frame) {
  if (frame == current_frame_) return;
  current_frame_ = frame;
  Touch();
}

std::unique_ptr<TCustomParam> TParamCollection::Snapshot(std::string_view name) const {
  const TParamCollectionItem* item = FindVar(name);
  if (item == nullptr) return nullptr;
  std::unique_ptr<TCustomParam> copy = CopyParam(*item->Value());
  if (!copy) throw EOrvaError(Cp932ToUtf8(name) + ":不正な変数です");
  return copy;
}

// Variables newest first, each reference after the variable it points to.
void TParamCollection::WriteBlock(ByteWriter& writer, bool status) const {
  std::vector<const TParamCollectionItem*> pending;
  for (int i = 0; i < Count(); ++i) {
    const TParamCollectionItem* item = Var(i);
    if (!item->system_ && item->status_ == status) pending.push_back(item);
  }
  writer.I32(static_cast<int32_t>(pending.size()));
  std::unordered_set<std::string> written;
  auto write = [&](const TParamCollectionItem* item) {
    // A reference is recorded with its own code so that it reads back as a reference.
    writer.U8(item->Value()->IsReference() ? PT_NONE : item->Value()->VarType());
    item->WriteTo(writer);
    written.insert(sjis::AnsiUpperCase(item->Name()));
  };
  while (!pending.empty()) {
    std::vector<const TParamCollectionItem*> later;
    for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
      const auto* ref = dynamic_cast<const TParamVar*>((*it)->Value());
      if (ref != nullptr && ref->Target() != nullptr &&
          written.count(sjis::AnsiUpperCase(ref->Target()->Name())) == 0) {
        later.insert(later.begin(), *it);
        continue;
      }
      write(*it);
    }
    // References to variables outside the block (or in a cycle) would wait forever.
    if (later.size() == pending.size()) {
      for (auto it = later.rbegin(); it != later.rend(); ++it) write(*it);
      later.clear();
    }
    pending = std::move(later);
  }
}

void TParamCollection::ReadEntries(ByteReader& reader) {
  // type byte, name, an empty value record, four flag fields
  constexpr size_t kSmallestEntry = 1 + 4 + 8 + 7;
  const int32_t count = reader.Count(kSmallestEntry);
  for (int32_t k = 0; k < count; ++k) {
    std::unique_ptr<TCustomParam> value = NewParam(reader.U8());
    std::string name = reader.String();
    value->ReadFrom(reader, this);
    const bool status = reader.Bool();
    const uint8_t reserved = reader.U8();
    const int32_t frame = reader.I32();
    const bool local = reader.Bool();
    // An unnamed entry stands for no variable.
    if (name.empty()) continue;
    TParamCollectionItem probe;
    probe.Rename(name);
    TParamCollectionItem* item = AddValue(std::move(value));
    item->SetName(std::move(name));
    item->status_ = status;
    item->reserved_ = reserved;
    item->frame_ = frame;
    item->local_ = local;
  }
  Touch();
}

void TParamCollection::SaveGameVars(ByteWriter& writer) const {
  WriteBlock(writer, false);
  writer.I32(settings_.text_delay);
  writer.String(settings_.cursor);
  writer.String(sel_str_);
  writer.I32(sel_index_);
  for (int32_t v : settings_.history_style) writer.I32(v);
  writer.String(settings_.temp_target);
}

void TParamCollection::LoadGameVars(ByteReader& reader, int version) {
  // The game variables are set aside, not deleted, until the whole block has been read: a damaged
  // block leaves the store as it was.
  std::vector<std::pair<int, std::unique_ptr<THashCollectionItem>>> held;
  for (int i = Count() - 1; i >= 0; --i) {
    TParamCollectionItem* item = Var(i);
    if (item->system_ || item->status_) continue;
    Track(item->Value(), -1);
    held.emplace_back(i, Extract(i));
  }
  Touch();
  const int base = Count();
  try {
    ReadEntries(reader);
    PlayerSettings settings = settings_;
    std::string sel_str = sel_str_;
    int32_t sel_index = sel_index_;
    settings.text_delay = reader.I32();
    settings.cursor = reader.String();
    if (version > 102) {
      sel_str = reader.String();
      sel_index = reader.I32();
    }
    if (version > 112)
      for (int32_t& v : settings.history_style) v = reader.I32();
    if (version > 120) settings.temp_target = reader.String();
    settings_ = std::move(settings);
    sel_str_ = std::move(sel_str);
    sel_index_ = sel_index;
  } catch (const EOrvaError&) {
    for (int i = Count() - 1; i >= base; --i) Remove(i);
    for (auto it = held.rbegin(); it != held.rend(); ++it) {
      Track(static_cast<TParamCollectionItem*>(it->second.get())->Value(), +1);
      Insert(it->first, std::move(it->second));
    }
    Touch();
    throw;
  }
  for (auto& [index, item] : held) Forget(static_cast<TParamCollectionItem*>(item.get()));
}

void TParamCollection::SaveStatusVars(ByteWriter& writer) const { WriteBlock(writer, true); }

void TParamCollection::LoadStatusVars(ByteReader& reader) {
  const int base = Count();
  try {
    ReadEntries(reader);
  } catch (const EOrvaError&) {
    for (int i = Count() - 1; i >= base; --i) Remove(i);
    throw;
  }
}

void TParamCollection::ResetGameVars() {
  DeleteWhere([](const TParamCollectionItem& item) { return !item.status_; });
  settings_.text_delay = 50;
  settings_.cursor.clear();
  settings_.history_style.fill(0);
}

}  // namespace orva
