#include "resources/file_collection.h"

#include "core/byte_reader.h"
#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "resources/archive_directory.h"
#include "resources/big_file_stream.h"
#include "resources/local_names.h"
#include "resources/stream_records.h"
#include "resources/zlib_codec.h"

namespace orva {
namespace {

// The extension with its dot, or empty: the part after the last "." of the last path component.
std::string ExtensionOf(const std::string& path) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot);
}

std::string FolderOfPath(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

}  // namespace

void TVrFileCollection::Reset() {
  Clear();
  source_.reset();
  folder_.clear();
  version_ = 0;
}

void TVrFileCollection::Open(const std::string& path) {
  Reset();
  file_name_ = path;
  if (path.empty()) return;
  const bool is_file = LocalFileExists(path);
  folder_ = is_file ? FolderOfPath(path) : path;
  if (folder_.back() != '/') folder_ += '/';
  if (!is_file) return;

  source_ = std::make_unique<TQnBigFileStream>(path, BigFileMode::kRead);
  const std::string extension = sjis::AnsiUpperCase(ExtensionOf(path));
  if (extension == ".EXE" || extension == ".SCR") {
    // An executable carries its archive at the end: int32 position of the archive, then "oa".
    const int64_t size = source_->GetSize();
    uint8_t tail[6] = {};
    if (size >= 6) {
      source_->SetPosition(size - 6);
      source_->ReadBuffer(tail, 6);
    }
    ByteReader reader{std::span<const uint8_t>(tail)};
    const int32_t base = reader.I32();
    if (size < 6 || reader.Chars(2) != "oa" || base < 0 || base > size - 6) {
      throw EOrvaError(Cp932ToUtf8(path) + ": no archive is appended to this program");
    }
    source_->SetPosition(base);
    ReadDirectory(*source_, base);
    return;
  }
  const std::string companion = path.substr(0, path.size() - ExtensionOf(path).size()) + ".ext";
  if (LocalFileExists(companion)) {
    TQnBigMemoryStream directory;
    directory.Stream().LoadFromFile(companion);
    directory.SetPosition(0);
    ReadDirectory(directory, 0);
    return;
  }
  source_->SetPosition(0);
  ReadDirectory(*source_, 0);
}

void TVrFileCollection::OpenStream(std::unique_ptr<TQnBigStream> source) {
  Reset();
  file_name_.clear();
  source_ = std::move(source);
  ReadDirectory(*source_, source_->GetPosition());
}

void TVrFileCollection::OpenResource(const std::string&, const std::string&, const std::string&) {
  Reset();
  throw EOrvaError("リソースが見つかりません");
}

void TVrFileCollection::ReadDirectory(TQnBigStream& directory_stream, int64_t base) {
  ArchiveDirectory directory = ReadArchiveDirectory(directory_stream);
  version_ = directory.version;
  const size_t count = directory.entries.size();
  for (size_t i = 0; i < count; ++i) {
    ArchiveDirectoryEntry& record = directory.entries[i];
    auto entry = std::make_unique<TVrFile>(std::move(record.name));
    const int64_t next = i + 1 < count ? directory.entries[i + 1].offset : directory.end_offset;
    // Damaged offsets may make these wrap; such an entry is refused when it is loaded.
    entry->size = static_cast<int64_t>(static_cast<uint64_t>(next) - static_cast<uint64_t>(record.offset));
    entry->offset = static_cast<int64_t>(static_cast<uint64_t>(record.offset) + static_cast<uint64_t>(base));
    entry->stored = record.stored;
    entry->timestamp = record.timestamp;
    entry->crc = record.crc;
    entry->crc_of_plain = record.crc_of_plain;
    Add(std::move(entry));
  }
  auto sentinel = std::make_unique<TVrFile>(std::string(kArchiveSentinelName));
  sentinel->offset = directory.end_offset;
  Add(std::move(sentinel));
}

void TVrFileCollection::ReadStoredData(const TVrFile& entry, TMemoryStream& out) {
  const int64_t total = source_->GetSize();
  if (entry.offset < 0 || entry.size < 0 || entry.offset > total || entry.size > total - entry.offset) {
    throw EOrvaError(Cp932ToUtf8(entry.Name()) + ": the entry's data lies beyond the end of the archive");
  }
  out.Clear();
  out.SetSizeForOverwrite(entry.size);
  source_->SetPosition(entry.offset);
  source_->ReadBuffer(out.Memory(), entry.size);
  out.SetPosition(0);
}

void TVrFileCollection::InflateEntry(const TVrFile& entry, TMemoryStream& data) {
  if (entry.stored || data.Size() == 0) return;
  TMemoryStream plain;
  InflateZlib(data.Bytes(), plain, Cp932ToUtf8(entry.Name()));
  data.SwapContents(plain);
  data.SetPosition(0);
}

void TVrFileCollection::Extract(std::string_view name, TStream& destination) {
  auto* memory_destination = dynamic_cast<TMemoryStream*>(&destination);
  if (memory_destination != nullptr) memory_destination->Clear();
  TVrFile* entry = FindFile(name);
  if (entry != nullptr && entry->memory) {
    CopyStream(destination, *entry->memory, 0);
    destination.SetPosition(0);
    return;
  }
  if (source_ && entry != nullptr) {
    if (memory_destination != nullptr) {
      ReadStoredData(*entry, *memory_destination);
      InflateEntry(*entry, *memory_destination);
    } else {
      TMemoryStream data;
      ReadStoredData(*entry, data);
      InflateEntry(*entry, data);
      CopyStream(destination, data, 0);
    }
    destination.SetPosition(0);
    return;
  }
  const std::optional<std::string> local = FindLocalFile(folder_, name);
  if (local && !sjis::SameTextIgnoringCase(*local, file_name_)) {
    TFileStream file(*local, FileOpenMode::kRead);
    CopyStream(destination, file, 0);
    destination.SetPosition(0);
    return;
  }
  ThrowFileMissing(std::string(name));
}

TVrFile* TVrFileCollection::AddMemoryEntry(std::string name) {
  auto entry = std::make_unique<TVrFile>(std::move(name));
  entry->memory = std::make_unique<TQnMemoryStream>();
  return static_cast<TVrFile*>(Add(std::move(entry)));
}

TVrFile* TVrFileCollection::AddFolderEntry(std::string name) {
  return static_cast<TVrFile*>(Add(std::make_unique<TVrFile>(std::move(name))));
}

void TVrFileCollection::DeleteEntry(std::string_view name) {
  if (TVrFile* entry = FindFile(name)) Delete(entry->Index());
}

std::unique_ptr<TRangeStream> TVrFileCollection::EntryRange(std::string_view name) {
  TVrFile* entry = FindFile(name);
  if (!source_ || entry == nullptr || entry->memory || file_name_.empty()) return nullptr;
  // An empty entry gets an empty window, not the rest of the archive.
  return std::make_unique<TFileRangeStream>(file_name_, entry->offset, std::max<int64_t>(entry->size, 0));
}

}  // namespace orva
