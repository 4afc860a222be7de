#pragma once
// THashCollection: an ordered collection of named items with a name index of 256 buckets.
// Chains hold the newest item first; names are compared ignoring the case of single-byte letters;
// every item knows its position. The variable store, the archive tables, the image cache and the
// read marks derive from it.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orva {

class THashCollection;

class THashCollectionItem {
 public:
  virtual ~THashCollectionItem() = default;

  const std::string& Name() const { return name_; }
  // Renaming moves the item to the head of its new bucket's chain, as a newly added item.
  void SetName(std::string name);

  // Position in the collection, -1 while the item belongs to none.
  int Index() const { return index_; }
  THashCollection* Collection() const { return owner_; }

  // The next older item in the same bucket chain.
  THashCollectionItem* NextInChain() const { return next_in_chain_; }

 protected:
  THashCollectionItem() = default;
  explicit THashCollectionItem(std::string name) : name_(std::move(name)) {}

 private:
  friend class THashCollection;
  std::string name_;
  THashCollection* owner_ = nullptr;
  int index_ = -1;
  THashCollectionItem* next_in_chain_ = nullptr;
};

class THashCollection {
 public:
  static constexpr int kBucketCount = 256;

  THashCollection() = default;
  virtual ~THashCollection() = default;
  THashCollection(const THashCollection&) = delete;
  THashCollection& operator=(const THashCollection&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  THashCollectionItem* Item(int index) const { return items_.at(static_cast<size_t>(index)).get(); }

  // Appends the item and puts it at the head of its bucket's chain. Returns it.
  THashCollectionItem* Add(std::unique_ptr<THashCollectionItem> item);
  // Inserts at a position; later items move up by one.
  THashCollectionItem* Insert(int index, std::unique_ptr<THashCollectionItem> item);
  // Removes the item at index and hands it back; later items move down by one.
  std::unique_ptr<THashCollectionItem> Extract(int index);
  void Delete(int index) { Extract(index); }
  void Clear();

  // The newest item whose name equals name ignoring case, or nothing.
  THashCollectionItem* Find(std::string_view name) const;
  // The head (newest) of the chain that holds name's bucket; walk it with NextInChain().
  THashCollectionItem* ChainHead(std::string_view name) const { return buckets_[BucketOf(name)]; }

  static uint8_t BucketOf(std::string_view name);

 private:
  friend class THashCollectionItem;
  void Link(THashCollectionItem* item);
  void Unlink(THashCollectionItem* item);
  void Renumber(size_t from);

  std::vector<std::unique_ptr<THashCollectionItem>> items_;
  std::array<THashCollectionItem*, kBucketCount> buckets_{};
};

// Typed access for derived collections.
template <typename Item>
Item* ItemAs(const THashCollection& c, int index) {
  return static_cast<Item*>(c.Item(index));
}

}  // namespace orva
