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

std::string ReadLocalFile(const std::string& path, uint64_t max_bytes) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    throw EOrvaError(path + ": not a file");
  }
  if (!ec && std::filesystem::is_regular_file(status) && std::filesystem::file_size(path, ec) > max_bytes && !ec) {
    throw EOrvaError(path + ": the file is too large");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EOrvaError(path + ": " + std::strerror(errno));
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw EOrvaError(path + ": read error");
  return bytes.str();
}

}  // namespace orva
