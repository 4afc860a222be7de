#include "shell/entry.h"

#include <ostream>

#include "core/error.h"
#include "core/exit_files.h"
#include "images/surface_copy.h"
#include "platform/environment.h"
#include "platform/instance_lock.h"
#include "resources/local_files.h"
#include "shell/command_line.h"
#include "shell/player_mode.h"
#include "shell/title_folder.h"

namespace orva {

namespace {

// Module finalisation: files that built-in functions asked to remove at exit.
struct ExitFileRemover {
  ~ExitFileRemover() {
    for (const std::string& path : TakeFilesToDeleteAtExit()) RemoveLocalFileQuietly(path);
  }
};

}  // namespace

int RunPlayer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ExitFileRemover remove_exit_files_last;
  auto parsed = ParseCommandLine(args);
  if (auto* error = std::get_if<CommandLineError>(&parsed)) {
    err << "orvaplayer: " << error->message << " (see orvaplayer --help)\n";
    return 2;
  }
  const PlayerOptions& options = std::get<PlayerOptions>(parsed);
  if (options.help) {
    out << PlayerUsage();
    return 0;
  }
  if (options.version) {
    out << "orvaplayer " << ORVA_VERSION << "\n";
    return 0;
  }

  // Surfaces load layered images through the images' loader.
  RegisterLayeredImageLoader();
  try {
    const bool config_mode = options.title_argument && IsConfigArgument(*options.title_argument);
    // The configuration mode takes "/config" itself as its folder, so two dialogs cannot be
    // open at once while a dialog and a running player can.
    const TitleLocation title = LocateTitle(options.title_argument, platform::CurrentDirectory());
    const std::string name = InstanceName(FolderBytesForInstanceName(title.folder));
    auto guard = platform::InstanceLock::TryAcquire(name, platform::RuntimeDirectory());
    if (guard.outcome == platform::InstanceLock::Outcome::kHeldElsewhere) {
      // The original ends silently here; a script would take that for success.
      err << "orvaplayer: another player is already running the title in '" << title.folder << "'\n";
      return 1;
    }
    if (config_mode) {
      err << "orvaplayer: the configuration dialog is not part of this build yet\n";
      return 1;
    }
    return RunPlayerMode(options, title, out, err);
  } catch (const EOrvaError& e) {
    err << "orvaplayer: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace orva
