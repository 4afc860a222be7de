#include "resources/archive_builder.h"

#include "core/byte_writer.h"
#include "resources/archive_directory.h"
#include "resources/zlib_codec.h"

namespace orva {
namespace {

std::span<const uint8_t> BytesOf(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

}  // namespace

BuiltArchiveEntry MakeBuiltEntry(std::string name, const std::string& plain, bool stored, bool crc_of_plain) {
  BuiltArchiveEntry entry;
  entry.name = std::move(name);
  entry.stored = stored;
  entry.crc_of_plain = crc_of_plain;
  if (stored) {
    entry.data = plain;
  } else {
    TMemoryStream packed;
    DeflateFast(BytesOf(plain), packed);
    entry.data = std::string(packed.View());
  }
  entry.crc = Crc32(BytesOf(crc_of_plain ? plain : entry.data));
  return entry;
}

std::string BuildArchive(int32_t version, const std::vector<BuiltArchiveEntry>& entries) {
  ByteWriter out;
  if (version != 0) {
    out.Chars("vf");
    out.I32(version);
  }
  out.I32(static_cast<int32_t>(entries.size()));
  TQnRandom names(kArchiveScrambleSeed);
  for (const BuiltArchiveEntry& entry : entries) {
    std::string name = entry.name;
    if (version >= 100) ScrambleName(names, name);
    out.String(name);
  }
  const int64_t offset_size = version >= 101 ? 8 : 4;
  const int64_t flag_bytes = (version >= 101 ? 9 : 0) + (version >= 102 ? 1 : 0);
  const int64_t count = static_cast<int64_t>(entries.size());
  int64_t position = static_cast<int64_t>(out.Size()) + (count + 1) * offset_size + count * flag_bytes;
  TQnRandom offsets(kArchiveScrambleSeed);
  auto put_offset = [&](int64_t offset) {
    if (offset_size == 8) {
      out.U64(version >= 100 ? ScrambleOffset64(offsets, static_cast<uint64_t>(offset)) : static_cast<uint64_t>(offset));
    } else {
      const auto value = static_cast<uint32_t>(offset);
      out.U32(version >= 100 ? ScrambleOffset32(offsets, value) : value);
    }
  };
  for (const BuiltArchiveEntry& entry : entries) {
    put_offset(position);
    position += static_cast<int64_t>(entry.data.size());
  }
  put_offset(position);
  if (version >= 101) {
    for (const BuiltArchiveEntry& entry : entries) out.Bool(entry.stored);
    for (const BuiltArchiveEntry& entry : entries) out.I32(entry.timestamp);
    for (const BuiltArchiveEntry& entry : entries) out.U32(entry.crc);
    if (version >= 102) {
      for (const BuiltArchiveEntry& entry : entries) out.Bool(entry.crc_of_plain);
    }
  }
  for (const BuiltArchiveEntry& entry : entries) out.Chars(entry.data);
  return out.Take();
}

}  // namespace orva
