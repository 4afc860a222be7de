#include "resources/archive_directory.h"

#include "core/byte_reader.h"
#include "core/error.h"
#include "core/limits.h"
#include "resources/buff_big_stream.h"

namespace orva {
namespace {

[[noreturn]] void FailDirectory(const std::string& why) { throw EOrvaError("damaged archive directory: " + why); }

// count bytes at the stream's position, refused before allocating when the stream holds fewer.
std::string ReadExact(TQnBigStream& stream, int64_t count, const char* what) {
  if (count > stream.GetSize() - stream.GetPosition()) FailDirectory(std::string(what) + " run past the end");
  std::string bytes(static_cast<size_t>(count), '\0');
  stream.ReadBuffer(bytes.data(), count);
  return bytes;
}

}  // namespace

void ScrambleName(TQnRandom& generator, std::string& name) {
  for (char& c : name) c = static_cast<char>(static_cast<uint8_t>(c) ^ static_cast<uint8_t>(generator.Next()));
}

uint32_t ScrambleOffset32(TQnRandom& generator, uint32_t offset) { return offset ^ generator.Next(); }

uint64_t ScrambleOffset64(TQnRandom& generator, uint64_t offset) {
  const uint32_t value = generator.Next();
  const uint64_t high = (value & 0x80000000u) != 0 ? 0xFFFFFFFF00000000ull : 0;
  return offset ^ (high | value);
}

ArchiveDirectory ReadArchiveDirectory(TQnBigStream& stream) {
  ArchiveDirectory directory;
  const int64_t base = stream.GetPosition();
  {
    const std::string magic = ReadExact(stream, 2, "the header would");
    if (magic == "vf") {
      directory.version = ByteReader(ReadExact(stream, 4, "the header would")).I32();
    } else {
      stream.SetPosition(base);
    }
  }
  const int32_t version = directory.version;
  const int32_t count = ByteReader(ReadExact(stream, 4, "the header would")).I32();

  if (count > limits::kMaxArchiveEntries) {
    FailDirectory(std::to_string(count) + " entries exceed the limit of " + std::to_string(limits::kMaxArchiveEntries));
  }
  const int64_t offset_size = version >= 101 ? 8 : 4;
  const int64_t flag_bytes = (version >= 101 ? 1 + 4 + 4 : 0) + (version >= 102 ? 1 : 0);
  const int64_t left = stream.GetSize() - stream.GetPosition() - offset_size;
  if (left < 0 || !limits::CountFits(count, 4 + offset_size + flag_bytes, left)) {
    FailDirectory(std::to_string(count) + " entries cannot fit in the " +
                  std::to_string(stream.GetSize() - stream.GetPosition()) + " bytes left");
  }

  directory.entries.resize(static_cast<size_t>(count));
  {
    // Names are many small records: they come through the read-ahead buffer, which hands the
    // unread rest back so that the stream stands right after the last name.
    TQnBuffBigStream names(stream);
    TQnRandom generator(kArchiveScrambleSeed);
    for (ArchiveDirectoryEntry& entry : directory.entries) {
      uint8_t length_bytes[4];
      names.ReadBuffer(length_bytes, 4);
      const int32_t length = ByteReader(std::span<const uint8_t>(length_bytes)).I32();
      if (length > 0) {
        if (length > names.Remaining()) FailDirectory("a name of " + std::to_string(length) + " bytes runs past the end");
        entry.name.resize(static_cast<size_t>(length));
        names.ReadBuffer(entry.name.data(), length);
        if (version >= 100) ScrambleName(generator, entry.name);
      }
    }
  }

  const std::string offset_bytes = ReadExact(stream, (int64_t{count} + 1) * offset_size, "the offsets");
  ByteReader offsets(offset_bytes);
  TQnRandom generator(kArchiveScrambleSeed);
  auto next_offset = [&]() -> int64_t {
    if (offset_size == 8) {
      const uint64_t raw = offsets.U64();
      return static_cast<int64_t>(version >= 100 ? ScrambleOffset64(generator, raw) : raw);
    }
    const uint32_t raw = offsets.U32();
    return version >= 100 ? ScrambleOffset32(generator, raw) : raw;
  };
  for (ArchiveDirectoryEntry& entry : directory.entries) entry.offset = next_offset();
  directory.end_offset = next_offset();

  if (version >= 101) {
    const std::string flag_data = ReadExact(stream, int64_t{count} * flag_bytes, "the entry flags");
    ByteReader flags(flag_data);
    for (ArchiveDirectoryEntry& entry : directory.entries) entry.stored = flags.U8() != 0;
    for (ArchiveDirectoryEntry& entry : directory.entries) entry.timestamp = flags.I32();
    for (ArchiveDirectoryEntry& entry : directory.entries) entry.crc = flags.U32();
    if (version >= 102) {
      for (ArchiveDirectoryEntry& entry : directory.entries) entry.crc_of_plain = flags.U8() != 0;
    }
  }
  return directory;
}

}  // namespace orva
