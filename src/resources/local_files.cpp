#include "resources/local_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/error.h"

namespace orva {

bool IsRegularFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

void RemoveLocalFileQuietly(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

std::string ReadLocalFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EOrvaError(path + ": " + std::strerror(errno));
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw EOrvaError(path + ": read error");
  return bytes.str();
}

}  // namespace orva
