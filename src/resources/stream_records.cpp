#include "resources/stream_records.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"

namespace orva {
namespace {

// Bulk copies use a buffer of up to 10 MiB; when memory is short the request shrinks 1 MiB at a time.
constexpr int64_t kCopyBufferLimit = 10 * 1024 * 1024;
constexpr int64_t kCopyBufferStep = 1024 * 1024;

template <size_t N>
std::array<uint8_t, N> ReadFixed(TStream& stream) {
  std::array<uint8_t, N> bytes{};
  stream.ReadBuffer(bytes.data(), N);
  return bytes;
}

}  // namespace

std::string ReadString(TStream& stream) {
  const int32_t count = ReadInt32(stream);
  if (count <= 0) return {};
  if (count > stream.Size() - stream.Position()) {
    throw EOrvaError("damaged data: a string of " + std::to_string(count) + " bytes runs past the end");
  }
  std::string s(static_cast<size_t>(count), '\0');
  stream.ReadBuffer(s.data(), count);
  return s;
}

void WriteString(TStream& stream, std::string_view s) {
  ByteWriter writer;
  writer.String(s);
  stream.WriteBuffer(writer.Data().data(), static_cast<int64_t>(writer.Size()));
}

int32_t ReadInt32(TStream& stream) {
  const auto bytes = ReadFixed<4>(stream);
  return ByteReader(bytes).I32();
}

void WriteInt32(TStream& stream, int32_t value) {
  ByteWriter writer;
  writer.I32(value);
  stream.WriteBuffer(writer.Data().data(), 4);
}

uint8_t ReadByte(TStream& stream) { return ReadFixed<1>(stream)[0]; }

void WriteByte(TStream& stream, uint8_t value) { stream.WriteBuffer(&value, 1); }

int64_t CopyStream(TStream& destination, TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  if (count <= 0) return 0;
  if (auto* memory = dynamic_cast<TMemoryStream*>(&source)) {
    const int64_t position = memory->Position();
    if (count > memory->Size() - position) throw EOrvaError("stream read error");
    destination.WriteBuffer(memory->Bytes().data() + position, count);
    memory->SetPosition(position + count);
    return count;
  }
  int64_t request = std::min(count, kCopyBufferLimit);
  std::unique_ptr<uint8_t[]> buffer;
  while (!buffer) {
    buffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(request)]);
    if (buffer) break;
    request -= kCopyBufferStep;
    if (request <= 0) throw std::bad_alloc();
  }
  for (int64_t left = count; left > 0;) {
    const int64_t piece = std::min(left, request);
    source.ReadBuffer(buffer.get(), piece);
    destination.WriteBuffer(buffer.get(), piece);
    left -= piece;
  }
  return count;
}

}  // namespace orva
