// Seeds for fuzz_byte_records: each starts with a program byte, then records in that order.
#include <fstream>
#include <string>

#include "core/byte_writer.h"

namespace {

void Save(const std::string& folder, const std::string& name, const std::string& bytes) {
  std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string folder = argv[1];
  {
    orva::ByteWriter w;
    w.U8(0b01000100);  // string, i32, string, i32 ...
    w.String("\x8F\xEE\x95\xF1");
    w.I32(-5);
    w.String("");
    w.I32(2147483647);
    Save(folder, "strings-and-ints", w.Data());
  }
  {
    orva::ByteWriter w;
    w.U8(0b11101110);  // count, extended, count, extended ...
    w.I32(2);
    w.I32(1);
    w.I32(2);
    w.Extended(3.25L);
    Save(folder, "counts-and-reals", w.Data());
  }
  {
    orva::ByteWriter w;
    w.U8(0);
    w.I32(-1);
    w.I32(0x7FFFFFFF);
    Save(folder, "negative-and-huge-string", w.Data());
  }
  return 0;
}
