#pragma once
// TFolderDiskList: which removable disc holds each folder of a title installed from several discs.

#include <cstdint>
#include <string>
#include <vector>

namespace orva {

class ByteReader;
class ByteWriter;

class TFolderDiskList {
 public:
  struct Entry {
    std::string folder;  // relative to the title, Shift-JIS
    int32_t disk = 0;
    friend bool operator==(const Entry&, const Entry&) = default;
  };

  void ReadFrom(ByteReader& reader);
  void WriteTo(ByteWriter& writer) const;

  // The disc of a file: the file name itself tried as a folder, then each prefix cut at its last
  // path delimiter, until a folder matches (ignoring case, both sides with a trailing delimiter);
  // 0 when none does.
  int32_t DiskOf(const std::string& file_name) const;

  void Add(std::string folder, int32_t disk) { entries_.push_back({std::move(folder), disk}); }
  const std::vector<Entry>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

 private:
  std::vector<Entry> entries_;
};

}  // namespace orva
