#pragma once
// Events: a record per raised event (TTimerData) in the scene's queue (TTimerList). Components
// raise them; the call manager runs their pages, marking each record with the depth it runs at
// and removing it when that page returns.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orva {

// What the call manager needs of a component that raises events: its name, while it is still
// registered in the scene. Components implement it.
class EventSender {
 public:
  virtual ~EventSender() = default;
  // The sender's name, or nothing when it is no longer registered in the scene.
  virtual bool IsRegistered() const = 0;
  virtual std::string SenderName() const = 0;
};

struct TTimerData {
  std::string text;            // the event string: page reference and optional label
  EventSender* sender = nullptr;
  uint8_t kind = 0;            // the event property's id
  int32_t depth = 0;           // 0 while waiting
  std::vector<std::string> params;
};

class TTimerList {
 public:
  TTimerData* Add(EventSender* sender, std::string text, std::vector<std::string> params, uint8_t kind);
  // The first record of this sender and kind, waiting or running; -1 when none.
  int IndexOf(const EventSender* sender, uint8_t kind) const;
  // The first waiting record (depth 0), or nullptr: events run strictly in raising order.
  TTimerData* FirstWaiting() {
    for (auto& record : records_) {
      if (record->depth == 0) return record.get();
    }
    return nullptr;
  }
  void RemoveAtDepth(int32_t depth);
  void RemoveRunning();
  void RemoveWaitingOf(const EventSender* sender);
  // Removes one record (an event whose page cannot be run).
  void Remove(const TTimerData* record);
  void Clear() { records_.clear(); }

  int Count() const { return static_cast<int>(records_.size()); }
  const TTimerData& operator[](int index) const { return *records_.at(static_cast<size_t>(index)); }

 private:
  template <typename Doomed>
  void RemoveWhere(Doomed doomed);

  std::vector<std::unique_ptr<TTimerData>> records_;
};

}  // namespace orva
