// Record tables: field conversions, selection, sorting, and the blocks saves keep them in.

#include <gtest/gtest.h>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/encoding.h"
#include "script/builtins/record_table_manager.h"
#include "script/param_types.h"

namespace orva {
namespace {

enum Field { kInt, kReal, kFlag, kText };

TDBTable MakeTable() {
  TDBTable t("t", 0);
  t.AddField("i", PT_INT, 0);
  t.AddField("r", PT_FLOAT, 0);
  t.AddField("f", PT_BOOL, 0);
  t.AddField("s", PT_STR, 4);
  t.Append();
  return t;
}

// Written through one kind, read back through another: the conversions of every field kind.
TEST(RecordTable, FieldsConvertOnWriteAndRead) {
  struct Case {
    const char* what;
    Field field;
    std::function<void(TDBTable&, int32_t f)> write;
    std::string as_text;
    int32_t as_int;
  };
  const Case cases[] = {
      {"real 2.5 read as integer rounds to even", kReal, [](TDBTable& t, int32_t f) { t.SetFloat(0, f, 2.5L); }, "2.5", 2},
      {"real 3.5 rounds up to even", kReal, [](TDBTable& t, int32_t f) { t.SetFloat(0, f, 3.5L); }, "3.5", 4},
      {"real -2.5 rounds to even", kReal, [](TDBTable& t, int32_t f) { t.SetFloat(0, f, -2.5L); }, "-2.5", -2},
      {"real written into an integer rounds", kInt, [](TDBTable& t, int32_t f) { t.SetFloat(0, f, 6.5L); }, "6", 6},
      {"text that is no real stores 0", kReal, [](TDBTable& t, int32_t f) { t.SetStr(0, f, "x1"); }, "0", 0},
      {"text into an integer follows the integer text rule", kInt, [](TDBTable& t, int32_t f) { t.SetStr(0, f, " $1F"); }, "31", 31},
      {"integer into a flag stores non-zero", kFlag, [](TDBTable& t, int32_t f) { t.SetInt(0, f, -9); }, "TRUE", 1},
      {"only exactly TRUE sets a flag", kFlag, [](TDBTable& t, int32_t f) { t.SetStr(0, f, "true"); }, "FALSE", 0},
      {"a flag into text", kText, [](TDBTable& t, int32_t f) { t.SetBool(0, f, true); }, "TRUE", 0},
      {"text is cut to the declared length", kText, [](TDBTable& t, int32_t f) { t.SetStr(0, f, "abcdef"); }, "abcd", 0},
      {"a number into text", kText, [](TDBTable& t, int32_t f) { t.SetInt(0, f, 1234567); }, "1234", 1234},
      {"a real into text", kText, [](TDBTable& t, int32_t f) { t.SetFloat(0, f, 0.5L); }, "0.5", 0},
  };
  for (const Case& c : cases) {
    TDBTable t = MakeTable();
    c.write(t, c.field);
    EXPECT_EQ(t.GetStr(0, c.field), c.as_text) << c.what;
    EXPECT_EQ(t.GetInt(0, c.field), c.as_int) << c.what;
  }
  TDBTable t = MakeTable();
  EXPECT_EQ(t.GetFloat(0, kFlag), 0.0L);
  EXPECT_EQ(t.GetBool(0, kText), false);
  // A double-byte character may be cut in half.
  const std::string kana = Utf8ToCp932("あいう");
  t.SetStr(0, kText, kana);
  EXPECT_EQ(t.GetStr(0, kText), kana.substr(0, 4));
  EXPECT_FALSE(t.GetInt(1, kInt).has_value());
  EXPECT_FALSE(t.GetStr(0, 4).has_value());
  EXPECT_FALSE(t.SetInt(0, -1, 1));
  EXPECT_FALSE(t.SetCurrent(1));
}

TEST(RecordTable, AddedFieldsGrowEveryRecordWithZeros) {
  TDBTable t("t", 0);
  t.AddField("a", PT_INT, 0);
  t.Append();
  t.SetInt(0, 0, 42);
  t.Append();
  EXPECT_EQ(t.AddField("b", PT_STR, 3), 1);
  EXPECT_EQ(t.AddField("a", PT_FLOAT, 0), 2) << "a taken name is accepted again";
  EXPECT_EQ(t.AddField("bad", 0, 0), -1);
  EXPECT_EQ(t.AddField("huge", PT_STR, 2147483647), -1);
  EXPECT_EQ(t.Fields().RecordLength(), 4 + 4 + 10);
  EXPECT_EQ(t.GetInt(0, 0), 42);
  EXPECT_EQ(t.GetStr(1, 1), "");
  EXPECT_EQ(t.GetFloat(0, 2), 0.0L);
  EXPECT_EQ(t.Fields().Find("A"), 0);
}

// A table of names, numbers and flags for selecting and sorting.
TDBTable People() {
  TDBTable t("people", 0);
  t.AddField("name", PT_STR, 10);
  t.AddField("age", PT_INT, 0);
  t.AddField("tall", PT_BOOL, 0);
  t.AddField("score", PT_FLOAT, 0);
  const struct {
    const char* name;
    int32_t age;
    bool tall;
    long double score;
  } rows[] = {{"Ann", 30, true, 1.5L}, {"bob", 25, false, 2.0L}, {"cde", 30, false, 1.5L}, {"ann", 41, true, 0.5L}};
  for (const auto& row : rows) {
    t.Append();
    const int32_t r = t.Current();
    t.SetStr(r, 0, row.name);
    t.SetInt(r, 1, row.age);
    t.SetBool(r, 2, row.tall);
    t.SetFloat(r, 3, row.score);
  }
  return t;
}

template <typename Param, typename T>
std::unique_ptr<TCustomParam> ArrayOf(std::initializer_list<T> values) {
  auto v = std::make_unique<Param>();
  const int32_t n = static_cast<int32_t>(values.size());
  v->SetDims(std::span<const int32_t>(&n, 1));
  int32_t i = 0;
  for (const T& x : values) {
    if constexpr (std::is_same_v<Param, TParamStr>) v->SetStrAt(i++, x);
    if constexpr (std::is_same_v<Param, TParamInt>) v->SetIntAt(i++, x);
    if constexpr (std::is_same_v<Param, TParamFloat>) v->SetFloatAt(i++, x);
    if constexpr (std::is_same_v<Param, TParamFlag>) v->SetBoolAt(i++, x);
  }
  return v;
}

TEST(RecordTable, SelectComparesByTheValuesType) {
  const TDBTable t = People();
  struct Case {
    const char* what;
    std::unique_ptr<TCustomParam> keys;
    std::unique_ptr<TCustomParam> values;
    bool ignore_case;
    bool partial;
    std::vector<int32_t> expected;
  };
  std::vector<Case> cases;
  cases.push_back({"integers", ArrayOf<TParamStr, const char*>({"age"}), ArrayOf<TParamInt, int32_t>({30}), false, false, {0, 2}});
  cases.push_back({"two keys", ArrayOf<TParamStr, const char*>({"AGE", "tall"}), ArrayOf<TParamInt, int32_t>({30, 1}), false, false, {0}});
  cases.push_back({"reals", ArrayOf<TParamStr, const char*>({"score"}), ArrayOf<TParamFloat, long double>({1.5L}), false, false, {0, 2}});
  cases.push_back({"flags", ArrayOf<TParamStr, const char*>({"tall"}), ArrayOf<TParamFlag, bool>({false}), false, false, {1, 2}});
  cases.push_back({"exact text", ArrayOf<TParamStr, const char*>({"name"}), ArrayOf<TParamStr, const char*>({"ann"}), false, false, {3}});
  cases.push_back({"text ignoring case", ArrayOf<TParamStr, const char*>({"name"}), ArrayOf<TParamStr, const char*>({"ANN"}), true, false, {0, 3}});
  cases.push_back({"field text inside the value", ArrayOf<TParamStr, const char*>({"name"}), ArrayOf<TParamStr, const char*>({"abcdef"}), false, true, {2}});
  cases.push_back({"partial ignoring case", ArrayOf<TParamStr, const char*>({"name"}), ArrayOf<TParamStr, const char*>({"xBOBx"}), true, true, {1}});
  cases.push_back({"a key that names no field", ArrayOf<TParamStr, const char*>({"age", "nothing"}), ArrayOf<TParamInt, int32_t>({30, 1}), false, false, {}});
  cases.push_back({"more keys than values", ArrayOf<TParamStr, const char*>({"age", "nothing"}), ArrayOf<TParamInt, int32_t>({25}), false, false, {1}});
  for (const Case& c : cases) EXPECT_EQ(t.Select(c.keys.get(), c.values.get(), c.ignore_case, c.partial), c.expected) << c.what;
  EXPECT_EQ(t.Select(nullptr, nullptr, false, false), (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST(RecordTable, SortsByKeysInTurnAndKeepsCurrentsIndex) {
  TDBTable t = People();
  t.SetCurrent(1);
  const auto keys = ArrayOf<TParamStr, const char*>({"age", "nothing", "name"});
  const auto descending = ArrayOf<TParamFlag, bool>({true, false, false});
  t.Sort(*keys, *descending);
  std::vector<std::string> names;
  for (int32_t r = 0; r < t.RecordCount(); ++r) names.push_back(*t.GetStr(r, 0));
  EXPECT_EQ(names, (std::vector<std::string>{"ann", "Ann", "cde", "bob"}));
  EXPECT_EQ(t.Current(), 1);

  const auto by_name = ArrayOf<TParamStr, const char*>({"name"});
  const auto down = ArrayOf<TParamFlag, bool>({true});
  t.Sort(*by_name, *down);
  names.clear();
  for (int32_t r = 0; r < t.RecordCount(); ++r) names.push_back(*t.GetStr(r, 0));
  EXPECT_EQ(names, (std::vector<std::string>{"cde", "bob", "ann", "Ann"}));
}

TEST(RecordTable, TsvHeaderMakesFieldsAndLinesMakeRecords) {
  TDBTable t("t", 0);
  t.LoadTsv({"id int\tname str 10\tnote", "7\tab\\\"c\\\\\\nd\tfree", "", "x"});
  ASSERT_EQ(t.Fields().Count(), 3);
  EXPECT_EQ(t.Fields().Field(0).type, PT_INT);
  EXPECT_EQ(t.Fields().Field(1).size, 11);
  EXPECT_EQ(t.Fields().Field(2).size, 81) << "strings default to 80 bytes";
  ASSERT_EQ(t.RecordCount(), 2);
  EXPECT_EQ(t.GetInt(0, 0), 7);
  EXPECT_EQ(t.GetStr(0, 1), "ab\"c\\\r\nd");
  EXPECT_EQ(t.GetInt(1, 0), 0);

  t.LoadTsv({"a int\t\tb int", "1\t2\t3"});
  EXPECT_EQ(t.Fields().Count(), 0) << "an empty name clears the fields and ends the load";
  EXPECT_EQ(t.RecordCount(), 0);
}

// The byte layout of a block, read and written from the same bytes.
TEST(RecordTableBlocks, LayoutOfAGameBlock) {
  ByteWriter expected;
  expected.I32(100);
  expected.I32(1);
  expected.U8(0);
  expected.String("T");
  expected.U8(0);
  expected.I32(2);
  expected.I32(4);
  expected.String("n");
  expected.U8(PT_INT);
  expected.I32(3);
  expected.String("s");
  expected.U8(PT_STR);
  expected.I32(1);
  expected.Chars(std::string("\x05\x00\x00\x00" "ab\x00", 7));
  expected.I32(0);
  expected.String("T");

  TDBManager tables;
  tables.Create("T", 0);
  TDBTable& t = *tables.Active();
  t.AddField("n", PT_INT, 0);
  t.AddField("s", PT_STR, 2);
  t.Append();
  t.SetInt(0, 0, 5);
  t.SetStr(0, 1, "abc");
  ByteWriter written;
  tables.SaveTables(written, 0);
  EXPECT_EQ(written.Data(), expected.Data());

  TDBManager read;
  ByteReader reader(expected.Data());
  read.LoadTables(reader, 0);
  EXPECT_TRUE(reader.AtEnd());
  ASSERT_NE(read.Active(), nullptr);
  EXPECT_EQ(read.Active()->Name(), "T");
  EXPECT_EQ(read.Active()->GetStr(0, 1), "ab");
  EXPECT_EQ(read.Active()->Current(), 0);
}

TEST(RecordTableBlocks, GameAndStatusTablesTravelSeparately) {
  TDBManager source;
  source.Create("game", 0);
  source.Active()->AddField("x", PT_FLOAT, 0);
  source.Active()->Append();
  source.Active()->SetFloat(0, 0, 0.1L);
  source.Create("status", 1);
  source.Active()->AddField("y", PT_STR, 5);
  source.SetActive("GAME");
  ByteWriter game;
  source.SaveTables(game, 0);
  ByteWriter status;
  source.SaveTables(status, 1);

  TDBManager target;
  target.Create("old game", 0);
  target.Create("old status", 1);
  ByteReader game_reader(game.Data());
  target.LoadTables(game_reader, 0);
  EXPECT_EQ(target.Find("old game"), -1);
  EXPECT_GE(target.Find("old status"), 0) << "status tables survive a game load";
  ASSERT_NE(target.Active(), nullptr);
  EXPECT_EQ(target.Active()->Name(), "game");
  EXPECT_EQ(target.Active()->GetFloat(0, 0), 0.1L) << "reals keep all 80 bits";

  ByteReader status_reader(status.Data());
  target.LoadTables(status_reader, 1);
  EXPECT_EQ(target.Find("old status"), -1);
  EXPECT_GE(target.Find("status"), 0);
  EXPECT_EQ(target.Active(), nullptr) << "loading a block resets the active table";

  target.DeleteGameTables();
  EXPECT_EQ(target.Find("game"), -1);
  EXPECT_EQ(target.Count(), 1);

  // After a new game a status table may take the saved game table's name; loading that game
  // again makes its own table active, not the status table.
  target.Create("Game", 1);
  ByteReader again(game.Data());
  target.LoadTables(again, 0);
  ASSERT_NE(target.Active(), nullptr);
  EXPECT_EQ(target.Active()->Status(), 0);
  EXPECT_EQ(target.Active()->Name(), "game");
}

}  // namespace
}  // namespace orva
