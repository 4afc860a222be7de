#include "resources/buff_big_stream.h"

#include <algorithm>
#include <cstring>

#include "core/error.h"

namespace orva {

TQnBuffBigStream::~TQnBuffBigStream() {
  if (Unread() > 0) stream_.SetPosition(stream_.GetPosition() - Unread());
}

int64_t TQnBuffBigStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    if (Unread() == 0) {
      const int64_t fill = std::min(kChunkSize, stream_.GetSize() - stream_.GetPosition());
      if (fill <= 0) break;
      buffer_.resize(static_cast<size_t>(fill));
      const int64_t got = stream_.Read(buffer_.data(), fill);
      buffer_.resize(static_cast<size_t>(std::max<int64_t>(got, 0)));
      offset_ = 0;
      if (got <= 0) break;
    }
    const int64_t piece = std::min(count - done, Unread());
    std::memcpy(static_cast<char*>(buffer) + done, buffer_.data() + offset_, static_cast<size_t>(piece));
    offset_ += piece;
    done += piece;
  }
  return done;
}

void TQnBuffBigStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || Read(buffer, count) != count) throw EOrvaError("stream read error");
}

}  // namespace orva
