#pragma once
// Optical discs and the disc prompt. A title may span several discs; the roots of the discs in the
// drives are the mount points of optical file systems, found once when the file manager is made.
// The prompt needs the project's title, prompts and install set, which the project provides at
// start-up through DiscRequestHost.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orva {

// Mount points (with a trailing "/") of the iso9660 and udf file systems listed in a mounts table
// in the form of /proc/mounts.
std::vector<std::string> OpticalMountRoots(std::string_view mounts_table);
// The same for the running system's /proc/mounts; empty when it cannot be read.
std::vector<std::string> SystemOpticalMountRoots();

struct InstallSetIdentity {
  std::string title;  // Shift-JIS
  int32_t disk_index = 0;
};

class DiscRequestHost {
 public:
  virtual ~DiscRequestHost() = default;
  // Shift-JIS texts of the project: its title (compared with install sets), the prompt for a disc
  // (a format with one number, the disc counted from 1), the question whether to quit, and the
  // application's title for the caption.
  virtual std::string ProjectTitle() = 0;
  virtual std::string DiskPrompt() = 0;
  virtual std::string QuitPrompt() = 0;
  virtual std::string ApplicationTitle() = 0;
  // Title and disc index of an install set file; nothing when it cannot be read.
  virtual std::optional<InstallSetIdentity> ReadInstallSet(const std::string& path) = 0;
  // Asks the main window to close once the current turn ends.
  virtual void RequestClose() = 0;
};

// The prompt with its number: "%d" takes the number, "%%" is one "%"; nothing else is interpreted.
std::string FormatDiskPrompt(std::string_view format, int number);

}  // namespace orva
