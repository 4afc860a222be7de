#include "resources/big_stream.h"

#include "core/error.h"
#include "resources/stream_records.h"

namespace orva {

void TQnBigStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || Read(buffer, count) != count) throw EOrvaError("stream read error");
}

void TQnBigStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || Write(buffer, count) != count) throw EOrvaError("stream write error");
}

int64_t TQnBigMemoryStream::CopyFromBig(TQnBigStream& source, int64_t count) {
  auto* memory = dynamic_cast<TQnBigMemoryStream*>(&source);
  if (memory == nullptr) return 0;
  return CopyStream(memory_, memory->memory_, count);
}

int64_t TQnBigMemoryStream::CopyFrom(TStream& source, int64_t count) { return CopyStream(memory_, source, count); }

int64_t TQnBigMemoryStream::CopyTo(TStream& destination, int64_t count) {
  return CopyStream(destination, memory_, count);
}

}  // namespace orva
