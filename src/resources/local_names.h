#pragma once
// Finding a title's file on a Linux disk. Titles were made on Windows: their names use "\"
// between folders, and Windows file systems ignore case. A name is looked up component by
// component, each matching ignoring the case of single-byte letters, and a file name on disk may
// be stored as the raw Shift-JIS bytes or as their UTF-8 form.

#include <optional>
#include <string>
#include <string_view>

namespace orva {

// The path of the regular file that sjis_name (relative, "\" or "/" between folders) names below
// folder (a local path; a missing trailing "/" is supplied), or nothing.
std::optional<std::string> FindLocalFile(const std::string& folder, std::string_view sjis_name);

// Whether path names an existing regular file.
bool LocalFileExists(const std::string& path);

}  // namespace orva
