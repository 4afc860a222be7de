#pragma once
// TQnBigFileStream: a file stored as consecutive volumes of exactly 1 GiB each. Volume 0 is the
// file itself; volume i is the name without its extension plus "." and i as three digits, so
// "game.dat" continues in game.001, game.002 and so on.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "resources/atomic_file.h"
#include "resources/big_stream.h"

namespace orva {

enum class BigFileMode {
  kRead,
  kReadWrite,
  // Existing volumes are deleted; volumes are created as writing reaches them.
  kCreate,
  // Like kCreate, but every volume is written beside its final name and replaces it only at Commit().
  kCreateAtomic,
};

class TQnBigFileStream : public TQnBigStream {
 public:
  static constexpr int64_t kVolumeSize = int64_t{1} << 30;
  static constexpr int64_t kCopyBufferSize = int64_t{1} << 20;

  // Read and read-write open every existing volume in order, stopping at the first missing one;
  // raises EOrvaError when the file itself cannot be opened.
  TQnBigFileStream(std::string path, BigFileMode mode);
  ~TQnBigFileStream() override;

  static std::string VolumeName(const std::string& path, int index);

  int64_t GetSize() override;
  int64_t GetPosition() override { return position_; }
  // Lowered to the size when beyond it.
  void SetPosition(int64_t position) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t CopyFromBig(TQnBigStream& source, int64_t count) override;
  int64_t CopyFrom(TStream& source, int64_t count) override;
  int64_t CopyTo(TStream& destination, int64_t count) override;

  // kCreateAtomic: puts every written volume in place and removes stale later volumes.
  void Commit();

  int VolumeCount() const { return static_cast<int>(volumes_.size()); }
  const std::string& FileName() const { return path_; }

 private:
  struct Volume {
    int fd = -1;
    std::unique_ptr<AtomicFile> atomic;
  };
  bool OpenVolume(int index);
  bool EnsureVolume(int index);
  void CloseAll(bool flush);

  std::string path_;
  BigFileMode mode_;
  std::vector<Volume> volumes_;
  int64_t position_ = 0;
};

}  // namespace orva
