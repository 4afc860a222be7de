#include "resources/local_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

#include "core/encoding.h"
#include "core/sjis.h"

namespace orva {
namespace {

enum class Kind { kFile, kFolder };

bool IsKind(const std::string& path, Kind kind) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  return kind == Kind::kFile ? S_ISREG(st.st_mode) : S_ISDIR(st.st_mode);
}

std::vector<std::string> Components(std::string_view name) {
  std::vector<std::string> parts;
  std::string current;
  for (size_t i = 0; i < name.size(); ++i) {
    if (sjis::IsPathDelimiterAt(name, i, /*slash_too=*/true)) {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current += name[i];
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

// The entry of folder that is component: its raw bytes or UTF-8 form first, then any entry
// equal to it ignoring case (the smallest such name, so that the choice does not depend on the
// order the file system lists them in).
std::optional<std::string> FindComponent(const std::string& folder, const std::string& component, Kind kind) {
  if (component == "." || component == "..") {
    const std::string path = folder + component;
    return IsKind(path, kind) ? std::optional(path) : std::nullopt;
  }
  const std::optional<std::string> utf8 = TryCp932ToUtf8(component);
  if (IsKind(folder + component, kind)) return folder + component;
  if (utf8 && *utf8 != component && IsKind(folder + *utf8, kind)) return folder + *utf8;

  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::optional<std::string> best;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view on_disk = entry->d_name;
    bool same = sjis::SameTextIgnoringCase(on_disk, component);
    if (!same) {
      const std::optional<std::string> as_sjis = TryUtf8ToCp932(on_disk);
      same = as_sjis && sjis::SameTextIgnoringCase(*as_sjis, component);
    }
    if (same && (!best || on_disk < *best) && IsKind(folder + std::string(on_disk), kind)) best = on_disk;
  }
  ::closedir(dir);
  if (!best) return std::nullopt;
  return folder + *best;
}

}  // namespace

bool LocalFileExists(const std::string& path) { return IsKind(path, Kind::kFile); }

std::optional<std::string> FindLocalFile(const std::string& folder, std::string_view sjis_name) {
  const std::vector<std::string> parts = Components(sjis_name);
  // A source without a folder (the in-memory source) has no files on disk.
  if (parts.empty() || folder.empty()) return std::nullopt;
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  for (size_t i = 0; i < parts.size(); ++i) {
    const bool last = i + 1 == parts.size();
    std::optional<std::string> found = FindComponent(path, parts[i], last ? Kind::kFile : Kind::kFolder);
    if (!found) return std::nullopt;
    path = *found;
    if (!last) path += '/';
  }
  return path;
}

}  // namespace orva
