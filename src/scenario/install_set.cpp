#include "scenario/install_set.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "core/sjis.h"

namespace orva {
namespace {

int64_t ReadValue(ByteReader& r, int32_t version) { return version < 100 ? r.I32() : r.I64(); }

}  // namespace

TOrvaInstallSet TOrvaInstallSet::Read(std::string_view bytes) {
  TOrvaInstallSet s;
  ByteReader r(bytes);
  s.version = 0;
  if (bytes.size() >= 2 && bytes[0] == 'i' && bytes[1] == 's') {
    r.Skip(2);
    const std::string_view digits = r.Chars(3);
    s.version = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') throw EOrvaError("install.dat: the version \"" + std::string(digits) + "\" is not a number");
      s.version = s.version * 10 + (c - '0');
    }
  }
  s.disk_index = r.I32();
  s.title = r.String();
  for (auto& str : s.strings_a) str = r.String();
  s.byte_a = r.U8();
  s.string_b = r.String();
  s.byte_b = r.U8();
  const size_t value_size = s.version < 100 ? 4 : 8;
  const int32_t entries = r.I32();
  s.string_c = r.String();
  s.int_c = r.I32();
  s.bytes_c[0] = r.U8();
  s.bytes_c[1] = r.U8();
  for (auto& str : s.strings_c) str = r.String();
  if (entries < 0 || static_cast<uint64_t>(entries) * 4 * value_size > r.Remaining()) {
    throw EOrvaError("install.dat: " + std::to_string(entries) + " entries do not fit the file");
  }
  s.entry_values.reserve(static_cast<size_t>(entries) * 4);
  for (int64_t i = 0; i < int64_t{entries} * 4; ++i) s.entry_values.push_back(ReadValue(r, s.version));
  for (auto& v : s.tail_values) v = ReadValue(r, s.version);
  s.byte_d = r.U8();
  if (s.version >= 101) s.byte_101 = r.U8();
  if (s.version >= 102) {
    const int32_t count = r.Count(4);
    for (int32_t i = 0; i < count; ++i) {
      std::string name = r.String();
      if (!name.empty()) s.names.push_back(std::move(name));
    }
  }
  if (s.version >= 103) s.installed = r.U8() != 0;
  if (s.version >= 104) s.byte_104 = r.U8();
  if (s.version >= 105) s.byte_105 = r.U8();
  if (s.version >= 106) {
    const int32_t count = r.Count(4);
    for (int32_t i = 0; i < count; ++i) s.list_106.push_back(r.String());
  }
  if (s.version >= 107) s.string_107 = r.String();
  return s;
}

std::string TOrvaInstallSet::Write() const {
  ByteWriter w;
  w.Chars("is107");
  w.I32(disk_index);
  w.String(title);
  for (const auto& str : strings_a) w.String(str);
  w.U8(byte_a);
  w.String(string_b);
  w.U8(byte_b);
  w.I32(static_cast<int32_t>(entry_values.size() / 4));
  w.String(string_c);
  w.I32(int_c);
  w.U8(bytes_c[0]);
  w.U8(bytes_c[1]);
  for (const auto& str : strings_c) w.String(str);
  for (size_t i = 0; i < entry_values.size() / 4 * 4; ++i) w.I64(entry_values[i]);
  for (int64_t v : tail_values) w.I64(v);
  w.U8(byte_d);
  w.U8(byte_101);
  w.I32(static_cast<int32_t>(names.size()));
  for (const auto& name : names) w.String(name);
  w.U8(installed ? 1 : 0);
  w.U8(byte_104);
  w.U8(byte_105);
  w.I32(static_cast<int32_t>(list_106.size()));
  for (const auto& str : list_106) w.String(str);
  w.String(string_107);
  return w.Take();
}

void TOrvaInstallSet::AddName(const std::string& name) {
  for (const auto& existing : names) {
    if (sjis::SameTextIgnoringCase(existing, name)) return;
  }
  names.push_back(name);
}

}  // namespace orva
