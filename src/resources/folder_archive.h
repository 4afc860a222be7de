#pragma once
// A version-102 archive of every regular file under a folder, as the player's writer makes it:
// names relative to the folder with "\" between folders, sorted by their Shift-JIS bytes,
// timestamps from the files, and the writer's compression rules.

#include <string>

namespace orva {

// Raises EOrvaError when the folder cannot be read, a name has no Shift-JIS form, two names differ
// only in case, or the archive cannot be written; the output is written atomically.
void WriteFolderArchive(const std::string& output, const std::string& input_folder);

}  // namespace orva
