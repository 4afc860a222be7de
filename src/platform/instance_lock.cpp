#include "platform/instance_lock.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/error.h"

namespace orva::platform {
namespace {

constexpr size_t kLongestName = 240;
constexpr size_t kKeptPrefix = 200;

std::string Sha256Hex16(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) {
    throw EOrvaError("SHA-256 is not available");
  }
  std::string hex;
  char piece[3];
  for (int i = 0; i < 8; ++i) {
    std::snprintf(piece, sizeof(piece), "%02x", digest[i]);
    hex += piece;
  }
  return hex;
}

}  // namespace

std::string InstanceLock::LockFileName(const std::string& name) {
  if (name.size() <= kLongestName) return name + ".lock";
  return name.substr(0, kKeptPrefix) + "-" + Sha256Hex16(name) + ".lock";
}

InstanceLock::Result InstanceLock::TryAcquire(const std::string& name, const std::string& directory) {
  std::string path = directory;
  if (path.empty() || path.back() != '/') path += '/';
  path += LockFileName(name);
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) throw EOrvaError("cannot open the lock file " + path + ": " + std::strerror(errno));
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(fd);
    if (error == EWOULDBLOCK) return {Outcome::kHeldElsewhere, nullptr};
    throw EOrvaError("cannot lock " + path + ": " + std::strerror(error));
  }
  return {Outcome::kAcquired, std::unique_ptr<InstanceLock>(new InstanceLock(fd, std::move(path)))};
}

InstanceLock::~InstanceLock() {
  // The file stays: removing it would let a third player lock a fresh file while a second one
  // still waits on the old one.
  flock(fd_, LOCK_UN);
  close(fd_);
}

}  // namespace orva::platform
