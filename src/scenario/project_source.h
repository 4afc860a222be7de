#pragma once
// The readable form of a project file, for building titles from source: one setting per line,
// texts quoted as in page listings.
//
//   version 110
//   title "デモ"
//   screen 640 480
//   full-screen 640 480
//   start "start.osb"
//   exit "exit.osb"
//   image-key 0
//   write-status 1
//   frame-sleep 1
//   streamed ".wav.wma.ogg.mid"
//   disk-prompt "ディスク%dを入れてから[OK]をクリックしてください"
//   quit-prompt "終了します"
//   status int score 0          (also real, flag, str; "status TYPECODE name" for others)
//   disk "DATA" 2
//
// Lines starting with "#" are comments. Settings left out keep their defaults.

#include <string>
#include <string_view>

#include "scenario/project_file.h"

namespace orva {

// Raises EOrvaError naming the line of a mistake.
ProjectFile ParseProjectSource(std::string_view text);
std::string WriteProjectSource(const ProjectFile& project);

}  // namespace orva
