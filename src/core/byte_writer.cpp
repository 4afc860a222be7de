#include "core/byte_writer.h"

#include <limits>

#include "core/error.h"
#include "core/extended.h"

namespace orva {

void ByteWriter::U16(uint16_t v) {
  U8(static_cast<uint8_t>(v));
  U8(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::U32(uint32_t v) {
  for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteWriter::U64(uint64_t v) {
  for (int i = 0; i < 8; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteWriter::Extended(long double v) {
  const ExtendedBytes bytes = EncodeExtended(v);
  Bytes(bytes);
}

void ByteWriter::Bytes(std::span<const uint8_t> bytes) {
  buffer_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void ByteWriter::String(std::string_view s) {
  if (s.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    throw EOrvaError("a string of " + std::to_string(s.size()) + " bytes is too long to store");
  }
  I32(static_cast<int32_t>(s.size()));
  Chars(s);
}

void ByteWriter::PatchU32(size_t offset, uint32_t v) {
  if (offset + 4 > buffer_.size()) throw EOrvaError("internal error: patch beyond the written bytes");
  for (int i = 0; i < 4; ++i) buffer_[offset + i] = static_cast<char>(v >> (8 * i));
}

}  // namespace orva
