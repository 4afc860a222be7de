#pragma once
// TPage: a loaded scenario page, its commands in execution order.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scenario/page_record.h"

namespace orva {

class CallManagerHost;
class TCommand;
class TParamCollection;

class TPage {
 public:
  // store may be null (a page read by a tool).
  explicit TPage(TParamCollection* store);
  ~TPage();
  TPage(const TPage&) = delete;
  TPage& operator=(const TPage&) = delete;

  // Reads the page file through the host and builds its commands. A page above the newest
  // version stays empty; one below the oldest is refused through the host and stays empty.
  // Damaged data or an unknown command type raises EOrvaError.
  void Load(const std::string& name, CallManagerHost& host);
  // Builds the commands from bytes already read (tests, tools).
  void LoadFromBytes(const std::string& name, std::string_view bytes, CallManagerHost* host);

  const std::string& Name() const { return name_; }
  int32_t Version() const { return version_; }
  uint8_t ResultType() const { return result_type_; }
  int Count() const { return static_cast<int>(commands_.size()); }
  TCommand* Command(int index) const { return commands_.at(static_cast<size_t>(index)).get(); }
  bool Contains(int index) const { return index >= 0 && index < Count(); }
  // The command at index, or nullptr past either end: the run loop's one check per command.
  TCommand* CommandOrNull(int index) const {
    return static_cast<size_t>(index) < commands_.size() ? commands_[static_cast<size_t>(index)].get() : nullptr;
  }

  int IndexOf(const TCommand* command) const;
  // The first command that is the label name (exact); -1 when none.
  int FindLabel(const std::string& name) const;
  const PropertySet& SetOf(uint8_t type_id) const { return property_sets_.at(type_id); }

 private:
  TParamCollection* store_;
  std::string name_;
  int32_t version_ = 104;
  uint8_t result_type_ = 1;
  std::vector<std::unique_ptr<TCommand>> commands_;
  std::array<PropertySet, kCommandTypeCount> property_sets_{};
};

}  // namespace orva
