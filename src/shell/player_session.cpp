#include "shell/player_session.h"

#include "core/encoding.h"
#include "core/error.h"
#include "core/stop_flag.h"
#include "platform/platform.h"
#include "resources/file_manager.h"
#include "resources/local_files.h"
#include "scenario/project.h"
#include "script/builtins/function_manager.h"
#include "script/builtins/installed_fonts.h"
#include "script/builtins/player_rows.h"
#include "script/param_collection.h"

namespace orva {
namespace {

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// An executable carries an archive when its last two bytes are "oa".
bool HasAppendedArchive(const std::string& path) {
  try {
    const std::string bytes = ReadLocalFile(path);
    return bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "oa") == 0;
  } catch (const EOrvaError&) {
    return false;
  }
}

}  // namespace

PlayerSession::PlayerSession(platform::Platform& platform, const TitleLocation& title)
    : platform_(platform), title_(title) {}

PlayerSession::~PlayerSession() {
  // Closing: the project (which runs the exit page) first, then the store.
  SetStopRequested(true);
  project_.reset();
  functions_.reset();
  if (store_) store_->SetSystemHost(nullptr);
  store_.reset();
  SetProcessFileManager(nullptr);
  files_.reset();
}

bool PlayerSession::Start() {
  const std::string folder = WithSlash(title_.folder);
  // The player's own log of an earlier run goes.
  RemoveLocalFileQuietly(folder + "orvaplay.log");

  FileManagerSetup setup;
  setup.message_boxes = platform_.message_boxes.get();
  files_ = std::make_unique<TVrFileManager>(setup);
  SetProcessFileManager(files_.get());
  // Source 0 has no folder and no archive: it receives the files built-in functions make.
  files_->AddArchive("");
  files_->SetBaseFolder(folder);
  const bool from_executable = !title_.executable.empty();
  try {
    if (from_executable) {
      if (HasAppendedArchive(title_.executable)) files_->AddArchive(title_.executable);
    } else if (IsRegularFile(folder + "game.dat")) {
      files_->AddArchive(folder + "game.dat");
    }
  } catch (const EOrvaError& e) {
    failure_ = e.what();
    return false;
  }

  store_ = std::make_unique<TParamCollection>();
  store_->SetSystemHost(&rows_);
  BuiltinServices builtins;
  builtins.files = files_.get();
  builtins.urls = platform_.url_opener.get();
  builtins.available = [this](const std::string& name) {
    return project_ ? project_->EnsureAvailable(name) : files_->Exists(name);
  };
  functions_ = std::make_unique<TSystemFunctionManager>(*store_, std::move(builtins),
                                                         seed_.value_or(platform_.clock->TickCount()));
  RegisterClockRows(rows_, *platform_.clock, [this] { return timing_.play_time; });
  RegisterFontRows(rows_, ListInstalledJapaneseFonts);

  ProjectServices services{*store_, *files_, *platform_.message_boxes, timing_, events_, rows_,
                           [this] { return platform_.clock->TickCount(); }, nullptr,
                           [this] { close_requested_ = true; }};
  project_ = std::make_unique<TProject>(std::move(services));
  files_->SetDiscHost(project_.get());
  try {
    project_->Create(from_executable, folder);
  } catch (const EOrvaError& e) {
    platform_.message_boxes->Show({"警告", e.what(), platform::MessageIcon::kWarning, platform::MessageButtons::kOk});
    SetStopRequested(true);
  }
  if (StopRequested()) {
    failure_ = project_->StartFailure();
    return false;
  }
  return true;
}

void PlayerSession::RunScenario() { project_->RunFrame(); }

bool PlayerSession::ProcessRequests() { return project_->ProcessRequests(); }

void PlayerSession::ReportTurnError(const std::string& message) {
  const std::string caption = project_ ? Cp932ToUtf8(project_->Title()) : std::string("OrvaPlayer");
  platform_.message_boxes->Show({caption, message, platform::MessageIcon::kError, platform::MessageButtons::kOk});
}

}  // namespace orva
