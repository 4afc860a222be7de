#pragma once
// The one bounds-checked cursor every file format is read through. Each read returns a value or
// raises EOrvaError; nothing is read, and nothing allocated, beyond the bytes present.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orva {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}
  explicit ByteReader(std::string_view data)
      : data_(reinterpret_cast<const uint8_t*>(data.data()), data.size()) {}

  size_t Size() const { return data_.size(); }
  size_t Position() const { return position_; }
  size_t Remaining() const { return data_.size() - position_; }
  bool AtEnd() const { return position_ == data_.size(); }

  void Seek(size_t position);
  void Skip(size_t count);

  uint8_t U8();
  int8_t I8() { return static_cast<int8_t>(U8()); }
  bool Bool() { return U8() != 0; }
  uint16_t U16();
  int16_t I16() { return static_cast<int16_t>(U16()); }
  uint32_t U32();
  int32_t I32() { return static_cast<int32_t>(U32()); }
  uint64_t U64();
  int64_t I64() { return static_cast<int64_t>(U64()); }
  long double Extended();

  // The next count bytes, without copying.
  std::span<const uint8_t> Bytes(size_t count);
  std::string_view Chars(size_t count);

  // The string record: signed 32-bit count, then that many bytes; a count of 0 or less is empty.
  std::string String();

  // A signed 32-bit record count, refused when negative or when count * smallest_record
  // exceeds the bytes left, so that callers may reserve for it.
  int32_t Count(size_t smallest_record);

  // Raises the reader's truncation error for a need of count bytes at the current position.
  [[noreturn]] void FailShort(size_t count) const;

 private:
  void Need(size_t count) const {
    if (count > Remaining()) FailShort(count);
  }

  std::span<const uint8_t> data_;
  size_t position_ = 0;
};

}  // namespace orva
