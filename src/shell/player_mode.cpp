#include "shell/player_mode.h"

#include <ostream>

#include "core/error.h"
#include "core/stop_flag.h"
#include "platform/headless/headless_platform.h"
#include "platform/platform.h"
#include "platform/trace_file.h"
#include "resources/atomic_file.h"
#include "shell/frame_loop.h"
#include "shell/player_session.h"
#include "shell/variable_dump.h"

namespace orva {
namespace {

platform::LocalDateTime ParseClock(const std::string& text) {
  platform::LocalDateTime t;
  t.year = std::stoi(text.substr(0, 4));
  t.month = std::stoi(text.substr(5, 2));
  t.day = std::stoi(text.substr(8, 2));
  t.hour = std::stoi(text.substr(11, 2));
  t.minute = std::stoi(text.substr(14, 2));
  t.second = std::stoi(text.substr(17, 2));
  return t;
}

// Restores "no trace" however the run ends.
struct TraceInstallation {
  std::unique_ptr<platform::TraceFile> file;
  ~TraceInstallation() { InstallTraceSink(nullptr); }
};

int RunHeadless(const PlayerOptions& options, const TitleLocation& title, std::ostream& out, std::ostream& err) {
  platform::HeadlessPlatform machine = platform::CreateHeadlessPlatform(err, ParseClock(options.clock));
  TraceInstallation trace;
  if (!options.trace.empty()) {
    trace.file = platform::TraceFile::Create(options.trace);
    InstallTraceSink(trace.file.get());
  }
  PlayerSession session(machine.services, title);
  session.SetRandomSeed(options.seed);
  if (!session.Start()) {
    if (!session.Failure().empty()) err << "orvaplayer: " << session.Failure() << "\n";
    return 1;
  }
  FrameLoop loop(session, session.Timing());
  for (int turn = 0; turn < options.frames && !StopRequested() && !session.CloseRequested(); ++turn) {
    machine.clock->Advance(static_cast<uint32_t>(options.frame_ms));
    try {
      loop.Idle(machine.clock->TickCount());
    } catch (const EOrvaError& e) {
      session.ReportTurnError(e.what());
    }
  }
  if (!options.dump_vars.empty()) {
    const std::string json = DumpVariablesJson(session.Store());
    if (options.dump_vars == "-") {
      out << json;
    } else {
      WriteFileAtomically(options.dump_vars, json);
    }
  }
  return 0;
}

int RunDesktop(const TitleLocation& title, std::ostream& err) {
  platform::Platform machine = platform::CreateDesktopPlatform();
  PlayerSession session(machine, title);
  if (!session.Start()) {
    if (!session.Failure().empty()) err << "orvaplayer: " << session.Failure() << "\n";
    return 1;
  }
  // Without a window there is nothing to show the title in yet.
  err << "orvaplayer: this build plays titles only with --headless (the window is not built yet)\n";
  return 1;
}

}  // namespace

int RunPlayerMode(const PlayerOptions& options, const TitleLocation& title, std::ostream& out, std::ostream& err) {
  if (options.headless) return RunHeadless(options, title, out, err);
  return RunDesktop(title, err);
}

}  // namespace orva
