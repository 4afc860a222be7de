#include "platform/environment.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/error.h"

namespace orva::platform {
namespace {

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// Makes dir with the given mode unless it exists; insists on a directory we own.
void EnsurePrivateDirectory(const std::string& dir, mode_t mode) {
  if (mkdir(dir.c_str(), mode) != 0 && errno != EEXIST) {
    throw EOrvaError("cannot create " + dir + ": " + std::strerror(errno));
  }
  struct stat st {};
  if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
    throw EOrvaError(dir + " is not a folder of this user");
  }
}

}  // namespace

std::string CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) throw EOrvaError(std::string("cannot read the current folder: ") + std::strerror(errno));
    buffer.resize(buffer.size() * 2);
  }
  return WithSlash(buffer.data());
}

std::string RuntimeDirectory() {
  const char* xdg = std::getenv("XDG_RUNTIME_DIR");
  if (xdg != nullptr && xdg[0] != '\0') {
    const std::string dir = WithSlash(xdg) + "orvaplayer";
    EnsurePrivateDirectory(dir, 0700);
    return dir;
  }
  const std::string dir = "/tmp/orvaplayer-" + std::to_string(geteuid());
  EnsurePrivateDirectory(dir, 0700);
  return dir;
}

std::string TemporaryDirectory() {
  const char* tmp = std::getenv("TMPDIR");
  if (tmp != nullptr && tmp[0] != '\0') return tmp;
  return "/tmp";
}

}  // namespace orva::platform
