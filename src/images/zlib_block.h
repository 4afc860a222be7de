#pragma once
// The zlib blocks of layered images: colour and alpha data inflated up to the size the picture
// needs, and written at zlib's fastest level.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace orva {

// Inflates one zlib stream, stopping once wanted bytes are out (data after them is never looked
// at, as a reader that takes only what it needs would). A stream that ends early gives fewer
// bytes; damaged data raises EOrvaError naming what. wanted must not exceed the inflate cap for
// the compressed size (see InflateCapFor).
struct InflatedBytes {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;
  std::span<const uint8_t> Bytes() const { return {data.get(), size}; }
};
InflatedBytes InflateBlock(std::span<const uint8_t> compressed, size_t wanted, const char* what);

// Inflates a whole zlib stream into out when it yields exactly out.size() bytes; false otherwise
// (out then holds no meaning, and InflateBlock tells what is wrong).
bool InflateWhole(std::span<const uint8_t> compressed, std::span<uint8_t> out);

// The most bytes a compressed block of this size may inflate to.
size_t InflateCapFor(size_t compressed_size);

// The zlib stream of plain at level 1.
std::vector<uint8_t> DeflateBlock(std::span<const uint8_t> plain);

}  // namespace orva
