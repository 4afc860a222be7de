// Seeds for fuzz_page: pages of the versions read, with every command type.
#include <fstream>
#include <string>

#include "core/byte_writer.h"
#include "scenario/page_record.h"

namespace {

std::string IntExpression(int32_t value) {
  orva::ByteWriter w;
  w.I32(1);
  w.U8(1);
  w.String("____arg");
  w.I32(1);
  w.U8(1);
  w.I32(value);
  return w.Take();
}

// One command of every type, each field filled with a small value of its kind.
orva::PageRecord EveryCommand(int32_t version) {
  orva::PageRecord page;
  page.version = version;
  page.set_count = orva::kCommandTypeCount;
  page.set_size = orva::kPropertySetBytes;
  page.sets.assign(static_cast<size_t>(page.set_count * page.set_size), '\0');
  for (int type = 0; type < orva::kCommandTypeCount; ++type) page.sets[static_cast<size_t>(type * 21)] = 0x19;
  for (uint8_t id = 0; id < orva::kCommandTypeCount; ++id) {
    orva::CommandRecord c;
    c.type_byte = id;
    c.line = id;
    const orva::PropertySet set = page.SetOf(id);
    for (const auto& layout : orva::FindCommandLayout(id)->fields) {
      if (version < layout.min_version) continue;
      orva::StoredField f;
      switch (layout.kind) {
        case orva::FieldKind::kExpression: f.expressions.push_back({-1, IntExpression(id)}); break;
        case orva::FieldKind::kString: f.bytes = "page.osb"; break;
        case orva::FieldKind::kInt32: f.number = 3; break;
        case orva::FieldKind::kByte:
        case orva::FieldKind::kFlag: f.number = 1; break;
        case orva::FieldKind::kExpressionList:
          f.number = 2;
          f.expressions = {{-1, IntExpression(1)}, {-1, IntExpression(2)}};
          break;
        case orva::FieldKind::kPropertyBlock:
          for (int p = 0; p < orva::kPropertyIdCount; ++p)
            if (orva::HasProperty(set, p)) f.expressions.push_back({p, IntExpression(p)});
          break;
        case orva::FieldKind::kGlyphStream:
          f.number = 3;
          f.bytes = "abc";
          break;
      }
      c.fields.push_back(std::move(f));
    }
    page.commands.push_back(std::move(c));
  }
  return page;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string folder = argv[1];
  for (int32_t version : {103, 105, 107, 108, 110}) {
    std::ofstream(folder + "/page-" + std::to_string(version), std::ios::binary)
        << orva::WritePageRecord(EveryCommand(version));
  }
  return 0;
}
