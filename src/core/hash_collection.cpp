#include "core/hash_collection.h"

#include "core/error.h"
#include "core/sjis.h"

namespace orva {

void THashCollectionItem::SetName(std::string name) {
  if (owner_ == nullptr) {
    name_ = std::move(name);
    return;
  }
  THashCollection* owner = owner_;
  owner->Unlink(this);
  name_ = std::move(name);
  owner->Link(this);
}

uint8_t THashCollection::BucketOf(std::string_view name) {
  // FNV-1a over the case-folded name, folded to one byte; trail bytes of double-byte
  // characters are hashed as they are, matching the comparison.
  uint32_t h = 2166136261u;
  for (size_t i = 0; i < name.size();) {
    const size_t len = sjis::CharLengthAt(name, i);
    for (size_t k = 0; k < len; ++k) {
      uint8_t b = static_cast<uint8_t>(name[i + k]);
      if (len == 1 && b >= 'a' && b <= 'z') b = static_cast<uint8_t>(b - 'a' + 'A');
      h = (h ^ b) * 16777619u;
    }
    i += len;
  }
  return static_cast<uint8_t>(h ^ (h >> 8) ^ (h >> 16) ^ (h >> 24));
}

void THashCollection::Link(THashCollectionItem* item) {
  auto& head = buckets_[BucketOf(item->name_)];
  item->next_in_chain_ = head;
  head = item;
}

void THashCollection::Unlink(THashCollectionItem* item) {
  THashCollectionItem** link = &buckets_[BucketOf(item->name_)];
  while (*link != nullptr && *link != item) link = &(*link)->next_in_chain_;
  if (*link == item) *link = item->next_in_chain_;
  item->next_in_chain_ = nullptr;
}

void THashCollection::Renumber(size_t from) {
  for (size_t i = from; i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i);
}

THashCollectionItem* THashCollection::Add(std::unique_ptr<THashCollectionItem> item) {
  return Insert(Count(), std::move(item));
}

THashCollectionItem* THashCollection::Insert(int index, std::unique_ptr<THashCollectionItem> item) {
  if (!item || item->owner_ != nullptr) throw EOrvaError("internal error: item already in a collection");
  if (index < 0 || index > Count()) throw EOrvaError("internal error: collection index out of range");
  THashCollectionItem* raw = item.get();
  items_.insert(items_.begin() + index, std::move(item));
  raw->owner_ = this;
  Renumber(static_cast<size_t>(index));
  Link(raw);
  return raw;
}

std::unique_ptr<THashCollectionItem> THashCollection::Extract(int index) {
  if (index < 0 || index >= Count()) throw EOrvaError("internal error: collection index out of range");
  std::unique_ptr<THashCollectionItem> item = std::move(items_[static_cast<size_t>(index)]);
  items_.erase(items_.begin() + index);
  Unlink(item.get());
  item->owner_ = nullptr;
  item->index_ = -1;
  Renumber(static_cast<size_t>(index));
  return item;
}

void THashCollection::Clear() {
  buckets_.fill(nullptr);
  items_.clear();
}

THashCollectionItem* THashCollection::Find(std::string_view name) const {
  for (THashCollectionItem* item = ChainHead(name); item != nullptr; item = item->next_in_chain_) {
    if (sjis::SameTextIgnoringCase(item->name_, name)) return item;
  }
  return nullptr;
}

}  // namespace orva
