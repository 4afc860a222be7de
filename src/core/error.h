#pragma once
// EOrvaError: the one exception type the player raises for failures it reports.

#include <stdexcept>
#include <string>

namespace orva {

// Carries the system's own message text, in UTF-8 (messages are shown to a person).
// Code that swallows failures (the command loop, expression evaluation) catches exactly this type.
class EOrvaError : public std::runtime_error {
 public:
  explicit EOrvaError(const std::string& message) : std::runtime_error(message) {}
};

// The message for a file that no source holds: "<name>:ファイルがありません" with the name in UTF-8.
[[noreturn]] void ThrowFileMissing(const std::string& sjis_name);

}  // namespace orva
