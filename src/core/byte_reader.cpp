#include "core/byte_reader.h"

#include <cstring>

#include "core/error.h"
#include "core/extended.h"
#include "core/limits.h"

namespace orva {

void ByteReader::FailShort(size_t count) const {
  throw EOrvaError("damaged data: " + std::to_string(count) + " bytes needed at offset " +
                   std::to_string(position_) + ", only " + std::to_string(Remaining()) + " left");
}

void ByteReader::Seek(size_t position) {
  if (position > data_.size()) {
    throw EOrvaError("damaged data: offset " + std::to_string(position) + " lies beyond the " +
                     std::to_string(data_.size()) + " bytes present");
  }
  position_ = position;
}

void ByteReader::Skip(size_t count) {
  Need(count);
  position_ += count;
}

uint8_t ByteReader::U8() {
  Need(1);
  return data_[position_++];
}

uint16_t ByteReader::U16() {
  Need(2);
  const uint16_t v = static_cast<uint16_t>(data_[position_] | (data_[position_ + 1] << 8));
  position_ += 2;
  return v;
}

uint32_t ByteReader::U32() {
  Need(4);
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | data_[position_ + i];
  position_ += 4;
  return v;
}

uint64_t ByteReader::U64() {
  Need(8);
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | data_[position_ + i];
  position_ += 8;
  return v;
}

long double ByteReader::Extended() {
  Need(10);
  ExtendedBytes bytes;
  std::memcpy(bytes.data(), data_.data() + position_, bytes.size());
  position_ += 10;
  return DecodeExtended(bytes);
}

std::span<const uint8_t> ByteReader::Bytes(size_t count) {
  Need(count);
  auto piece = data_.subspan(position_, count);
  position_ += count;
  return piece;
}

std::string_view ByteReader::Chars(size_t count) {
  auto piece = Bytes(count);
  return {reinterpret_cast<const char*>(piece.data()), piece.size()};
}

std::string ByteReader::String() {
  const int32_t count = I32();
  if (count <= 0) return {};
  return std::string(Chars(static_cast<size_t>(count)));
}

int32_t ByteReader::Count(size_t smallest_record) {
  const size_t at = position_;
  const int32_t count = I32();
  if (!limits::CountFits(count, static_cast<int64_t>(smallest_record), static_cast<int64_t>(Remaining()))) {
    throw EOrvaError("damaged data: a count of " + std::to_string(count) + " at offset " +
                     std::to_string(at) + " does not fit the " + std::to_string(Remaining()) +
                     " bytes left");
  }
  return count;
}

}  // namespace orva
