#pragma once
// TVrFileCollection: the table of one source of files, usually the directory of an archive, and
// TVrFile, one entry of it. After the directory's entries comes the sentinel "\EOF\" holding the
// end offset; entries added later go after it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/hash_collection.h"
#include "resources/big_stream.h"
#include "resources/range_stream.h"
#include "resources/stream.h"

namespace orva {

inline constexpr std::string_view kArchiveSentinelName = "\\EOF\\";

class TVrFile : public THashCollectionItem {
 public:
  explicit TVrFile(std::string name) : THashCollectionItem(std::move(name)) {}

  int64_t offset = 0;  // position of the data in the source stream
  int64_t size = 0;    // bytes as stored
  std::unique_ptr<TQnMemoryStream> memory;  // the whole contents of an in-memory entry
  bool stored = false;                      // the data is the file's bytes, not a zlib stream
  int32_t timestamp = 0;                    // DOS date-time of the source file, 0 when none
  uint32_t crc = 0;
  bool crc_of_plain = false;  // the CRC covers the uncompressed bytes
};

class TVrFileCollection : public THashCollection {
 public:
  TVrFileCollection() = default;

  // Makes the table the directory of the archive at path: an archive file (".ext" companion and
  // split volumes honoured) or an executable with an appended archive. A path that names no file
  // makes a folder source without entries; an empty path an empty source.
  void Open(const std::string& path);
  // Reads the directory at the source's position (the archive's start).
  void OpenStream(std::unique_ptr<TQnBigStream> source);
  // Resource archives of an executable do not exist on Linux.
  [[noreturn]] void OpenResource(const std::string& module_file, const std::string& resource_name,
                                 const std::string& resource_type);

  // The entry's contents, inflated, into destination (left at position 0): from the archive, else
  // from the folder. Raises "<name>:ファイルがありません" when neither has it.
  void Extract(std::string_view name, TStream& destination);

  // An entry with an empty memory stream, appended also when the name exists.
  TVrFile* AddMemoryEntry(std::string name);
  // An entry whose data comes from Folder + name when the archive is written.
  TVrFile* AddFolderEntry(std::string name);
  void DeleteEntry(std::string_view name);

  // Writes every entry as a version-102 archive from the destination's position 0.
  bool WriteArchive(TQnBigStream& destination);

  // A read-only window onto the entry's bytes as stored; nothing when there is no archive or entry.
  std::unique_ptr<TRangeStream> EntryRange(std::string_view name);

  TVrFile* FindFile(std::string_view name) const { return static_cast<TVrFile*>(Find(name)); }
  TVrFile* File(int index) const { return static_cast<TVrFile*>(Item(index)); }

  const std::string& Folder() const { return folder_; }
  const std::string& FileName() const { return file_name_; }
  TQnBigStream* Source() const { return source_.get(); }
  int32_t Version() const { return version_; }

  // The entry's stored bytes from the archive, checked against the data present.
  void ReadStoredData(const TVrFile& entry, TMemoryStream& out);
  // Turns stored bytes into the entry's contents (inflating a compressed entry in place).
  static void InflateEntry(const TVrFile& entry, TMemoryStream& data);

 private:
  void Reset();
  void ReadDirectory(TQnBigStream& directory_stream, int64_t base);

  std::string folder_;
  std::string file_name_;
  std::unique_ptr<TQnBigStream> source_;
  int32_t version_ = 0;
};

}  // namespace orva
