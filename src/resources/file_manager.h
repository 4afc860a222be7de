#pragma once
// TVrFileManager: the one way to open a title's file by name. A name is looked for in the base
// folder (the title folder), in the sources (archives, in the order added) and on the discs;
// recently read files stay in a memory cache of about 4 MiB.

#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message_box.h"
#include "resources/disc_drives.h"
#include "resources/file_collection.h"
#include "resources/range_stream.h"
#include "resources/stream.h"
#include "resources/work_folder.h"

namespace orva {

struct FileManagerSetup {
  // Where the disc prompt is shown; without it a missing disc is not asked for.
  platform::MessageBoxes* message_boxes = nullptr;
  // The disc roots; by default the optical mounts of the running system.
  std::optional<std::vector<std::string>> cd_roots;
  // The parent of the private work folder; by default $TMPDIR, else /tmp.
  std::string temporary_parent;
};

class TVrFileManager {
 public:
  // The cache gives up its least recently used files while it holds more than this.
  static constexpr int64_t kCacheLimit = 4 * 1024 * 1024;

  explicit TVrFileManager(FileManagerSetup setup = {});
  ~TVrFileManager();
  TVrFileManager(const TVrFileManager&) = delete;
  TVrFileManager& operator=(const TVrFileManager&) = delete;

  // The index of the new source, or -1 when a source of that folder exists.
  int AddArchive(const std::string& path);
  // Resource archives of an executable do not exist on Linux: raises "リソースが見つかりません".
  int AddResourceArchive(const std::string& module_file, const std::string& resource_name,
                         const std::string& resource_type);
  void RemoveSource(int index);
  int SourceCount() const { return static_cast<int>(sources_.size()); }
  TVrFileCollection* Source(int index) const { return sources_.at(static_cast<size_t>(index)).get(); }

  // A "/" is appended when missing.
  void SetBaseFolder(std::string folder);
  const std::string& BaseFolder() const { return base_folder_; }

  bool Exists(std::string_view name);
  // The file's contents into destination, left at position 0. Raises "<name>:ファイルがありません".
  void Load(TStream& destination, std::string_view name);
  // A window for media that read a file piecewise; compressed entries are not inflated.
  std::unique_ptr<TRangeStream> OpenRange(std::string_view name);
  // A local file with the contents, for media that can only be opened by file name.
  std::string RealFileName(std::string_view name);
  TVrFile* FindEntry(std::string_view name) const;
  void ForgetCached(std::string_view name);
  void ClearCache() { cache_.clear(); }
  // Asks for disc number (counted from 1) until it is found (true) or the user quits (false).
  bool RequestDisk(int number);

  // The folder part of a name: up to and including the last "\" (or ":" for drive names).
  static std::string FolderOf(std::string_view name);

  void SetDiscHost(DiscRequestHost* host) { disc_host_ = host; }
  const std::vector<std::string>& CdRoots() const { return cd_roots_; }
  const std::string& TempFolder() const { return work_folder_.Path(); }

  int CachedFileCount() const { return static_cast<int>(cache_.size()); }
  int64_t CachedBytes() const;

 private:
  struct CachedFile {
    std::string name;  // upper-cased
    std::unique_ptr<TMemoryStream> data;
  };
  struct WorkFileRecord {
    std::string entry_name;
    int32_t id = 0;
    std::string path;
  };

  std::optional<std::string> FindOnDisc(std::string_view name) const;
  CachedFile& TakeCacheEntry(const std::string& upper_name);
  void DropCacheEntry(const std::string& upper_name);
  bool ScanForDisc(int number);

  // Declared first so that it goes last: work files are removed after everything else is freed.
  WorkFolder work_folder_;
  std::vector<std::unique_ptr<TVrFileCollection>> sources_;
  std::vector<std::string> cd_roots_;
  std::string base_folder_;
  std::list<CachedFile> cache_;  // most recently used first
  std::vector<WorkFileRecord> locks_;
  int32_t next_lock_id_ = 0;
  platform::MessageBoxes* message_boxes_ = nullptr;
  DiscRequestHost* disc_host_ = nullptr;
};

// The manager of the running player, for the parts that reach it without a reference.
TVrFileManager* ProcessFileManager();
void SetProcessFileManager(TVrFileManager* manager);

}  // namespace orva
