#include "resources/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "core/error.h"

namespace orva {
namespace {

std::string FolderPart(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw EOrvaError("cannot " + what + " " + path + ": " + std::strerror(errno));
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
  const size_t slash = path_.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path_.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path_ : path_.substr(slash + 1);
  std::string pattern = folder + "." + base + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) Fail("create a temporary file for", path_);
  temporary_path_ = name.data();
  // mkstemp makes the file private; the output gets the usual permissions of a new file.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, 0666 & ~mask);
}

AtomicFile::~AtomicFile() {
  if (!finished_) Discard();
}

void AtomicFile::Write(std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail("write", path_);
    done += static_cast<size_t>(n);
  }
}

void AtomicFile::Commit() {
  if (finished_) return;
  if (::fsync(fd_) != 0) Fail("write", path_);
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0) Fail("write", path_);
  if (::rename(temporary_path_.c_str(), path_.c_str()) != 0) Fail("replace", path_);
  finished_ = true;
  const int folder = ::open(FolderPart(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

void AtomicFile::Discard() {
  if (finished_) return;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(temporary_path_.c_str());
  finished_ = true;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFile file(path);
  file.Write(bytes);
  file.Commit();
}

}  // namespace orva
