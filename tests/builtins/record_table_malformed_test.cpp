// Damaged blocks of saved record tables: each yields one clean error and leaves the tables as
// they were.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "script/builtins/record_table_manager.h"
#include "script/builtins/text_search.h"

namespace orva {
namespace {

// A block of one table with one field of the given size and type, and record_count records of
// record_bytes bytes.
std::string Block(int32_t field_size, uint8_t field_type, int32_t record_count, size_t record_bytes,
                  uint8_t kind = 0) {
  ByteWriter w;
  w.I32(100);
  w.I32(1);
  w.U8(kind);
  w.String("t");
  w.U8(0);
  w.I32(1);
  w.I32(field_size);
  w.String("f");
  w.U8(field_type);
  w.I32(record_count);
  w.Chars(std::string(record_bytes, '\0'));
  w.I32(0);
  w.String("t");
  return w.Take();
}

// A block of one table without fields holding count empty records.
std::string NoFieldBlock(int32_t count) {
  ByteWriter w;
  w.I32(100);
  w.I32(1);
  w.U8(0);
  w.String("t");
  w.U8(0);
  w.I32(0);
  w.I32(count);
  w.I32(-1);
  w.String("");
  return w.Take();
}

// The error loading bytes as a game block gives, or "" when it loads.
std::string LoadError(const std::string& bytes, uint8_t status = 0) {
  TDBManager tables;
  tables.Create("kept", status);
  try {
    ByteReader reader(bytes);
    tables.LoadTables(reader, status);
    return "";
  } catch (const EOrvaError& e) {
    EXPECT_EQ(tables.Count(), 1);
    EXPECT_EQ(tables.Find("kept"), 0) << "a failed load leaves the tables as they were";
    return e.what();
  }
}

TEST(RecordTableMalformed, DamagedBlocksFailCleanly) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string message;
  };
  const Case cases[] = {
      {"sound block", Block(4, 1, 2, 8), ""},
      {"empty", "", "damaged data: 4 bytes needed at offset 0, only 0 left"},
      {"a real field of four bytes", Block(4, 2, 0, 0), "テーブルのフィールドが不正です"},
      {"a field of type 7", Block(4, 7, 0, 0), "テーブルのフィールドが不正です"},
      {"a string field of no bytes", Block(0, 4, 0, 0), "テーブルのフィールドが不正です"},
      {"a string field larger than any table", Block(2147483647, 4, 0, 0), "テーブルのフィールドが不正です"},
      {"more records than bytes", Block(4, 1, 100, 8),
       "damaged data: a count of 100 at offset 29 does not fit the 17 bytes left"},
      {"a table kind other than 0", Block(4, 1, 0, 0, 1), "テーブルの種類が不正です"},
      {"a truncated active name", Block(4, 1, 0, 0).substr(0, 41), "damaged data: 1 bytes needed at offset 41, only 0 left"},
      {"billions of records without fields", NoFieldBlock(2147483647), "テーブルのレコードが多すぎます"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadError(c.bytes), c.message) << c.what;
  }
}

TEST(RecordTableMalformed, TableMarkedForTheOtherBlockStaysWithItsBlock) {
  ByteWriter w;
  w.I32(100);
  w.I32(1);
  w.U8(0);
  w.String("t");
  w.U8(1);  // marked as a status table inside a game block
  w.I32(0);
  w.I32(0);
  w.I32(-1);
  w.String("t");
  TDBManager tables;
  ByteReader reader(w.Data());
  tables.LoadTables(reader, 0);
  ASSERT_NE(tables.Active(), nullptr);
  EXPECT_EQ(tables.Active()->Status(), 0);
  ByteWriter again;
  tables.SaveTables(again, 0);
  EXPECT_EQ(again.Data().size(), w.Data().size()) << "the next game save keeps the table";
}

// What a fuzz input gives: the error of a saved block, or the shape a tab-separated text loads as.
// The first byte is the fuzz target's mode: bit 0 the status, bit 1 set for tab-separated text.
std::string Outcome(const std::string& data) {
  const std::string bytes = data.substr(1);
  if ((data[0] & 2) == 0) return LoadError(bytes, static_cast<uint8_t>(data[0] & 1));
  TDBTable table("t", 0);
  table.LoadTsv(SplitLines(bytes));
  return std::to_string(table.Fields().Count()) + " fields, " + std::to_string(table.RecordCount()) + " records";
}

// Inputs the fuzzer found, kept with what each must give.
TEST(RecordTableMalformed, FuzzFindsStayFixed) {
  const std::map<std::string, std::string> expected = {
      // Eight million records of a table without fields (they cost nothing and are read at once),
      // then a table whose records run past the end.
      {"record_table-many-empty-records.bin", "damaged data: 392960 bytes needed at offset 181, only 7 left"},
      // A header declaring a string of ten million bytes: no field is made and nothing loads.
      {"record_table-huge-string-field.bin", "0 fields, 0 records"},
      // A game block whose active table is marked with status 2: it loads as a game table.
      {"record_table-stray-status.bin", ""},
  };
  namespace fs = std::filesystem;
  for (const auto& entry : fs::directory_iterator(fs::path(ORVA_TEST_DATA_DIR) / "malformed")) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("record_table-", 0) != 0) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string data = bytes.str();
    ASSERT_FALSE(data.empty()) << name;
    ASSERT_TRUE(expected.count(name)) << name << " has no expected error";
    EXPECT_EQ(Outcome(data), expected.at(name)) << name;
  }
}

}  // namespace
}  // namespace orva
