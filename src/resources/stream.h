#pragma once
// The 32-bit-style stream family the player reads and writes records through: the abstract
// stream, the growable memory stream and a plain file stream. Sizes and positions are 64-bit here;
// the formats themselves decide what fits.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

namespace orva {

enum class SeekOrigin { kBeginning, kCurrent, kEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Bytes actually transferred; never more than count.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // The new position from the beginning.
  virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
  virtual int64_t Size();

  int64_t Position() { return Seek(0, SeekOrigin::kCurrent); }
  void SetPosition(int64_t position) { Seek(position, SeekOrigin::kBeginning); }

  // Whole transfers: raise EOrvaError when fewer bytes move.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
};

// A stream over one growable block of memory. The block is not zero-filled when it grows, so a
// buffer reserved generously costs only the pages actually written. Two streams may share one
// block (ShareContents): the block is copied only when one of them changes it, so the file
// manager can hand a file to a caller and keep it in its cache without copying it.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() override { return size_; }

  // Changes the size (new bytes are zero); the position is kept unless it lies beyond the end.
  void SetSize(int64_t size);
  // Changes the size for a caller that writes every new byte itself: they are not cleared first.
  void SetSizeForOverwrite(int64_t size);
  void Clear();
  void Reserve(int64_t capacity);
  // Hands the capacity beyond the size back to the system.
  void ShrinkToFit();

  // Writable bytes: a shared block is copied first. Read through Bytes() or View() instead.
  uint8_t* Memory();
  std::span<const uint8_t> Bytes() const { return {Data(), static_cast<size_t>(size_)}; }
  std::string_view View() const { return {reinterpret_cast<const char*>(Data()), static_cast<size_t>(size_)}; }

  // Takes over a block from malloc/realloc holding size bytes of a capacity-byte allocation.
  void Adopt(uint8_t* block, int64_t size, int64_t capacity);
  // Swaps contents (block, size, position) with another memory stream.
  void SwapContents(TMemoryStream& other);
  // Holds the same bytes as other (without copying them), at position 0.
  void ShareContents(const TMemoryStream& other);

  void LoadFromStream(TStream& source);
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path);

 private:
  struct Block {
    uint8_t* bytes = nullptr;
    int64_t capacity = 0;
    Block(uint8_t* b, int64_t c) : bytes(b), capacity(c) {}
    ~Block() { std::free(bytes); }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
  };
  const uint8_t* Data() const { return block_ ? block_->bytes : nullptr; }
  int64_t Capacity() const { return block_ ? block_->capacity : 0; }
  // Makes the block this stream's own, with at least capacity bytes.
  void Own(int64_t capacity);
  void Grow(int64_t needed);

  std::shared_ptr<Block> block_;
  int64_t size_ = 0;
  int64_t position_ = 0;
};

// The memory stream the player keeps command progress, frame states and save entries in, so that
// they can be recognised by class.
class TQnMemoryStream : public TMemoryStream {};

enum class FileOpenMode { kRead, kReadWrite, kCreate };

// A stream over one local file.
class TFileStream : public TStream {
 public:
  // Raises EOrvaError naming the path when the file cannot be opened.
  TFileStream(const std::string& path, FileOpenMode mode);
  ~TFileStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() override;

  int Descriptor() const { return fd_; }

 private:
  int fd_ = -1;
  int64_t position_ = 0;
};

}  // namespace orva
