#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "resources/folder_archive.h"
#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "resources/big_file_stream.h"
#include "resources/file_collection.h"

namespace orva {
namespace {

// A file name on disk in Shift-JIS: its UTF-8 form converted, or the bytes themselves when they
// already are Shift-JIS.
std::string SjisComponent(const std::string& on_disk) {
  if (std::optional<std::string> sjis = TryUtf8ToCp932(on_disk)) return *sjis;
  if (TryCp932ToUtf8(on_disk)) return on_disk;
  throw EOrvaError(on_disk + ": the name cannot be written in Shift-JIS");
}

}  // namespace

void WriteFolderArchive(const std::string& output, const std::string& input_folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (!fs::is_directory(input_folder, error)) throw EOrvaError(input_folder + ": not a folder");
  const fs::path output_path = fs::absolute(output);

  std::vector<std::string> names;
  for (auto it = fs::recursive_directory_iterator(input_folder); it != fs::recursive_directory_iterator(); ++it) {
    // Regular files only; symbolic links are not followed out of the folder.
    if (!it->is_regular_file() || it->is_symlink()) continue;
    if (fs::equivalent(it->path(), output_path, error)) continue;
    const fs::path relative = it->path().lexically_relative(input_folder);
    std::string name;
    for (const fs::path& part : relative) {
      if (!name.empty()) name += '\\';
      name += SjisComponent(part.string());
    }
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  // Titles come from Windows, where names that differ only in case are one file.
  std::map<std::string, const std::string*> by_upper_name;
  for (const std::string& name : names) {
    const auto [it, added] = by_upper_name.emplace(sjis::AnsiUpperCase(name), &name);
    if (!added) throw EOrvaError(Cp932ToUtf8(*it->second) + " and " + Cp932ToUtf8(name) + " differ only in case");
  }

  TVrFileCollection table;
  table.Open(input_folder);
  for (std::string& name : names) table.AddFolderEntry(std::move(name));
  TQnBigFileStream archive(output, BigFileMode::kCreateAtomic);
  table.WriteArchive(archive);
  archive.Commit();
}

}  // namespace orva
