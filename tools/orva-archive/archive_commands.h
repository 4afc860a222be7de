#pragma once
// The commands of orva-archive. Each raises EOrvaError (or a system error) with a one-line
// message on failure; names inside archives are shown and taken as UTF-8.

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

#include "resources/file_collection.h"
#include "tool_main.h"

namespace orva::archive_tool {

using tool::UsageError;

// The archive at path (an archive file, split volumes, ".ext" companion, or an executable with an
// appended archive); raises when path is not a file.
std::unique_ptr<TVrFileCollection> OpenArchive(const std::string& path);
// The number of entries of the directory, without the sentinel that follows them.
int DirectoryEntryCount(const TVrFileCollection& table);

void List(const std::string& path, bool json, std::ostream& out);
void Cat(const std::string& path, const std::string& utf8_name, std::ostream& out);
void Extract(const std::string& path, const std::string& output_folder);

}  // namespace orva::archive_tool
