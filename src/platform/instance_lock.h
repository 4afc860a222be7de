#pragma once
// The single-instance guard: an exclusive flock on "<runtime dir>/<name>.lock", held until the
// object is destroyed (or the process ends).

#include <memory>
#include <string>

namespace orva::platform {

class InstanceLock {
 public:
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  enum class Outcome { kAcquired, kHeldElsewhere };
  struct Result {
    Outcome outcome;
    std::unique_ptr<InstanceLock> lock;  // set when acquired
  };

  // name: the instance name's bytes. Raises EOrvaError when the lock file cannot be made.
  static Result TryAcquire(const std::string& name, const std::string& directory);

  // The file name used for a name: names over 240 bytes keep their first 200 bytes, then "-" and
  // 16 hex digits of the SHA-256 of the whole name; ".lock" is appended.
  static std::string LockFileName(const std::string& name);

  const std::string& Path() const { return path_; }

 private:
  InstanceLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  int fd_;
  std::string path_;
};

}  // namespace orva::platform
