#pragma once
// Where the title lives and the name of the guard that keeps a second player off it.

#include <optional>
#include <string>

namespace orva {

struct TitleLocation {
  // The title folder exactly as given (or the current folder with a trailing "/"), UTF-8.
  std::string folder;
  // The executable named on the command line, whose appended archive is a source; empty if none.
  std::string executable;
};

// No argument: the current folder. An argument naming a ".exe" or ".scr" file (ignoring case):
// that file's folder, keeping the file. Any other argument: the folder exactly as given.
// current_folder is the current working directory with a trailing "/".
TitleLocation LocateTitle(const std::optional<std::string>& argument, const std::string& current_folder);

// Whether the argument selects the configuration mode: "/config", ignoring case.
bool IsConfigArgument(const std::string& argument);

// The instance name of a folder given as Shift-JIS bytes: upper-cased (single-byte letters only),
// a "\" appended unless it already ends with a path delimiter, then every delimiter replaced by
// "-". Delimiters are "\" and "/" bytes that are not the second byte of a character.
std::string InstanceName(const std::string& sjis_folder);

// The folder's Shift-JIS form for the instance name: converted from UTF-8 where it can be,
// else its raw bytes.
std::string FolderBytesForInstanceName(const std::string& folder);

}  // namespace orva
