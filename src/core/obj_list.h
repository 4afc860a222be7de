#pragma once
// TObjList: an ordered list that owns its objects.

#include <memory>
#include <vector>

#include "core/error.h"

namespace orva {

template <typename T>
class TObjList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  T* operator[](int index) const { return items_.at(static_cast<size_t>(index)).get(); }
  T* Add(std::unique_ptr<T> item) {
    items_.push_back(std::move(item));
    return items_.back().get();
  }
  T* Insert(int index, std::unique_ptr<T> item) {
    if (index < 0 || index > Count()) throw EOrvaError("list index out of bounds (" + std::to_string(index) + ")");
    return items_.insert(items_.begin() + index, std::move(item))->get();
  }
  std::unique_ptr<T> Extract(int index) {
    if (index < 0 || index >= Count()) throw EOrvaError("list index out of bounds (" + std::to_string(index) + ")");
    std::unique_ptr<T> item = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    return item;
  }
  void Delete(int index) { Extract(index); }
  int IndexOf(const T* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
  }
  void Clear() { items_.clear(); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<std::unique_ptr<T>> items_;
};

}  // namespace orva
