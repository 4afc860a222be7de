#pragma once
// The player's entry point: options, title folder, the single-instance guard, then the
// configuration mode or the player mode. Returns the process exit status.

#include <iosfwd>
#include <string>
#include <vector>

namespace orva {

// args: the command line without the program name. Messages for the user go to err.
int RunPlayer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace orva
