#include "images/zlib_block.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <string>

#include "core/error.h"
#include "core/limits.h"

namespace orva {

size_t InflateCapFor(size_t compressed_size) {
  const uint64_t cap = uint64_t{compressed_size} * static_cast<uint64_t>(limits::kMaxInflateRatio);
  return static_cast<size_t>(std::min<uint64_t>(cap, SIZE_MAX));
}

std::vector<uint8_t> InflateBlock(std::span<const uint8_t> compressed, size_t wanted, const char* what) {
  // The buffer grows with what the stream really yields, so a block that promises much and
  // delivers little costs only what it delivers.
  std::vector<uint8_t> out(std::min(wanted, compressed.size() * 4 + 65536));
  if (wanted == 0) return out;
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw EOrvaError(std::string("cannot inflate the ") + what);
  size_t in_done = 0, out_done = 0;
  int status = Z_OK;
  while (out_done < wanted) {
    if (out_done == out.size()) out.resize(std::min(wanted, out.size() * 2));
    // zlib counts in 32-bit units; feed and drain in pieces that fit.
    const size_t in_piece = std::min<size_t>(compressed.size() - in_done, UINT_MAX);
    const size_t out_piece = std::min<size_t>(out.size() - out_done, UINT_MAX);
    z.next_in = const_cast<Bytef*>(compressed.data() + in_done);
    z.avail_in = static_cast<uInt>(in_piece);
    z.next_out = out.data() + out_done;
    z.avail_out = static_cast<uInt>(out_piece);
    status = inflate(&z, Z_NO_FLUSH);
    in_done += in_piece - z.avail_in;
    out_done += out_piece - z.avail_out;
    if (status == Z_STREAM_END) break;
    if (status == Z_BUF_ERROR && in_done == compressed.size()) break;  // the stream ends early
    if (status != Z_OK && status != Z_BUF_ERROR) {
      inflateEnd(&z);
      throw EOrvaError(std::string("damaged compressed ") + what);
    }
  }
  inflateEnd(&z);
  out.resize(out_done);
  return out;
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
