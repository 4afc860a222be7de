#pragma once
// TQnBigStream: the stream family with 64-bit sizes and positions that archives are read and
// written through, and its memory kind.

#include <cstdint>
#include <memory>
#include <string>

#include "resources/stream.h"

namespace orva {

class TQnBigStream {
 public:
  virtual ~TQnBigStream() = default;
  TQnBigStream() = default;
  TQnBigStream(const TQnBigStream&) = delete;
  TQnBigStream& operator=(const TQnBigStream&) = delete;

  // The base does nothing and answers 0.
  virtual int64_t GetSize() { return 0; }
  virtual int64_t GetPosition() { return 0; }
  virtual void SetPosition(int64_t) {}
  virtual int64_t Write(const void*, int64_t) { return 0; }
  virtual int64_t Read(void*, int64_t) { return 0; }
  virtual int64_t CopyFromBig(TQnBigStream&, int64_t) { return 0; }
  virtual int64_t CopyFrom(TStream&, int64_t) { return 0; }
  virtual int64_t CopyTo(TStream&, int64_t) { return 0; }

  // Whole transfers: raise EOrvaError when fewer bytes move.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
};

// Wraps one owned memory stream.
class TQnBigMemoryStream : public TQnBigStream {
 public:
  TQnBigMemoryStream() = default;

  int64_t GetSize() override { return memory_.Size(); }
  int64_t GetPosition() override { return memory_.Position(); }
  void SetPosition(int64_t position) override { memory_.SetPosition(position); }
  int64_t Write(const void* buffer, int64_t count) override { return memory_.Write(buffer, count); }
  int64_t Read(void* buffer, int64_t count) override { return memory_.Read(buffer, count); }
  // Only another memory big stream is accepted; any other source copies nothing.
  int64_t CopyFromBig(TQnBigStream& source, int64_t count) override;
  int64_t CopyFrom(TStream& source, int64_t count) override;
  int64_t CopyTo(TStream& destination, int64_t count) override;

  void SaveToFile(const std::string& path) { memory_.SaveToFile(path); }
  void LoadFromFile(const std::string& path) { memory_.LoadFromFile(path); }

  TMemoryStream& Stream() { return memory_; }

 private:
  TMemoryStream memory_;
};

}  // namespace orva
