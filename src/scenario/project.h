#pragma once
// TProject: the loaded title. It reads the project file, creates the status variables, finds the
// title's data when it was installed from discs, starts the start page, decides whether a file may
// be fetched or a disc must be asked for, and carries out save and load requests between frames.
// When it goes, it runs the exit page.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/frame_timing.h"
#include "resources/disc_drives.h"
#include "scenario/call_host.h"
#include "scenario/project_file.h"

namespace orva {

namespace platform {
class MessageBoxes;
}
class SystemVariableRows;
class TCallMan;
class TParamCollection;
class TTimerList;
class TVrFileManager;

struct ProjectServices {
  TParamCollection& store;
  TVrFileManager& files;
  platform::MessageBoxes& message_boxes;
  const FrameTiming& timing;
  TTimerList& events;
  SystemVariableRows& rows;
  std::function<uint32_t()> system_ticks;
  // Called when the title is known (the window caption follows it).
  std::function<void(const std::string& sjis_title)> title_changed;
  // Asks the main window to close after the current turn.
  std::function<void()> request_close;
};

class TProject final : public CallManagerHost, public DiscRequestHost {
 public:
  explicit TProject(ProjectServices services);
  // Runs the exit page; the call manager and the lists go with the project.
  ~TProject() override;

  // The start-up. installed_data_search: the player was started on the title's executable, so the
  // title's data may have to be found on its discs; executable_folder is that executable's folder.
  // Afterwards StopRequested tells whether the title can run.
  void Create(bool installed_data_search, const std::string& executable_folder);

  void RunFrame();
  // A pending load, then a pending save; true when a game was loaded.
  bool ProcessRequests();

  const ProjectFile& File() const { return file_; }
  const std::string& Title() const { return title_; }
  TCallMan* CallManager() const { return calls_.get(); }
  // Why the title could not start, for the player's one line on stderr; empty when the user was
  // told in a message box or nothing went wrong.
  const std::string& StartFailure() const { return start_failure_; }

  // CallManagerHost
  std::string ReadPageFile(const std::string& name) override;
  bool EnsureAvailable(const std::string& name) override;
  void RefuseOldPage(const std::string& name) override;
  TTimerList& Events() override;
  const FrameTiming& Timing() const override { return services_.timing; }
  void RequestSave(int32_t slot, const std::string& page, const std::string& caption, int32_t value) override;
  void RequestLoad(int32_t slot) override { pending_load_slot_ = slot; }
  void RequestClose() override;

  // DiscRequestHost
  std::string ProjectTitle() override { return title_; }
  std::string DiskPrompt() override { return disk_prompt_; }
  std::string QuitPrompt() override { return quit_prompt_; }
  std::string ApplicationTitle() override { return title_; }
  std::optional<InstallSetIdentity> ReadInstallSet(const std::string& path) override;

 private:
  bool FindInstalledData(const std::string& executable_folder);
  bool ScanDiscs(const std::string& title);
  void CreateStatusVariables();
  void ReadReplacementDiskTable();
  std::string LoadFile(const std::string& name);

  ProjectServices services_;
  ProjectFile file_;
  std::string title_;
  std::string disk_prompt_;
  std::string quit_prompt_;
  std::unique_ptr<TCallMan> calls_;
  int32_t pending_load_slot_ = -1;
  int32_t pending_save_slot_ = -1;
  std::string pending_save_page_;
  std::string pending_save_caption_;
  int32_t pending_save_value_ = 0;
  std::string start_failure_;
};

}  // namespace orva
