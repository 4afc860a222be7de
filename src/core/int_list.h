#pragma once
// TIntList: a list of integers that grows on demand (setting index i first extends it with zeros).
// TIntArray: a growable integer array.

#include <cstdint>
#include <vector>

#include "core/error.h"

namespace orva {

class TIntList {
 public:
  int Count() const { return static_cast<int>(values_.size()); }
  // Reading beyond the end gives 0 without growing.
  int32_t Get(int index) const {
    if (index < 0 || index >= Count()) return 0;
    return values_[static_cast<size_t>(index)];
  }
  void Set(int index, int32_t value) {
    if (index < 0) throw EOrvaError("list index out of bounds (" + std::to_string(index) + ")");
    if (index >= Count()) values_.resize(static_cast<size_t>(index) + 1, 0);
    values_[static_cast<size_t>(index)] = value;
  }
  void Add(int32_t value) { values_.push_back(value); }
  void Clear() { values_.clear(); }
  const std::vector<int32_t>& Values() const { return values_; }

 private:
  std::vector<int32_t> values_;
};

class TIntArray {
 public:
  int Count() const { return static_cast<int>(values_.size()); }
  void SetCount(int count) { values_.resize(count < 0 ? 0 : static_cast<size_t>(count), 0); }
  int32_t& operator[](int index) { return values_.at(static_cast<size_t>(index)); }
  int32_t operator[](int index) const { return values_.at(static_cast<size_t>(index)); }
  void Add(int32_t value) { values_.push_back(value); }
  void Insert(int index, int32_t value) { values_.insert(values_.begin() + Checked(index, true), value); }
  void Delete(int index) { values_.erase(values_.begin() + Checked(index, false)); }
  void Clear() { values_.clear(); }
  int IndexOf(int32_t value) const {
    for (size_t i = 0; i < values_.size(); ++i)
      if (values_[i] == value) return static_cast<int>(i);
    return -1;
  }
  const std::vector<int32_t>& Values() const { return values_; }

 private:
  int Checked(int index, bool end_allowed) const {
    if (index < 0 || index > Count() || (!end_allowed && index == Count()))
      throw EOrvaError("list index out of bounds (" + std::to_string(index) + ")");
    return index;
  }
  std::vector<int32_t> values_;
};

}  // namespace orva
