#include "core/exit_files.h"

#include <mutex>

namespace orva {
namespace {

std::mutex& ListLock() {
  static std::mutex lock;
  return lock;
}

std::vector<std::string>& List() {
  static std::vector<std::string> files;
  return files;
}

}  // namespace

void DeleteAtExit(std::string path) {
  std::lock_guard<std::mutex> guard(ListLock());
  List().push_back(std::move(path));
}

std::vector<std::string> TakeFilesToDeleteAtExit() {
  std::lock_guard<std::mutex> guard(ListLock());
  std::vector<std::string> files;
  files.swap(List());
  return files;
}

}  // namespace orva
