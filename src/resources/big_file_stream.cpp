#include "resources/big_file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/error.h"

namespace orva {
namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int64_t PieceInVolume(int64_t position, int64_t count) {
  const int64_t offset = position % TQnBigFileStream::kVolumeSize;
  return std::min(count, TQnBigFileStream::kVolumeSize - offset);
}

}  // namespace

std::string TQnBigFileStream::VolumeName(const std::string& path, int index) {
  if (index == 0) return path;
  std::string stem = path;
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) stem = path.substr(0, dot);
  char number[16];
  std::snprintf(number, sizeof number, ".%.3d", index);
  return stem + number;
}

TQnBigFileStream::TQnBigFileStream(std::string path, BigFileMode mode) : path_(std::move(path)), mode_(mode) {
  if (mode_ == BigFileMode::kRead || mode_ == BigFileMode::kReadWrite) {
    if (!OpenVolume(0)) throw EOrvaError("cannot open " + path_ + ": " + std::strerror(errno));
    for (int i = 1; OpenVolume(i); ++i) {
    }
    return;
  }
  if (mode_ == BigFileMode::kCreate) {
    for (int i = 0; ::unlink(VolumeName(path_, i).c_str()) == 0; ++i) {
    }
  }
  if (!EnsureVolume(0)) throw EOrvaError("cannot create " + path_ + ": " + std::strerror(errno));
}

TQnBigFileStream::~TQnBigFileStream() { CloseAll(mode_ != BigFileMode::kRead); }

void TQnBigFileStream::CloseAll(bool flush) {
  for (Volume& v : volumes_) {
    if (v.atomic) continue;  // an uncommitted atomic volume is discarded by its own destructor
    if (v.fd < 0) continue;
    if (flush) ::fsync(v.fd);
    ::close(v.fd);
    v.fd = -1;
  }
  volumes_.clear();
}

bool TQnBigFileStream::OpenVolume(int index) {
  const std::string name = VolumeName(path_, index);
  if (index > 0 && !Exists(name)) return false;
  const int flags = mode_ == BigFileMode::kRead ? O_RDONLY : O_RDWR;
  const int fd = ::open(name.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  volumes_.push_back(Volume{fd, nullptr});
  return true;
}

bool TQnBigFileStream::EnsureVolume(int index) {
  if (mode_ == BigFileMode::kRead) return index < static_cast<int>(volumes_.size());
  while (static_cast<int>(volumes_.size()) <= index) {
    const std::string name = VolumeName(path_, static_cast<int>(volumes_.size()));
    Volume v;
    if (mode_ == BigFileMode::kCreateAtomic) {
      v.atomic = std::make_unique<AtomicFile>(name);
      v.fd = v.atomic->Descriptor();
    } else {
      v.fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      if (v.fd < 0) return false;
    }
    volumes_.push_back(std::move(v));
  }
  return true;
}

int64_t TQnBigFileStream::GetSize() {
  int64_t total = 0;
  for (const Volume& v : volumes_) {
    struct stat st {};
    if (::fstat(v.fd, &st) == 0) total += st.st_size;
  }
  return total;
}

void TQnBigFileStream::SetPosition(int64_t position) { position_ = std::clamp<int64_t>(position, 0, GetSize()); }

int64_t TQnBigFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const int64_t index = position_ / kVolumeSize;
    if (index >= static_cast<int64_t>(volumes_.size())) break;
    const int64_t piece = PieceInVolume(position_, count - done);
    const ssize_t n = ::pread(volumes_[static_cast<size_t>(index)].fd, static_cast<char*>(buffer) + done,
                              static_cast<size_t>(piece), position_ % kVolumeSize);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
    position_ += n;
  }
  return done;
}

int64_t TQnBigFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const int64_t index = position_ / kVolumeSize;
    if (index > 9999 || !EnsureVolume(static_cast<int>(index))) break;
    const int64_t piece = PieceInVolume(position_, count - done);
    const ssize_t n = ::pwrite(volumes_[static_cast<size_t>(index)].fd, static_cast<const char*>(buffer) + done,
                               static_cast<size_t>(piece), position_ % kVolumeSize);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
    position_ += n;
  }
  return done;
}

namespace {

// Copies count bytes from source through write in pieces that limit() keeps inside volumes.
template <typename Source, typename Limit, typename Write>
int64_t CopyInPieces(Source& source, int64_t count, Limit limit, Write write) {
  constexpr int64_t kBuffer = TQnBigFileStream::kCopyBufferSize;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min(std::max<int64_t>(count, 0), kBuffer)));
  int64_t done = 0;
  while (done < count) {
    const int64_t got = source.Read(buffer.data(), limit(std::min<int64_t>(count - done, kBuffer)));
    if (got <= 0) break;
    const int64_t put = write(buffer.data(), got);
    done += put;
    if (put < got) break;
  }
  return done;
}

}  // namespace

int64_t TQnBigFileStream::CopyFromBig(TQnBigStream& source, int64_t count) {
  auto* file = dynamic_cast<TQnBigFileStream*>(&source);
  // Pieces never cross a volume boundary of either side.
  auto limit = [&](int64_t piece) {
    piece = PieceInVolume(position_, piece);
    return file != nullptr ? PieceInVolume(file->position_, piece) : piece;
  };
  return CopyInPieces(source, count, limit, [this](const uint8_t* data, int64_t n) { return Write(data, n); });
}

int64_t TQnBigFileStream::CopyFrom(TStream& source, int64_t count) {
  auto limit = [&](int64_t piece) { return PieceInVolume(position_, piece); };
  return CopyInPieces(source, count, limit, [this](const uint8_t* data, int64_t n) { return Write(data, n); });
}

int64_t TQnBigFileStream::CopyTo(TStream& destination, int64_t count) {
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min(std::max<int64_t>(count, 0), kCopyBufferSize)));
  int64_t done = 0;
  while (done < count) {
    const int64_t got = Read(buffer.data(), std::min<int64_t>(count - done, kCopyBufferSize));
    if (got <= 0) break;
    const int64_t put = destination.Write(buffer.data(), got);
    done += put;
    if (put < got) break;
  }
  return done;
}

void TQnBigFileStream::Commit() {
  if (mode_ != BigFileMode::kCreateAtomic) return;
  for (Volume& v : volumes_) {
    v.atomic->Commit();
    v.fd = -1;
  }
  // Later volumes of an older, longer file would be read as part of this one.
  for (int i = static_cast<int>(volumes_.size()); i > 0 && ::unlink(VolumeName(path_, i).c_str()) == 0; ++i) {
  }
  volumes_.clear();
}

}  // namespace orva
