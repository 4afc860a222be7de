#pragma once
// The one way our tools write their outputs: bytes go to a temporary file in the same folder,
// which replaces the final name only when everything was written and flushed. An interrupted or
// failed run leaves no truncated file under the final name.

#include <string>
#include <string_view>

namespace orva {

class AtomicFile {
 public:
  // Creates the temporary file beside path; raises EOrvaError when it cannot be made.
  explicit AtomicFile(std::string path);
  // Without Commit the temporary file is removed.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Writes every byte at the current end; raises EOrvaError on failure.
  void Write(std::string_view bytes);
  int Descriptor() const { return fd_; }
  const std::string& FinalPath() const { return path_; }
  const std::string& TemporaryPath() const { return temporary_path_; }

  // Flushes, closes and renames the temporary file over the final name, then flushes the folder.
  void Commit();
  // Removes the temporary file; the final name is left as it was.
  void Discard();

 private:
  std::string path_;
  std::string temporary_path_;
  int fd_ = -1;
  bool finished_ = false;
};

// Writes the whole file atomically.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace orva
