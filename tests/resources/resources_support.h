#pragma once
// Shared helpers of the resource tests: scratch folders and small files.

#include <string>

namespace orva::test {

// A fresh folder (with a trailing "/") removed with everything in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Writes bytes to Path() + relative (folders made as needed) and returns the full path.
  std::string Write(const std::string& relative, const std::string& bytes) const;

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);
// Bytes that do not compress (a fixed pseudo-random sequence).
std::string NoiseBytes(size_t count, uint32_t seed = 1);

}  // namespace orva::test
