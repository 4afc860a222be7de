#include "resources/zlib_codec.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "core/error.h"
#include "core/limits.h"

namespace orva {
namespace {

// The first guess is 8 times the compressed size (at least 64 KiB), doubled until the data fits.
// Pages of the guess that the inflater never writes are never touched, so a generous guess costs
// address space, not memory.
constexpr int64_t kGuessFactor = 8;
constexpr int64_t kMinimumGuess = 64 * 1024;

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

libdeflate_decompressor* Decompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
      libdeflate_alloc_decompressor());
  if (!decompressor) throw std::bad_alloc();
  return decompressor.get();
}

[[noreturn]] void FailDamaged(std::string_view what) {
  throw EOrvaError(std::string(what) + ": damaged compressed data");
}

}  // namespace

void InflateZlib(std::span<const uint8_t> compressed, TMemoryStream& out, std::string_view what) {
  const int64_t in_size = static_cast<int64_t>(compressed.size());
  if (in_size == 0) FailDamaged(what);
  const int64_t cap = in_size * limits::kMaxInflateRatio;
  int64_t guess = std::min(std::max(in_size * kGuessFactor, kMinimumGuess), cap);
  for (;;) {
    auto* block = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(guess)));
    if (block == nullptr) throw std::bad_alloc();
    size_t in_used = 0;
    size_t out_size = 0;
    const libdeflate_result result = libdeflate_zlib_decompress_ex(
        Decompressor(), compressed.data(), compressed.size(), block, static_cast<size_t>(guess), &in_used, &out_size);
    if (result == LIBDEFLATE_SUCCESS) {
      out.Adopt(block, static_cast<int64_t>(out_size), guess);
      out.ShrinkToFit();
      return;
    }
    std::free(block);
    if (result != LIBDEFLATE_INSUFFICIENT_SPACE) FailDamaged(what);
    if (guess >= cap) {
      throw EOrvaError(std::string(what) + ": compressed data inflates beyond " +
                       std::to_string(limits::kMaxInflateRatio) + " times its size");
    }
    guess = std::min(guess * 2, cap);
  }
}

void DeflateFast(std::span<const uint8_t> plain, TMemoryStream& out) {
  uLongf bound = compressBound(static_cast<uLong>(plain.size()));
  const int64_t start = out.Position();
  out.SetSizeForOverwrite(std::max(out.Size(), start + static_cast<int64_t>(bound)));
  const int status = compress2(out.Memory() + start, &bound, plain.data(), static_cast<uLong>(plain.size()), 1);
  if (status != Z_OK) throw EOrvaError("compression failed");
  out.SetSize(start + static_cast<int64_t>(bound));
  out.SetPosition(start + static_cast<int64_t>(bound));
}

uint32_t Crc32(std::span<const uint8_t> bytes) {
  return static_cast<uint32_t>(crc32_z(crc32_z(0, nullptr, 0), bytes.data(), bytes.size()));
}

}  // namespace orva
