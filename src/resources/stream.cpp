#include "resources/stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "core/error.h"

namespace orva {

int64_t TStream::Size() {
  const int64_t here = Position();
  const int64_t end = Seek(0, SeekOrigin::kEnd);
  Seek(here, SeekOrigin::kBeginning);
  return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || Read(buffer, count) != count) throw EOrvaError("stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || Write(buffer, count) != count) throw EOrvaError("stream write error");
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  const int64_t n = std::min(count, size_ - position_);
  std::memcpy(buffer, Data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int64_t end = position_ + count;
  if (end > Capacity()) Grow(end);
  Own(Capacity());
  if (position_ > size_) std::memset(block_->bytes + size_, 0, static_cast<size_t>(position_ - size_));
  std::memcpy(block_->bytes + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  size_ = std::max(size_, end);
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t base = 0;
  if (origin == SeekOrigin::kCurrent) base = position_;
  if (origin == SeekOrigin::kEnd) base = size_;
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

void TMemoryStream::Own(int64_t capacity) {
  capacity = std::max(capacity, size_);
  if (block_ && block_.use_count() == 1) {
    if (capacity <= block_->capacity) return;
    void* grown = std::realloc(block_->bytes, static_cast<size_t>(capacity));
    if (grown == nullptr) throw std::bad_alloc();
    block_->bytes = static_cast<uint8_t*>(grown);
    block_->capacity = capacity;
    return;
  }
  if (capacity == 0) {
    block_.reset();
    return;
  }
  auto* bytes = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(capacity)));
  if (bytes == nullptr) throw std::bad_alloc();
  if (size_ > 0) std::memcpy(bytes, Data(), static_cast<size_t>(size_));
  block_ = std::make_shared<Block>(bytes, capacity);
}

void TMemoryStream::Grow(int64_t needed) {
  int64_t capacity = std::max<int64_t>(Capacity() + Capacity() / 2, 8192);
  Reserve(std::max(capacity, needed));
}

void TMemoryStream::Reserve(int64_t capacity) {
  if (capacity <= Capacity()) return;
  Own(capacity);
}

void TMemoryStream::ShrinkToFit() {
  if (!block_ || block_.use_count() > 1 || block_->capacity == size_) return;
  if (size_ == 0) {
    block_.reset();
    return;
  }
  void* block = std::realloc(block_->bytes, static_cast<size_t>(size_));
  if (block == nullptr) return;
  block_->bytes = static_cast<uint8_t*>(block);
  block_->capacity = size_;
}

uint8_t* TMemoryStream::Memory() {
  if (!block_) return nullptr;
  Own(Capacity());
  return block_->bytes;
}

void TMemoryStream::SetSizeForOverwrite(int64_t size) {
  size = std::max<int64_t>(0, size);
  if (size > Capacity()) Reserve(size);
  size_ = size;
  position_ = std::min(position_, size_);
}

void TMemoryStream::SetSize(int64_t size) {
  size = std::max<int64_t>(0, size);
  const int64_t old_size = size_;
  SetSizeForOverwrite(size);
  if (size > old_size) std::memset(Memory() + old_size, 0, static_cast<size_t>(size - old_size));
}

void TMemoryStream::Clear() {
  block_.reset();
  size_ = position_ = 0;
}

void TMemoryStream::Adopt(uint8_t* block, int64_t size, int64_t capacity) {
  block_ = std::make_shared<Block>(block, capacity);
  size_ = size;
  position_ = 0;
}

void TMemoryStream::SwapContents(TMemoryStream& other) {
  std::swap(block_, other.block_);
  std::swap(size_, other.size_);
  std::swap(position_, other.position_);
}

void TMemoryStream::ShareContents(const TMemoryStream& other) {
  block_ = other.block_;
  size_ = other.size_;
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  const int64_t count = source.Size();
  Clear();
  SetSizeForOverwrite(count);
  source.ReadBuffer(Memory(), count);
}

void TMemoryStream::LoadFromFile(const std::string& path) {
  TFileStream file(path, FileOpenMode::kRead);
  LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& path) {
  TFileStream file(path, FileOpenMode::kCreate);
  file.WriteBuffer(Data(), size_);
}

TFileStream::TFileStream(const std::string& path, FileOpenMode mode) {
  int flags = O_RDONLY;
  if (mode == FileOpenMode::kReadWrite) flags = O_RDWR;
  if (mode == FileOpenMode::kCreate) flags = O_RDWR | O_CREAT | O_TRUNC;
  fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd_ < 0) throw EOrvaError("cannot open " + path + ": " + std::strerror(errno));
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(fd_, static_cast<char*>(buffer) + done, static_cast<size_t>(count - done), position_);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
    position_ += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const ssize_t n =
        ::pwrite(fd_, static_cast<const char*>(buffer) + done, static_cast<size_t>(count - done), position_);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
    position_ += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t base = 0;
  if (origin == SeekOrigin::kCurrent) base = position_;
  if (origin == SeekOrigin::kEnd) base = Size();
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

int64_t TFileStream::Size() {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return 0;
  return st.st_size;
}

}  // namespace orva
