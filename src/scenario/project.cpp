#include "scenario/project.h"

#include "core/encoding.h"
#include "core/sjis.h"
#include "core/error.h"
#include "core/stop_flag.h"
#include "platform/message_box.h"
#include "resources/file_manager.h"
#include "resources/local_files.h"
#include "resources/stream.h"
#include "scenario/call_manager.h"
#include "scenario/call_manager_rows.h"
#include "scenario/event_queue.h"
#include "scenario/install_set.h"
#include "script/builtins/system_variable_rows.h"
#include "script/param.h"
#include "script/param_collection.h"

namespace orva {
namespace {

using platform::MessageButtons;
using platform::MessageChoice;
using platform::MessageIcon;
using platform::MessageRequest;

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// The extension of a file name with its dot, lower-cased; empty when it has none. The second
// byte of a double-byte character is never taken for a delimiter.
std::string LowerExtension(const std::string& name) {
  for (size_t i = name.size(); i-- > 0;) {
    const char c = name[i];
    if (c != '.' && c != '\\' && c != '/' && c != ':') continue;
    if (sjis::IsTrailByteAt(name, i)) continue;
    if (c != '.') return {};
    return sjis::AnsiLowerCase(name.substr(i));
  }
  return {};
}

}  // namespace

TProject::TProject(ProjectServices services) : services_(std::move(services)) {}

TProject::~TProject() {
  if (calls_ && !file_.exit_page.empty()) {
    try {
      calls_->Start(file_.exit_page);
      SetStopRequested(false);
      calls_->Run();
    } catch (const EOrvaError&) {
      // The exit page is a courtesy: a title whose exit page fails still ends.
    }
    SetStopRequested(true);
  }
  calls_.reset();
}

std::string TProject::LoadFile(const std::string& name) {
  TMemoryStream bytes;
  services_.files.Load(bytes, name);
  return std::string(bytes.View());
}

void TProject::Create(bool installed_data_search, const std::string& executable_folder) {
  disk_prompt_ = Utf8ToCp932("ディスク%dを入れてから[OK]をクリックしてください");
  quit_prompt_ = Utf8ToCp932("終了します");
  SetStopRequested(true);
  title_ = Utf8ToCp932("情報");

  if (installed_data_search && !FindInstalledData(executable_folder)) return;

  std::string bytes;
  try {
    bytes = LoadFile("orva.opb");
  } catch (const EOrvaError& e) {
    start_failure_ = std::string("no title here: ") + e.what();
    return;
  }
  if (bytes.empty()) {
    services_.message_boxes.Show({"警告", "プロジェクトがありません", MessageIcon::kWarning, MessageButtons::kOk});
    return;
  }
  file_ = ProjectFile::Read(bytes);
  if (file_.version > ProjectFile::kNewestVersion) {
    start_failure_ = "the project file is of version " + std::to_string(file_.version) +
                     ", newer than this player reads (" + std::to_string(ProjectFile::kNewestVersion) + ")";
    return;
  }
  title_ = file_.title;
  if (services_.title_changed) services_.title_changed(title_);
  disk_prompt_ = file_.disk_prompt;
  quit_prompt_ = file_.quit_prompt;
  CreateStatusVariables();
  SetStopRequested(false);
  ReadReplacementDiskTable();

  calls_ = std::make_unique<TCallMan>(services_.store, *this);
  RegisterCallManagerRows(services_.rows, *calls_, *this, services_.system_ticks);
  SystemVariableRows::Row title_row;
  title_row.read = [this](int32_t, SystemValue& out) { out.str_value = title_; };
  services_.rows.SetRow(SV_TITLE, title_row);
  SystemVariableRows::Row width_row;
  width_row.read = [this](int32_t, SystemValue& out) { out.int_value = file_.screen_width; };
  services_.rows.SetRow(SV_SCRWIDTH, width_row);
  SystemVariableRows::Row height_row;
  height_row.read = [this](int32_t, SystemValue& out) { out.int_value = file_.screen_height; };
  services_.rows.SetRow(SV_SCRHEIGHT, height_row);

  if (services_.files.Exists(file_.start_page)) {
    calls_->Start(file_.start_page);
  } else {
    services_.message_boxes.Show({"警告", "スタートページがありません", MessageIcon::kWarning, MessageButtons::kOk});
    SetStopRequested(true);
  }
}

void TProject::CreateStatusVariables() {
  TParamCollection& store = services_.store;
  for (const StatusVariableEntry& entry : file_.status_variables) {
    // A value restored from the save file wins over the project's initial value.
    if (store.FindVar(entry.name) != nullptr) continue;
    // Type codes without a value class define no variable.
    if (entry.type > PT_STR) continue;
    TParamCollectionItem* variable = store.AddNamedVar(entry.name, entry.type);
    variable->SetStatus(true);
    TCustomParam* value = variable->Value();
    if (const auto* i = std::get_if<int32_t>(&entry.value)) value->SetInt(*i);
    if (const auto* x = std::get_if<long double>(&entry.value)) value->SetFloat(*x);
    if (const auto* b = std::get_if<uint8_t>(&entry.value)) value->SetBool(*b != 0);
    if (const auto* s = std::get_if<std::string>(&entry.value)) value->SetStr(*s);
  }
}

void TProject::ReadReplacementDiskTable() {
  if (!services_.files.Exists("/original_orva.opb")) return;
  try {
    const ProjectFile original = ProjectFile::Read(LoadFile("/original_orva.opb"));
    if (original.version <= ProjectFile::kNewestVersion) file_.folder_disks = original.folder_disks;
  } catch (const EOrvaError&) {
    // A damaged replacement table leaves the project's own table in force.
  }
}

bool TProject::FindInstalledData(const std::string& executable_folder) {
  const std::string folder = WithSlash(executable_folder);
  if (IsRegularFile(folder + "install.dat") && services_.files.BaseFolder().empty()) {
    services_.files.SetBaseFolder(folder);
  }
  if (!services_.files.Exists("install.dat")) {
    services_.message_boxes.Show({"情報", "インストールし直してください", MessageIcon::kInformation, MessageButtons::kOk});
    return false;
  }
  const TOrvaInstallSet install = TOrvaInstallSet::Read(LoadFile("install.dat"));
  if (IsRegularFile(folder + "game.dat")) {
    services_.files.AddArchive(folder + "game.dat");
    if (install.installed) return true;
  } else if (services_.files.SourceCount() >= 1 && install.installed) {
    return true;
  }
  for (;;) {
    if (ScanDiscs(install.title)) return true;
    const MessageRequest insert{"情報", "ディスクを入れてください", MessageIcon::kInformation,
                                MessageButtons::kOkCancel, MessageChoice::kCancel};
    if (services_.message_boxes.Show(insert) == MessageChoice::kOk) continue;
    const MessageRequest quit{Cp932ToUtf8(title_), Cp932ToUtf8(quit_prompt_), MessageIcon::kInformation,
                              MessageButtons::kOkCancel, MessageChoice::kOk};
    if (services_.message_boxes.Show(quit) == MessageChoice::kOk) return false;
  }
}

bool TProject::ScanDiscs(const std::string& title) {
  for (const std::string& root : services_.files.CdRoots()) {
    const std::string archive = WithSlash(root) + "game.dat";
    const std::string install = WithSlash(root) + "install.dat";
    if (!IsRegularFile(archive) || !IsRegularFile(install)) continue;
    const auto identity = ReadInstallSet(install);
    if (!identity || identity->title != title) continue;
    services_.files.AddArchive(archive);
    return true;
  }
  return false;
}

std::optional<InstallSetIdentity> TProject::ReadInstallSet(const std::string& path) {
  try {
    const TOrvaInstallSet set = TOrvaInstallSet::Read(ReadLocalFile(path));
    return InstallSetIdentity{set.title, set.disk_index};
  } catch (const EOrvaError&) {
    return std::nullopt;
  }
}

void TProject::RunFrame() {
  if (calls_) calls_->Run();
}

bool TProject::ProcessRequests() {
  bool loaded = false;
  if (pending_load_slot_ >= 0) {
    // Games are restored by the save data; without it a load finds no game and changes nothing.
    pending_load_slot_ = -1;
    loaded = true;
  }
  if (pending_save_slot_ >= 0) {
    pending_save_slot_ = -1;
  }
  return loaded;
}

std::string TProject::ReadPageFile(const std::string& name) { return LoadFile(name); }

bool TProject::EnsureAvailable(const std::string& name) {
  if (name.empty()) return false;
  if (services_.files.Exists(name)) return true;
  const int32_t disk = file_.folder_disks.DiskOf(name);
  if (disk <= 0) return false;
  // A missing streamed medium is skipped silently rather than asked for.
  const std::string streamed = sjis::AnsiLowerCase(file_.streamed_extensions) + ".";
  if (streamed.find(LowerExtension(name) + ".") != std::string::npos) return false;
  return services_.files.RequestDisk(disk);
}

void TProject::RefuseOldPage(const std::string& name) {
  SetStopRequested(true);
  services_.message_boxes.Show({"警告", Cp932ToUtf8(name) + "\r\nリビルドしてください", MessageIcon::kWarning,
                                MessageButtons::kOk});
  RequestClose();
}

TTimerList& TProject::Events() { return services_.events; }

void TProject::RequestSave(int32_t slot, const std::string& page, const std::string& caption, int32_t value) {
  pending_save_slot_ = slot;
  pending_save_page_ = page;
  pending_save_caption_ = caption;
  pending_save_value_ = value;
}

void TProject::RequestClose() {
  if (services_.request_close) services_.request_close();
}

}  // namespace orva
