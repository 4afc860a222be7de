#include "shell/player_mode.h"

#include <ostream>

#include "core/stop_flag.h"
#include "resources/local_files.h"

namespace orva {
namespace {

std::string InFolder(const std::string& folder, const char* name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace

int RunPlayerMode(const PlayerOptions& options, const TitleLocation& title, std::ostream& err) {
  (void)options;
  // The original ends silently when the folder holds no project; a script would take that for
  // success, so we say why and end with status 1.
  const bool has_project = IsRegularFile(InFolder(title.folder, "orva.opb")) ||
                           IsRegularFile(InFolder(title.folder, "game.dat")) || !title.executable.empty();
  SetStopRequested(true);
  if (!has_project) {
    err << "orvaplayer: no title in '" << title.folder << "' (neither orva.opb nor game.dat is there)\n";
    return 1;
  }
  err << "orvaplayer: '" << (title.executable.empty() ? title.folder : title.executable)
      << "' holds a title, but this build cannot play titles yet\n";
  return 1;
}

}  // namespace orva
