#include "resources/file_manager.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "core/stop_flag.h"
#include "resources/local_names.h"
#include "resources/stream_records.h"

namespace orva {
namespace {

TVrFileManager* process_manager = nullptr;

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && sjis::SameTextIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// The extension of an entry name with its dot, as a local file name part.
std::string WorkFileExtension(std::string_view name) {
  size_t dot = std::string_view::npos;
  for (size_t i = 0; i < name.size(); i += sjis::CharLengthAt(name, i)) {
    if (name[i] == '.') dot = i;
    if (sjis::IsPathDelimiterAt(name, i, /*slash_too=*/true)) dot = std::string_view::npos;
  }
  if (dot == std::string_view::npos) return {};
  std::string extension = Cp932ToUtf8(name.substr(dot));
  for (char& c : extension) {
    if (c == '/') c = '_';
  }
  return extension;
}

}  // namespace

TVrFileManager* ProcessFileManager() { return process_manager; }
void SetProcessFileManager(TVrFileManager* manager) { process_manager = manager; }

TVrFileManager::TVrFileManager(FileManagerSetup setup)
    : work_folder_(std::move(setup.temporary_parent)),
      cd_roots_(setup.cd_roots ? std::move(*setup.cd_roots) : SystemOpticalMountRoots()),
      message_boxes_(setup.message_boxes) {}

TVrFileManager::~TVrFileManager() {
  if (process_manager == this) process_manager = nullptr;
}

int TVrFileManager::AddArchive(const std::string& path) {
  for (const auto& source : sources_) {
    if (sjis::SameTextIgnoringCase(source->Folder(), path)) return -1;
  }
  auto table = std::make_unique<TVrFileCollection>();
  table->Open(path);
  sources_.push_back(std::move(table));
  return static_cast<int>(sources_.size()) - 1;
}

int TVrFileManager::AddResourceArchive(const std::string& module_file, const std::string& resource_name,
                                       const std::string& resource_type) {
  auto table = std::make_unique<TVrFileCollection>();
  table->OpenResource(module_file, resource_name, resource_type);
}

void TVrFileManager::RemoveSource(int index) {
  if (index < 0 || index >= SourceCount()) return;
  sources_.erase(sources_.begin() + index);
}

void TVrFileManager::SetBaseFolder(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  base_folder_ = std::move(folder);
}

std::optional<std::string> TVrFileManager::FindOnDisc(std::string_view name) const {
  for (const std::string& root : cd_roots_) {
    if (auto path = FindLocalFile(root, name)) return path;
  }
  return std::nullopt;
}

TVrFile* TVrFileManager::FindEntry(std::string_view name) const {
  for (const auto& source : sources_) {
    if (TVrFile* entry = source->FindFile(name)) return entry;
  }
  return nullptr;
}

bool TVrFileManager::Exists(std::string_view name) {
  if (name.empty()) return false;
  if (FindEntry(name) != nullptr) return true;
  if (FindLocalFile(base_folder_, name)) return true;
  return FindOnDisc(name).has_value();
}

int64_t TVrFileManager::CachedBytes() const {
  int64_t total = 0;
  for (const CachedFile& file : cache_) total += file.data->Size();
  return total;
}

TVrFileManager::CachedFile& TVrFileManager::TakeCacheEntry(const std::string& upper_name) {
  for (auto it = cache_.begin(); it != cache_.end(); ++it) {
    if (it->name == upper_name) {
      cache_.splice(cache_.begin(), cache_, it);
      return cache_.front();
    }
  }
  cache_.push_front(CachedFile{upper_name, std::make_unique<TMemoryStream>()});
  // The bound is kept only when a new name comes in, so one large file stays until then.
  while (cache_.size() > 1 && CachedBytes() > kCacheLimit) cache_.pop_back();
  return cache_.front();
}

void TVrFileManager::DropCacheEntry(const std::string& upper_name) {
  cache_.remove_if([&](const CachedFile& file) { return file.name == upper_name; });
}

void TVrFileManager::ForgetCached(std::string_view name) { DropCacheEntry(sjis::AnsiUpperCase(name)); }

void TVrFileManager::Load(TStream& destination, std::string_view name) {
  if (auto* memory = dynamic_cast<TMemoryStream*>(&destination)) memory->Clear();
  const std::string upper = sjis::AnsiUpperCase(name);
  TMemoryStream& cached = *TakeCacheEntry(upper).data;
  auto serve = [&]() {
    // A memory destination shares the cached bytes; they are copied only if one side changes them.
    if (auto* memory = dynamic_cast<TMemoryStream*>(&destination)) {
      memory->ShareContents(cached);
      return;
    }
    CopyStream(destination, cached, 0);
    destination.SetPosition(0);
  };
  if (cached.Size() > 0) return serve();
  try {
    if (auto local = FindLocalFile(base_folder_, name)) {
      cached.LoadFromFile(*local);
      return serve();
    }
    for (const auto& source : sources_) {
      TVrFile* entry = source->FindFile(name);
      if (entry == nullptr || (!entry->memory && source->Source() == nullptr)) continue;
      if (entry->memory) {
        // In-memory files change under their name, so they are never cached.
        DropCacheEntry(upper);
        CopyStream(destination, *entry->memory, 0);
        destination.SetPosition(0);
        return;
      }
      if (entry->size > 0) {
        source->ReadStoredData(*entry, cached);
        TVrFileCollection::InflateEntry(*entry, cached);
        return serve();
      }
      return;
    }
    if (auto disc = FindOnDisc(name)) {
      cached.LoadFromFile(*disc);
      return serve();
    }
  } catch (...) {
    // A failed load leaves no half-filled cache entry behind; the error goes on to the caller.
    DropCacheEntry(upper);
    throw;
  }
  DropCacheEntry(upper);
  ThrowFileMissing(std::string(name));
}

std::unique_ptr<TRangeStream> TVrFileManager::OpenRange(std::string_view name) {
  if (auto local = FindLocalFile(base_folder_, name)) return std::make_unique<TFileRangeStream>(*local, 0, std::nullopt);
  for (const auto& source : sources_) {
    if (auto range = source->EntryRange(name)) return range;
  }
  if (auto disc = FindOnDisc(name)) return std::make_unique<TFileRangeStream>(*disc, 0, std::nullopt);
  ThrowFileMissing(std::string(name));
}

std::string TVrFileManager::RealFileName(std::string_view name) {
  if (auto local = FindLocalFile(base_folder_, name)) return *local;
  if (FindEntry(name) != nullptr) {
    for (const WorkFileRecord& record : locks_) {
      if (record.entry_name == name) return record.path;
    }
    char id_text[16];
    std::snprintf(id_text, sizeof id_text, "%.8X", static_cast<unsigned>(next_lock_id_));
    WorkFileRecord record{std::string(name), next_lock_id_++, {}};
    record.path = TempFolder() + "~oa" + id_text + WorkFileExtension(name);
    ::chmod(record.path.c_str(), 0600);
    const int fd = ::open(record.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) throw EOrvaError("作業用ファイルが作れません");
    ::close(fd);
    try {
      TFileStream file(record.path, FileOpenMode::kReadWrite);
      Load(file, name);
    } catch (...) {
      // The record is dropped with its file, so that a later request tries again.
      ::unlink(record.path.c_str());
      throw;
    }
    locks_.push_back(std::move(record));
    return locks_.back().path;
  }
  if (auto disc = FindOnDisc(name)) return *disc;
  return std::string(name);
}

std::string TVrFileManager::FolderOf(std::string_view name) {
  const bool drive_or_unc = (name.size() >= 2 && name[0] == '\\' && name[1] == '\\') || (name.size() >= 2 && name[1] == ':');
  size_t end = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    if (sjis::IsPathDelimiterAt(name, i) || (drive_or_unc && name[i] == ':' && !sjis::IsTrailByteAt(name, i))) {
      end = i + 1;
    }
  }
  return std::string(name.substr(0, end));
}

bool TVrFileManager::ScanForDisc(int number) {
  bool found = false;
  for (const std::string& root : cd_roots_) {
    const auto archive = FindLocalFile(root, "game.dat");
    const auto install = FindLocalFile(root, "install.dat");
    if (!archive || !install) continue;
    const std::optional<InstallSetIdentity> identity = disc_host_->ReadInstallSet(*install);
    if (identity && identity->title == disc_host_->ProjectTitle() && identity->disk_index == number - 1) {
      AddArchive(*archive);
      found = true;
    }
  }
  return found;
}

bool TVrFileManager::RequestDisk(int number) {
  for (int i = SourceCount() - 1; i >= 0; --i) {
    for (const std::string& root : cd_roots_) {
      if (StartsWithIgnoringCase(sources_[static_cast<size_t>(i)]->Folder(), root)) {
        RemoveSource(i);
        break;
      }
    }
  }
  if (message_boxes_ == nullptr || disc_host_ == nullptr) return false;
  const std::string caption = Cp932ToUtf8(disc_host_->ApplicationTitle());
  for (;;) {
    platform::MessageRequest prompt;
    prompt.caption = caption;
    prompt.text = Cp932ToUtf8(FormatDiskPrompt(disc_host_->DiskPrompt(), number));
    prompt.icon = platform::MessageIcon::kInformation;
    prompt.buttons = platform::MessageButtons::kOkCancel;
    prompt.ending_choice = platform::MessageChoice::kCancel;
    if (message_boxes_->Show(prompt) == platform::MessageChoice::kOk) {
      if (ScanForDisc(number)) return true;
      continue;
    }
    platform::MessageRequest quit;
    quit.caption = caption;
    quit.text = Cp932ToUtf8(disc_host_->QuitPrompt());
    quit.icon = platform::MessageIcon::kQuestion;
    quit.buttons = platform::MessageButtons::kOkCancel;
    quit.ending_choice = platform::MessageChoice::kOk;
    if (message_boxes_->Show(quit) == platform::MessageChoice::kOk) {
      SetStopRequested(true);
      disc_host_->RequestClose();
      return false;
    }
  }
}

}  // namespace orva
