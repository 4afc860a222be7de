#include "scenario/event_queue.h"

#include <algorithm>

namespace orva {

TTimerData* TTimerList::Add(EventSender* sender, std::string text, std::vector<std::string> params, uint8_t kind) {
  auto record = std::make_unique<TTimerData>();
  record->sender = sender;
  record->text = std::move(text);
  record->params = std::move(params);
  record->kind = kind;
  records_.push_back(std::move(record));
  return records_.back().get();
}

int TTimerList::IndexOf(const EventSender* sender, uint8_t kind) const {
  for (size_t i = 0; i < records_.size(); ++i) {
    if (records_[i]->sender == sender && records_[i]->kind == kind) return static_cast<int>(i);
  }
  return -1;
}

template <typename Doomed>
void TTimerList::RemoveWhere(Doomed doomed) {
  records_.erase(std::remove_if(records_.begin(), records_.end(), [&](const auto& r) { return doomed(*r); }),
                 records_.end());
}

void TTimerList::RemoveAtDepth(int32_t depth) {
  RemoveWhere([depth](const TTimerData& r) { return r.depth == depth; });
}

void TTimerList::RemoveRunning() {
  RemoveWhere([](const TTimerData& r) { return r.depth != 0; });
}

void TTimerList::RemoveWaitingOf(const EventSender* sender) {
  RemoveWhere([sender](const TTimerData& r) { return r.depth == 0 && r.sender == sender; });
}

void TTimerList::Remove(const TTimerData* record) {
  RemoveWhere([record](const TTimerData& r) { return &r == record; });
}

}  // namespace orva
