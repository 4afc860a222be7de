#pragma once
// The private folder for work files (real copies of archive entries for media that can only open
// a file by name): made for this process with mkdtemp, so that two players never share or guess
// each other's files, and removed with everything in it when the folder object goes.

#include <string>

namespace orva {

class WorkFolder {
 public:
  // Made lazily below parent (by default $TMPDIR, else /tmp).
  explicit WorkFolder(std::string parent = {});
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  // The folder with a trailing "/"; created on first use. Raises EOrvaError when it cannot be made.
  const std::string& Path() const;

 private:
  std::string parent_;
  mutable std::string path_;
};

}  // namespace orva
