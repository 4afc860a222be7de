#pragma once
// The one writer every record goes through: little-endian integers, the string record,
// extended reals, raw bytes, appended to a growing buffer.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orva {

class ByteWriter {
 public:
  void U8(uint8_t v) { buffer_.push_back(static_cast<char>(v)); }
  void I8(int8_t v) { U8(static_cast<uint8_t>(v)); }
  void Bool(bool v) { U8(v ? 1 : 0); }
  void U16(uint16_t v);
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void U32(uint32_t v);
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void U64(uint64_t v);
  void I64(int64_t v) { U64(static_cast<uint64_t>(v)); }
  void Extended(long double v);
  void Bytes(std::span<const uint8_t> bytes);
  void Chars(std::string_view bytes) { buffer_.append(bytes); }
  // The string record: signed 32-bit count, then the bytes.
  void String(std::string_view s);

  // Overwrites 4 bytes already written at offset (for counts and sizes known only later).
  void PatchU32(size_t offset, uint32_t v);

  size_t Size() const { return buffer_.size(); }
  const std::string& Data() const { return buffer_; }
  std::string Take() { return std::move(buffer_); }

 private:
  std::string buffer_;
};

}  // namespace orva
