#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "archive_commands.h"
#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "resources/atomic_file.h"

namespace orva::archive_tool {
namespace {

// The components of an entry name, refused when the name could leave the output folder:
// absolute names, drive prefixes, ".." segments, NUL bytes, or nothing to write.
std::vector<std::string> SafeComponents(const std::string& sjis_name) {
  auto refuse = [&](const char* why) -> std::vector<std::string> {
    std::string shown = Cp932ToUtf8(sjis_name);
    for (char& c : shown) {
      if (static_cast<unsigned char>(c) < 0x20) c = '?';  // the message stays one line
    }
    throw EOrvaError("\"" + shown + "\": refused, " + why);
  };
  if (sjis_name.find('\0') != std::string::npos) refuse("the name holds a NUL byte");
  if (sjis_name.empty()) refuse("the name is empty");
  if (sjis::IsPathDelimiterAt(sjis_name, 0, true)) refuse("the name is absolute");
  if (sjis_name.size() >= 2 && sjis_name[1] == ':') refuse("the name has a drive prefix");
  std::vector<std::string> parts;
  std::string current;
  auto finish = [&]() {
    if (current == "..") refuse("the name leaves the output folder");
    if (!current.empty() && current != ".") {
      const std::optional<std::string> utf8 = TryCp932ToUtf8(current);
      parts.push_back(utf8 ? *utf8 : current);
    }
    current.clear();
  };
  for (size_t i = 0; i < sjis_name.size(); ++i) {
    if (sjis::IsPathDelimiterAt(sjis_name, i, true)) {
      finish();
    } else {
      current += sjis_name[i];
    }
  }
  finish();
  if (parts.empty()) refuse("the name has no file part");
  return parts;
}

// Makes folder unless it exists as a real folder; a symbolic link is never followed out.
void EnsureRealFolder(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
    throw EOrvaError("cannot create " + folder + ": " + std::strerror(errno));
  }
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    throw EOrvaError(folder + ": not a folder");
  }
}

}  // namespace

void Extract(const std::string& path, const std::string& output_folder) {
  const auto table = OpenArchive(path);
  const int count = DirectoryEntryCount(*table);
  // Every name is checked before anything is written.
  std::vector<std::vector<std::string>> names;
  for (int i = 0; i < count; ++i) names.push_back(SafeComponents(table->File(i)->Name()));

  std::string root = output_folder;
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  if (::mkdir(root.c_str(), 0777) != 0 && errno != EEXIST) {
    throw EOrvaError("cannot create " + root + ": " + std::strerror(errno));
  }
  struct stat st {};
  if (::stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) throw EOrvaError(root + ": not a folder");

  for (int i = 0; i < count; ++i) {
    std::string target = root;
    const std::vector<std::string>& parts = names[static_cast<size_t>(i)];
    for (size_t k = 0; k + 1 < parts.size(); ++k) {
      target += "/" + parts[k];
      EnsureRealFolder(target);
    }
    target += "/" + parts.back();
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
      throw EOrvaError(target + ": exists and is not a regular file");
    }
    // Each entry itself, in directory order: of two entries with one name the later one stays,
    // as lookups find it.
    TMemoryStream contents;
    table->ReadStoredData(*table->File(i), contents);
    TVrFileCollection::InflateEntry(*table->File(i), contents);
    AtomicFile file(target);
    file.Write(contents.View());
    file.Commit();
  }
}

}  // namespace orva::archive_tool
