#include "scenario/folder_disks.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/sjis.h"

namespace orva {
namespace {

std::string WithDelimiter(const std::string& path) {
  if (!path.empty() && sjis::IsPathDelimiterAt(path, path.size() - 1)) return path;
  return path + "\\";
}

}  // namespace

void TFolderDiskList::ReadFrom(ByteReader& reader) {
  entries_.clear();
  const int32_t count = reader.Count(8);  // a string count and a disc number at least
  for (int32_t i = 0; i < count; ++i) {
    Entry e;
    e.folder = reader.String();
    e.disk = reader.I32();
    entries_.push_back(std::move(e));
  }
}

void TFolderDiskList::WriteTo(ByteWriter& writer) const {
  writer.I32(static_cast<int32_t>(entries_.size()));
  for (const Entry& e : entries_) {
    writer.String(e.folder);
    writer.I32(e.disk);
  }
}

int32_t TFolderDiskList::DiskOf(const std::string& file_name) const {
  std::string candidate = file_name;
  while (!candidate.empty()) {
    const std::string key = WithDelimiter(candidate);
    for (const Entry& e : entries_) {
      if (sjis::SameTextIgnoringCase(WithDelimiter(e.folder), key)) return e.disk;
    }
    // Cut at the last real delimiter (never a trail byte); nothing left ends the search.
    size_t cut = std::string::npos;
    for (size_t i = candidate.size(); i-- > 0;) {
      if (sjis::IsPathDelimiterAt(candidate, i)) {
        cut = i;
        break;
      }
    }
    if (cut == std::string::npos) break;
    candidate.resize(cut);
  }
  return 0;
}

}  // namespace orva
