#include "images/zlib_block.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "core/error.h"
#include "core/limits.h"

namespace orva {

size_t InflateCapFor(size_t compressed_size) {
  const uint64_t cap = uint64_t{compressed_size} * static_cast<uint64_t>(limits::kMaxInflateRatio);
  return static_cast<size_t>(std::min<uint64_t>(cap, SIZE_MAX));
}

namespace {

struct FreeDecompressor {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

libdeflate_decompressor* Decompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor(
      libdeflate_alloc_decompressor());
  return decompressor.get();
}

// zlib's streaming inflate, for streams that whole-buffer inflate refuses: longer than wanted
// (only the front is needed) or ending early.
InflatedBytes InflateStreaming(std::span<const uint8_t> compressed, size_t wanted, const char* what) {
  InflatedBytes out;
  // The buffer grows with what the stream really yields, so a block that promises much and
  // delivers little costs only what it delivers.
  size_t capacity = std::min(wanted, compressed.size() * 4 + 65536);
  out.data.reset(new uint8_t[capacity]);
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw EOrvaError(std::string("cannot inflate the ") + what);
  size_t in_done = 0;
  while (out.size < wanted) {
    if (out.size == capacity) {
      capacity = std::min(wanted, capacity * 2);
      std::unique_ptr<uint8_t[]> grown(new uint8_t[capacity]);
      std::memcpy(grown.get(), out.data.get(), out.size);
      out.data = std::move(grown);
    }
    // zlib counts in 32-bit units; feed and drain in pieces that fit.
    const size_t in_piece = std::min<size_t>(compressed.size() - in_done, UINT_MAX);
    const size_t out_piece = std::min<size_t>(capacity - out.size, UINT_MAX);
    z.next_in = const_cast<Bytef*>(compressed.data() + in_done);
    z.avail_in = static_cast<uInt>(in_piece);
    z.next_out = out.data.get() + out.size;
    z.avail_out = static_cast<uInt>(out_piece);
    const int status = inflate(&z, Z_NO_FLUSH);
    in_done += in_piece - z.avail_in;
    out.size += out_piece - z.avail_out;
    if (status == Z_STREAM_END) break;
    if (status == Z_BUF_ERROR && in_done == compressed.size()) break;  // the stream ends early
    if (status != Z_OK && status != Z_BUF_ERROR) {
      inflateEnd(&z);
      throw EOrvaError(std::string("damaged compressed ") + what);
    }
  }
  inflateEnd(&z);
  return out;
}

}  // namespace

bool InflateWhole(std::span<const uint8_t> compressed, std::span<uint8_t> out) {
  libdeflate_decompressor* decompressor = Decompressor();
  if (decompressor == nullptr) return false;
  size_t produced = 0;
  const libdeflate_result result =
      libdeflate_zlib_decompress(decompressor, compressed.data(), compressed.size(), out.data(), out.size(), &produced);
  return result == LIBDEFLATE_SUCCESS && produced == out.size();
}

InflatedBytes InflateBlock(std::span<const uint8_t> compressed, size_t wanted, const char* what) {
  InflatedBytes out;
  if (wanted == 0) return out;
  // Whole-buffer inflate into storage that is left untouched (and so costs nothing) beyond what
  // the stream yields.
  out.data.reset(new uint8_t[wanted]);
  libdeflate_decompressor* decompressor = Decompressor();
  if (decompressor != nullptr &&
      libdeflate_zlib_decompress(decompressor, compressed.data(), compressed.size(), out.data.get(), wanted,
                                 &out.size) == LIBDEFLATE_SUCCESS) {
    return out;
  }
  out.data.reset();
  return InflateStreaming(compressed, wanted, what);
}

std::vector<uint8_t> DeflateBlock(std::span<const uint8_t> plain) {
  uLongf bound = compressBound(static_cast<uLong>(plain.size()));
  std::vector<uint8_t> out(bound);
  if (compress2(out.data(), &bound, plain.data(), static_cast<uLong>(plain.size()), 1) != Z_OK) {
    throw EOrvaError("cannot compress the picture data");
  }
  out.resize(bound);
  return out;
}

}  // namespace orva
