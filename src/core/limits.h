#pragma once
// Every cap the readers apply to sizes declared by files lives here, so that a damaged or hostile
// file can never make the player allocate more than its bytes justify.

#include <cstdint>

namespace orva::limits {

// Pictures: each side and the pixel count, checked before any allocation.
inline constexpr int32_t kMaxPictureSide = 16384;
inline constexpr int64_t kMaxPicturePixels = 67108864;

// A layered image's pictures together (frames, layers kept while the file is read, alpha
// channels): far above what the original's 2 GiB address space could hold.
inline constexpr int64_t kMaxLayeredImagePixels = int64_t{1} << 29;

// Inflated data may be at most this many times the compressed bytes (zlib's own worst case is ~1032).
inline constexpr int64_t kMaxInflateRatio = 1032;

// Native recursion: expressions, nested mark-up, nested calls.
inline constexpr int kMaxNestingDepth = 1000;

// Elements of one value (an array declared by a scenario or read from a save).
inline constexpr int64_t kMaxArrayElements = int64_t{1} << 24;

// Bytes of one string a scenario builds by concatenation.
inline constexpr int64_t kMaxStringBytes = int64_t{1} << 28;

// Record tables: the bytes of one record, the records of one table, and its bytes (record length
// times records).
inline constexpr int64_t kMaxTableRecordBytes = int64_t{1} << 20;
inline constexpr int64_t kMaxTableRecords = int64_t{1} << 24;
inline constexpr int64_t kMaxTableBytes = int64_t{1} << 26;

// Entries of one archive directory (a title of a million files is far beyond any made).
inline constexpr int64_t kMaxArchiveEntries = int64_t{1} << 20;

// FFmpeg contexts: max_pixels.
inline constexpr int64_t kMaxMoviePixels = 4096 * 4096;

// A declared count of records is refused when count * smallest record > bytes left.
constexpr bool CountFits(int64_t count, int64_t smallest_record, int64_t bytes_left) {
  if (count < 0) return false;
  if (smallest_record <= 0) return true;
  return count <= bytes_left / smallest_record;
}

constexpr bool PictureFits(int64_t width, int64_t height) {
  if (width < 0 || height < 0) return false;
  if (width > kMaxPictureSide || height > kMaxPictureSide) return false;
  return width * height <= kMaxPicturePixels;
}

}  // namespace orva::limits
