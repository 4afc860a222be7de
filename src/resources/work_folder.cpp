#include "resources/work_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/error.h"
#include "platform/environment.h"

namespace orva {

WorkFolder::WorkFolder(std::string parent) : parent_(std::move(parent)) {}

WorkFolder::~WorkFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

const std::string& WorkFolder::Path() const {
  if (!path_.empty()) return path_;
  std::string parent = parent_.empty() ? platform::TemporaryDirectory() : parent_;
  if (parent.empty() || parent.back() != '/') parent += '/';
  std::string pattern = parent + "orvaplayer-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) {
    throw EOrvaError("cannot create a work folder in " + parent + ": " + std::strerror(errno));
  }
  path_ = std::string(name.data()) + "/";
  return path_;
}

}  // namespace orva
