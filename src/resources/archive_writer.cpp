#include "resources/archive_writer.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "resources/archive_directory.h"
#include "resources/file_collection.h"
#include "resources/local_names.h"
#include "resources/stream_records.h"
#include "resources/zlib_codec.h"

namespace orva {
namespace {

constexpr std::string_view kMediaExtensions = ".WAV.WMA.OGG.MPG.MPEG.M1V.WMV.ASF.DAT.";
// Layered images with their own compression: signature "Mosa" + three-digit version, header size,
// then the header record whose byte 22 is the compression kind (1 = none).
constexpr int32_t kFirstHeaderedImageVersion = 103;
constexpr size_t kImageHeaderRecordSize = 40;
constexpr size_t kImageCompressionKindOffset = 22;
constexpr uint8_t kImageUncompressed = 1;

std::string ExtensionOf(const std::string& path) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot);
}

// The version digits as the original's integer conversion reads them: optional sign, decimal digits.
int32_t ImageVersionNumber(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) throw EOrvaError("'" + Cp932ToUtf8(text) + "' is not a valid integer value");
  int32_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') throw EOrvaError("'" + Cp932ToUtf8(text) + "' is not a valid integer value");
    value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

bool IsUncompressedLayeredImage(const std::string& path) {
  TFileStream file(path, FileOpenMode::kRead);
  std::array<uint8_t, 7 + 4 + kImageHeaderRecordSize> head{};
  const int64_t got = file.Read(head.data(), static_cast<int64_t>(head.size()));
  if (got < 7 || std::memcmp(head.data(), "Mosa", 4) != 0) return false;
  ByteReader reader{std::span<const uint8_t>(head.data(), static_cast<size_t>(got))};
  reader.Skip(4);
  if (ImageVersionNumber(reader.Chars(3)) < kFirstHeaderedImageVersion) return false;
  if (reader.Remaining() < 4) return false;
  const int32_t header_size = reader.I32();
  // The header record is read into a zero-filled record of 40 bytes.
  const size_t record_bytes = std::min<size_t>(static_cast<size_t>(std::max(header_size, 0)), kImageHeaderRecordSize);
  if (kImageCompressionKindOffset >= std::min(record_bytes, reader.Remaining())) return false;
  reader.Skip(kImageCompressionKindOffset);
  return reader.U8() == kImageUncompressed;
}

uint32_t CrcOf(TMemoryStream& data) { return Crc32(data.Bytes()); }

void WriteAll(TQnBigStream& destination, TMemoryStream& data) {
  destination.WriteBuffer(data.Bytes().data(), data.Size());
}

void Compress(TMemoryStream& plain, TMemoryStream& compressed) {
  compressed.Clear();
  DeflateFast(plain.Bytes(), compressed);
}

// Copies a file that is kept as it is in pieces, with its CRC, so that large media never have to
// fit in memory.
uint32_t CopyFileStored(const std::string& path, TQnBigStream& destination) {
  TFileStream file(path, FileOpenMode::kRead);
  std::vector<uint8_t> buffer(1 << 20);
  uLong crc = crc32_z(0, nullptr, 0);
  for (;;) {
    const int64_t got = file.Read(buffer.data(), static_cast<int64_t>(buffer.size()));
    if (got <= 0) break;
    crc = crc32_z(crc, buffer.data(), static_cast<size_t>(got));
    destination.WriteBuffer(buffer.data(), got);
  }
  return static_cast<uint32_t>(crc);
}

}  // namespace

bool IsCompressibleFolderFile(const std::string& path, int64_t size) {
  const std::string extension = sjis::AnsiUpperCase(ExtensionOf(path));
  if (extension == ".MOS") return IsUncompressedLayeredImage(path);
  if (!extension.empty() && kMediaExtensions.find(extension) != std::string_view::npos) return false;
  return size < kLargeEntrySize;
}

int32_t DosDateTime(std::time_t time) {
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) return 0;
  int year = local.tm_year + 1900;
  if (year < 1980) return (1 << 5 | 1) << 16;  // the first DOS date, 1980-01-01 00:00:00
  year = std::min(year, 2107);
  const uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  const uint32_t clock =
      static_cast<uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) | (std::min(local.tm_sec, 59) / 2));
  return static_cast<int32_t>(date << 16 | clock);
}

bool TVrFileCollection::WriteArchive(TQnBigStream& destination) {
  // The sentinel of a table read from an archive is not an entry of the new one.
  std::vector<TVrFile*> entries;
  bool sentinel_skipped = false;
  for (int i = 0; i < Count(); ++i) {
    TVrFile* entry = File(i);
    if (!sentinel_skipped && entry->Name() == kArchiveSentinelName) {
      sentinel_skipped = true;
      continue;
    }
    entries.push_back(entry);
  }
  const size_t count = entries.size();

  ByteWriter header;
  header.Chars("vf");
  header.I32(kArchiveWriteVersion);
  header.I32(static_cast<int32_t>(count));
  TQnRandom name_generator(kArchiveScrambleSeed);
  for (TVrFile* entry : entries) {
    std::string name = entry->Name();
    ScrambleName(name_generator, name);
    header.String(name);
  }
  destination.SetPosition(0);
  destination.WriteBuffer(header.Data().data(), static_cast<int64_t>(header.Size()));
  const int64_t tables_at = destination.GetPosition();
  const int64_t table_bytes = static_cast<int64_t>((count + 1) * 8 + count * (1 + 4 + 4 + 1));
  destination.WriteBuffer(std::string(static_cast<size_t>(table_bytes), '\0').data(), table_bytes);

  std::vector<int64_t> offsets;
  offsets.reserve(count + 1);
  std::vector<uint8_t> stored_flags;
  stored_flags.reserve(count);
  TMemoryStream plain;
  TMemoryStream packed;
  for (TVrFile* entry : entries) {
    offsets.push_back(destination.GetPosition());
    const std::optional<std::string> local =
        entry->memory ? std::nullopt : FindLocalFile(folder_, entry->Name());
    const bool from_archive = !entry->memory && !local;
    if (from_archive) {
      // This very entry (not the newest of its name).
      if (!source_) ThrowFileMissing(entry->Name());
      ReadStoredData(*entry, plain);
      InflateEntry(*entry, plain);
    }
    bool stored = false;
    if (entry->memory) {
      TMemoryStream& data = *entry->memory;
      if (data.Size() >= kLargeEntrySize) {
        entry->crc = CrcOf(data);
        stored = true;
        WriteAll(destination, data);
      } else {
        if (entry->crc_of_plain) entry->crc = CrcOf(data);
        Compress(data, packed);
        WriteAll(destination, packed);
        if (!entry->crc_of_plain) entry->crc = CrcOf(packed);
      }
    } else if (local) {
      struct stat st {};
      if (::stat(local->c_str(), &st) != 0) ThrowFileMissing(entry->Name());
      if (IsCompressibleFolderFile(*local, st.st_size)) {
        plain.LoadFromFile(*local);
        if (entry->crc_of_plain) entry->crc = CrcOf(plain);
        Compress(plain, packed);
        // Data that saves less than a tenth is kept as it is.
        TMemoryStream& written = packed.Size() > plain.Size() * 9 / 10 ? plain : packed;
        stored = &written == &plain;
        WriteAll(destination, written);
        if (!entry->crc_of_plain) entry->crc = CrcOf(written);
      } else {
        stored = true;
        entry->crc = CopyFileStored(*local, destination);
      }
      entry->timestamp = DosDateTime(st.st_mtime);
    } else {
      if (plain.Size() >= kLargeEntrySize) {
        stored = true;
        entry->crc = CrcOf(plain);
        WriteAll(destination, plain);
      } else {
        Compress(plain, packed);
        entry->crc = CrcOf(packed);
        WriteAll(destination, packed);
      }
    }
    stored_flags.push_back(stored ? 1 : 0);
    // An entry whose data stays in this table's archive keeps the flag that describes that data,
    // so that it can still be read after the table was written elsewhere.
    if (!from_archive) entry->stored = stored;
    plain.Clear();
    packed.Clear();
  }
  offsets.push_back(destination.GetPosition());

  ByteWriter tables;
  TQnRandom offset_generator(kArchiveScrambleSeed);
  for (int64_t offset : offsets) tables.U64(ScrambleOffset64(offset_generator, static_cast<uint64_t>(offset)));
  for (uint8_t stored : stored_flags) tables.U8(stored);
  for (TVrFile* entry : entries) tables.I32(entry->timestamp);
  for (TVrFile* entry : entries) tables.U32(entry->crc);
  for (TVrFile* entry : entries) tables.Bool(entry->crc_of_plain);
  const int64_t end = destination.GetPosition();
  destination.SetPosition(tables_at);
  destination.WriteBuffer(tables.Data().data(), static_cast<int64_t>(tables.Size()));
  destination.SetPosition(end);
  return true;
}

}  // namespace orva
