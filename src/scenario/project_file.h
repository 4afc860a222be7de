#pragma once
// The project file "orva.opb": the title's fixed settings, status variables and disc table.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "scenario/folder_disks.h"

namespace orva {

// A status variable declared by the project: type code 1 integer, 2 real, 3 flag, 4 string;
// any other type code carries no value.
struct StatusVariableEntry {
  uint8_t type = 0;
  std::string name;
  // monostate for unknown types; the flag keeps its stored byte.
  std::variant<std::monostate, int32_t, long double, uint8_t, std::string> value;
};

struct ProjectFile {
  static constexpr int32_t kNewestVersion = 110;

  int32_t version = kNewestVersion;
  std::string title;
  int32_t screen_width = 640;
  int32_t screen_height = 480;
  int32_t full_screen_width = 640;
  int32_t full_screen_height = 480;
  std::string start_page;
  std::string exit_page;          // version 110 on
  std::string reserved;
  int32_t image_key = 0;
  bool write_status = true;       // version 104 on
  bool frame_sleep = false;       // version 106 on
  std::string streamed_extensions = ".wav.wma.ogg.mid";  // version 109 on
  std::string disk_prompt;
  std::string quit_prompt;
  std::vector<StatusVariableEntry> status_variables;
  TFolderDiskList folder_disks;

  // Reads the fields the version has. A file above the newest version is left unread after its
  // version (the caller refuses it). Raises EOrvaError when the data ends early.
  static ProjectFile Read(std::string_view bytes);
  // Writes the fields of `version`.
  std::string Write() const;
};

}  // namespace orva
