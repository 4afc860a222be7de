#include "resources/range_stream.h"

#include <algorithm>

#include "resources/big_file_stream.h"

namespace orva {

TRangeStream::TRangeStream(std::unique_ptr<TQnBigStream> stream, int64_t start, std::optional<int64_t> size)
    : stream_(std::move(stream)), start_(start), size_(size.value_or(stream_->GetSize())) {
  stream_->SetPosition(start_);
}

int64_t TRangeStream::Seek(int64_t offset, SeekOrigin origin) {
  std::lock_guard guard(lock_);
  int64_t target = start_ + offset;
  if (origin == SeekOrigin::kCurrent) target = stream_->GetPosition() + offset;
  if (origin == SeekOrigin::kEnd) target = start_ + size_ + offset;
  target = std::clamp(target, start_, start_ + size_);
  stream_->SetPosition(target);
  return stream_->GetPosition() - start_;
}

int64_t TRangeStream::Read(void* buffer, int64_t count) {
  std::lock_guard guard(lock_);
  const int64_t left = start_ + size_ - stream_->GetPosition();
  count = std::min(count, left);
  if (count <= 0) return 0;
  return stream_->Read(buffer, count);
}

int64_t TRangeStream::Size() {
  std::lock_guard guard(lock_);
  return size_;
}

TFileRangeStream::TFileRangeStream(const std::string& path, int64_t start, std::optional<int64_t> size)
    : TRangeStream(std::make_unique<TQnBigFileStream>(path, BigFileMode::kRead), start, size) {}

}  // namespace orva
