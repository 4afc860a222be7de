#include "scenario/project_file.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"

namespace orva {

ProjectFile ProjectFile::Read(std::string_view bytes) {
  ProjectFile p;
  ByteReader r(bytes);
  p.version = r.I32();
  if (p.version > kNewestVersion) return p;
  p.title = r.String();
  p.screen_width = r.I32();
  p.screen_height = r.I32();
  p.full_screen_width = r.I32();
  p.full_screen_height = r.I32();
  p.start_page = r.String();
  if (p.version >= 110) p.exit_page = r.String();
  p.reserved = r.String();
  p.image_key = r.I32();
  if (p.version >= 104) p.write_status = r.U8() != 0;
  if (p.version >= 106) p.frame_sleep = r.U8() != 0;
  if (p.version >= 109) p.streamed_extensions = r.String();
  p.disk_prompt = r.String();
  p.quit_prompt = r.String();
  const int32_t count = r.Count(5);  // a type byte and a name count at least
  for (int32_t i = 0; i < count; ++i) {
    StatusVariableEntry e;
    e.type = r.U8();
    e.name = r.String();
    switch (e.type) {
      case 1: e.value = r.I32(); break;
      case 2: e.value = r.Extended(); break;
      case 3: e.value = r.U8(); break;
      case 4: e.value = r.String(); break;
      default: break;
    }
    p.status_variables.push_back(std::move(e));
  }
  p.folder_disks.ReadFrom(r);
  return p;
}

std::string ProjectFile::Write() const {
  ByteWriter w;
  w.I32(version);
  w.String(title);
  w.I32(screen_width);
  w.I32(screen_height);
  w.I32(full_screen_width);
  w.I32(full_screen_height);
  w.String(start_page);
  if (version >= 110) w.String(exit_page);
  w.String(reserved);
  w.I32(image_key);
  if (version >= 104) w.Bool(write_status);
  if (version >= 106) w.Bool(frame_sleep);
  if (version >= 109) w.String(streamed_extensions);
  w.String(disk_prompt);
  w.String(quit_prompt);
  w.I32(static_cast<int32_t>(status_variables.size()));
  for (const auto& e : status_variables) {
    w.U8(e.type);
    w.String(e.name);
    if (const auto* i = std::get_if<int32_t>(&e.value)) w.I32(*i);
    if (const auto* x = std::get_if<long double>(&e.value)) w.Extended(*x);
    if (const auto* b = std::get_if<uint8_t>(&e.value)) w.U8(*b);
    if (const auto* s = std::get_if<std::string>(&e.value)) w.String(*s);
  }
  folder_disks.WriteTo(w);
  return w.Take();
}

}  // namespace orva
