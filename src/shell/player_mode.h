#pragma once
// Player mode: create the main window, which loads the project and starts it, and run frames
// until the run stops.

#include <iosfwd>

#include "shell/command_line.h"
#include "shell/title_folder.h"

namespace orva {

// Returns the exit status: 0 when the run ended normally, 1 when the title could not start.
int RunPlayerMode(const PlayerOptions& options, const TitleLocation& title, std::ostream& out, std::ostream& err);

}  // namespace orva
