#include "scenario/page.h"

#include "core/stop_flag.h"
#include "scenario/call_host.h"
#include "scenario/command.h"
#include "scenario/command_factory.h"
#include "script/param_collection.h"

namespace orva {

TPage::TPage(TParamCollection* store) : store_(store) {}

TPage::~TPage() {
  commands_.clear();
  if (store_ != nullptr) {
    // The page's own hidden variable (its name after the byte 0x01) goes with it.
    if (TParamCollectionItem* own = store_->FindVar("\x01" + name_)) store_->DeleteVar(own);
  }
}

void TPage::Load(const std::string& name, CallManagerHost& host) {
  commands_.clear();
  name_ = name;
  const std::string bytes = host.ReadPageFile(name);
  LoadFromBytes(name, bytes, &host);
}

void TPage::LoadFromBytes(const std::string& name, std::string_view bytes, CallManagerHost* host) {
  commands_.clear();
  name_ = name;
  PageRecord record = ReadPageRecord(bytes);
  version_ = record.version;
  if (record.version < kOldestPageVersion) {
    if (host != nullptr) host->RefuseOldPage(name);
    return;
  }
  if (record.version > kNewestPageVersion) return;
  result_type_ = record.result_type;
  for (int i = 0; i < kCommandTypeCount; ++i) property_sets_[static_cast<size_t>(i)] = record.SetOf(static_cast<uint8_t>(i));
  commands_.reserve(record.commands.size());
  for (CommandRecord& command : record.commands) commands_.push_back(CreateCommand(this, std::move(command)));
}

int TPage::IndexOf(const TCommand* command) const {
  for (size_t i = 0; i < commands_.size(); ++i) {
    if (commands_[i].get() == command) return static_cast<int>(i);
  }
  return -1;
}

int TPage::FindLabel(const std::string& name) const {
  for (size_t i = 0; i < commands_.size(); ++i) {
    if (commands_[i]->IsLabel(name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace orva
