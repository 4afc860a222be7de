#pragma once
// TQnBuffBigStream: read-ahead in chunks of 102400 bytes over a big stream it does not own. When
// destroyed it moves the big stream back by the bytes fetched but not consumed, so that the big
// stream stands exactly where the reader stopped.

#include <cstdint>
#include <vector>

#include "resources/big_stream.h"

namespace orva {

class TQnBuffBigStream {
 public:
  static constexpr int64_t kChunkSize = 102400;

  explicit TQnBuffBigStream(TQnBigStream& stream) : stream_(stream) {}
  ~TQnBuffBigStream();
  TQnBuffBigStream(const TQnBuffBigStream&) = delete;
  TQnBuffBigStream& operator=(const TQnBuffBigStream&) = delete;

  // Bytes handed out; fewer than count only at the end of the big stream.
  int64_t Read(void* buffer, int64_t count);
  // Raises EOrvaError when fewer than count bytes remain.
  void ReadBuffer(void* buffer, int64_t count);

  // Bytes left to read: those buffered plus those after the big stream's position.
  int64_t Remaining() { return Unread() + stream_.GetSize() - stream_.GetPosition(); }

 private:
  int64_t Unread() const { return static_cast<int64_t>(buffer_.size()) - offset_; }

  TQnBigStream& stream_;
  std::vector<uint8_t> buffer_;
  int64_t offset_ = 0;
};

}  // namespace orva
