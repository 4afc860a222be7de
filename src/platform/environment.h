#pragma once
// What the player learns from its environment: folders and the user. Only the platform reads
// environment variables and asks the system for such facts.

#include <string>

namespace orva::platform {

// The current working directory, with a trailing "/".
std::string CurrentDirectory();

// The folder for per-user runtime files: $XDG_RUNTIME_DIR/orvaplayer, else /tmp/orvaplayer-<uid>;
// created with mode 0700 when missing. Raises EOrvaError when it cannot be made or is not ours.
std::string RuntimeDirectory();

// The folder for temporary files: $TMPDIR, else /tmp.
std::string TemporaryDirectory();

}  // namespace orva::platform
