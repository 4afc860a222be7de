#pragma once
// Files to delete when the player ends: filled by built-in functions that write temporary files,
// emptied by the entry point after everything else has shut down. Deletion failures are ignored.

#include <string>
#include <vector>

namespace orva {

void DeleteAtExit(std::string path);
// Hands over the list and leaves it empty.
std::vector<std::string> TakeFilesToDeleteAtExit();

}  // namespace orva
