// Seeds for fuzz_record_table: saved blocks of game and status tables, and tab-separated texts.
#include <fstream>
#include <string>

#include "core/byte_writer.h"
#include "script/builtins/record_table_manager.h"

namespace {

void Write(const std::string& folder, const std::string& name, uint8_t mode, const std::string& bytes) {
  std::ofstream out(folder + "/" + name, std::ios::binary);
  out.put(static_cast<char>(mode));
  out << bytes;
}

std::string Block(uint8_t status) {
  orva::TDBManager tables;
  tables.Create("items", status);
  orva::TDBTable& t = *tables.Active();
  t.AddField("id", 1, 0);
  t.AddField("price", 2, 0);
  t.AddField("owned", 3, 0);
  t.AddField("name", 4, 12);
  for (int i = 0; i < 3; ++i) {
    t.Append();
    t.SetInt(i, 0, i + 1);
    t.SetFloat(i, 1, 2.5L * i);
    t.SetBool(i, 2, i % 2 == 0);
    t.SetStr(i, 3, "item" + std::to_string(i));
  }
  tables.Create("empty", status);
  tables.SetActive("items");
  orva::ByteWriter writer;
  tables.SaveTables(writer, status);
  return writer.Take();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string folder = argv[1];
  Write(folder, "game-block", 0, Block(0));
  Write(folder, "status-block", 1, Block(1));
  Write(folder, "tsv", 2, "id int\tname str 10\tscore float\tok bool\n1\tAlice\t2.5\tTRUE\n2\tBob \\\"B\\\"\\n\t3.5\tFALSE\n\n3\n");
  Write(folder, "tsv-sorted", 2 | 4 | 8 | 16, "name\tn int\nb\t2\r\na\t1\r\nc\t3\r\n");
  Write(folder, "tsv-empty-name", 3, "a int\t\tb\n1\t2\n");
  return 0;
}
