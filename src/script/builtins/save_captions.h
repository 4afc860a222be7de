#pragma once
// The captions of the existing saves, in the order the save data keeps them. The save data fills
// the list; GetSaveCaption and ListSaveCaption read it.

#include <cstdint>
#include <string>
#include <vector>

namespace orva {

struct SaveCaption {
  int32_t slot = 0;
  std::string caption;
};

class SaveCaptionList {
 public:
  void Assign(std::vector<SaveCaption> entries) { entries_ = std::move(entries); }
  const std::vector<SaveCaption>& Entries() const { return entries_; }
  // "" for a slot without a save.
  std::string Caption(int32_t slot) const {
    for (const SaveCaption& e : entries_)
      if (e.slot == slot) return e.caption;
    return {};
  }

 private:
  std::vector<SaveCaption> entries_;
};

}  // namespace orva
