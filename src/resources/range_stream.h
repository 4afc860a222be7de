#pragma once
// TRangeStream: a read-only window onto part of a big stream it owns, handed to media players.
// The media library reads it from its own threads, so every operation holds the window's lock.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "resources/big_stream.h"
#include "resources/stream.h"

namespace orva {

class TRangeStream : public TStream {
 public:
  // Positions the big stream at start. Without a size the window runs to the big stream's end.
  TRangeStream(std::unique_ptr<TQnBigStream> stream, int64_t start, std::optional<int64_t> size);

  // The position is kept within Start ... Start + Size; the result is relative to Start.
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  // Never reads past Start + Size.
  int64_t Read(void* buffer, int64_t count) override;
  // A window is read-only: nothing is written.
  int64_t Write(const void*, int64_t) override { return 0; }
  int64_t Size() override;

  int64_t Start() const { return start_; }

 private:
  std::unique_ptr<TQnBigStream> stream_;
  int64_t start_;
  int64_t size_;
  std::mutex lock_;
};

// A window onto a local file, opened for reading.
class TFileRangeStream : public TRangeStream {
 public:
  // Raises EOrvaError when the file cannot be opened.
  TFileRangeStream(const std::string& path, int64_t start, std::optional<int64_t> size);
};

}  // namespace orva
