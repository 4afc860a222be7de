// Built-in functions evaluated from compiled expressions, and every function called with hostile
// arguments.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "builtins_support.h"
#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/encoding.h"
#include "core/error.h"
#include "script/function_table.h"
#include "script/param_types.h"
#include "script/param_var.h"

namespace orva {
namespace {

using test::BuiltinsFixture;

std::string Sjis(const char* utf8) { return Utf8ToCp932(utf8); }

// Texts whose last byte is a lone lead byte lose it; complete characters and one-byte texts stay.
TEST(StringFunctions, FixStrAndPathsRespectDoubleByteCharacters) {
  BuiltinsFixture f;
  const std::string a = Sjis("あ");  // 82 A0
  const std::string hyo = Sjis("表");  // 95 5C: the second byte looks like a backslash
  struct Case {
    std::string input;
    std::string fixed;
  };
  const Case cases[] = {
      {"a\x82", "a"}, {a + "\x82", a}, {a, a}, {"\x82", "\x82"}, {"\x82\x82\x82", "\x82\x82"}, {"", ""},
  };
  TCustomParam& s = f.Var("s", PT_STR);
  for (const Case& c : cases) {
    s.SetStr(c.input);
    EXPECT_EQ(f.Eval("FixStr(s)"), c.fixed);
  }

  s.SetStr("dir\\" + hyo + ".txt");
  EXPECT_EQ(f.Eval("ExtractFileName(s)"), hyo + ".txt");
  EXPECT_EQ(f.Eval("ExtractFilePath(s)"), "dir\\");
  s.SetStr(hyo);
  EXPECT_EQ(f.Eval("AddBackSlash(s)"), hyo + "\\");
  EXPECT_EQ(f.Eval("IsPathDelimiter(s, 2)"), "FALSE");
  EXPECT_EQ(f.Eval("StringReplace(s, \"\\\\\", \"/\", TRUE)"), hyo);
  EXPECT_EQ(f.Eval("IsDelimiter(\"\\\\\", s, 2)"), "FALSE");
  EXPECT_EQ(f.Eval("ExtractFileExt(\"a.b\\\\c\")"), "");
}

TEST(StringFunctions, HugeResultsStopTheExpressionInsteadOfAllocating) {
  BuiltinsFixture f;
  f.Var("r", PT_STR).SetStr("kept");
  f.Run("r = StringOfChar(\"abc\", 2147483647)");
  EXPECT_EQ(f.Value("r").GetStr(), "kept");
  f.Run("r = StringOfChar(\"ab\", 3)");
  EXPECT_EQ(f.Value("r").GetStr(), "ababab");
}

TEST(PlayerFunctions, CalcRecursionEndsAtTheNestingLimit) {
  BuiltinsFixture f;
  f.Var("n", PT_INT);
  // Each level adds 4 (the length of "TRUE") after the levels below it have run.
  f.Var("s", PT_STR).SetStr("n = n + Length(Calc(s))");
  f.Run("Calc(s)");
  EXPECT_GT(f.Value("n").GetInt(), 4 * 100);
  EXPECT_LE(f.Value("n").GetInt(), 4 * 1000);

  f.Var("r", PT_STR).SetStr("before");
  f.Run("r = \"after\" ++ Calc(\"v = (\")");
  EXPECT_EQ(f.Value("r").GetStr(), "before") << "a syntax error in the text stops the calling expression";
}

TEST(PlayerFunctions, OpenUrlHandsOnlyWebAddressesToTheShell) {
  BuiltinsFixture f;
  f.Run("OpenUrl(\"http://example.com/a\")");
  f.Run("OpenUrl(\"file:///etc/passwd\")");
  f.Run("OpenUrl(\"ftp://example.com\")");
  f.Run("OpenUrl(\"HTTP://upper.example\")");
  EXPECT_EQ(f.urls.Opened(), (std::vector<std::string>{"http://example.com/a", "ftp://example.com"}));
}

TEST(PlayerFunctions, SaveCaptionsListInTheSaveDataOrder) {
  BuiltinsFixture f;
  EXPECT_EQ(f.Eval("ListSaveCaption()"), "0");
  f.functions->SaveCaptions().Assign({{3, "third"}, {1, "first"}});
  f.Var("captions", PT_STR);
  f.Var("slots", PT_INT);
  EXPECT_EQ(f.Eval("ListSaveCaption(captions, slots)"), "2");
  EXPECT_EQ(f.Value("captions").GetStrAt(0), "third");
  EXPECT_EQ(f.Value("captions").GetStrAt(1), "first");
  EXPECT_EQ(f.Value("slots").GetIntAt(0), 3);
  EXPECT_EQ(f.Value("slots").GetIntAt(1), 1);
  EXPECT_EQ(f.Eval("GetSaveCaption(1)"), "first");
  EXPECT_EQ(f.Eval("GetSaveCaption(2)"), "");
}

TEST(NumberFunctions, RandomStaysInRangeAndFollowsTheSeed) {
  BuiltinsFixture a(nullptr, 7);
  BuiltinsFixture b(nullptr, 7);
  for (const char* n : {"1", "7", "1000", "2147483647"}) {
    for (int k = 0; k < 50; ++k) {
      const std::string text = std::string("Random(") + n + ")";
      const int64_t r = std::stoll(a.Eval(text));
      EXPECT_EQ(std::to_string(r), b.Eval(text));
      EXPECT_GE(r, 0);
      EXPECT_LT(r, std::stoll(n));
    }
  }
  EXPECT_EQ(a.Eval("Random(0)"), "0");
  const int64_t negative = std::stoll(a.Eval("Random(-5)"));
  EXPECT_LE(negative, 0);
  EXPECT_GE(negative, -5);
}

TEST(ArrayFunctions, ConversionsFollowTheTargetType) {
  BuiltinsFixture f;
  TCustomParam& numbers = f.Var("numbers", PT_INT);
  f.Run("StringToArray(\"10,9,1\", numbers, \",\")");
  f.Run("SortStr(numbers)");
  EXPECT_EQ(numbers.GetIntAt(0), 1);
  EXPECT_EQ(numbers.GetIntAt(1), 10);
  EXPECT_EQ(numbers.GetIntAt(2), 9);

  TCustomParam& copy = f.Var("copy", PT_STR);
  EXPECT_EQ(f.Eval("CopyArray(copy, 2.5)"), "TRUE");
  EXPECT_EQ(copy.Count(), 1);
  EXPECT_EQ(copy.GetStrAt(0), "2.5");

  // Deleting every element would leave an empty array, which no value can be.
  f.Run("DeleteArray(numbers, 0, 3)");
  EXPECT_EQ(numbers.Count(), 3);
  EXPECT_EQ(f.Eval("DeleteArray(numbers, 1, 99)"), "1");
  EXPECT_EQ(f.Eval("GetArraySize(numbers, -2147483647)"), "1");
}

TEST(ArrayFunctions, UnboundArgumentsRaiseTheirMessages) {
  BuiltinsFixture f;
  TParamInt literal;
  TParamInt dest;
  std::vector<std::unique_ptr<TCustomParam>> args;
  args.push_back(std::make_unique<TParamInt>());
  args.push_back(std::make_unique<TParamInt>());
  FunctionCall call{f.store, dest, args};
  const std::pair<int, const char*> cases[] = {
      {4, "GetArraySize:変数が見つかりません"},
      {21, "SetArray:変数が見つかりません"},
      {22, "FillMem:変数が見つかりません"},
      {23, "CopyMem:変数が見つかりません"},
  };
  for (const auto& [id, message] : cases) {
    try {
      f.functions->Dispatch().Call(id, call);
      ADD_FAILURE() << id << " did not fail";
    } catch (const EOrvaError& e) {
      EXPECT_STREQ(e.what(), message);
    }
  }
}

// Every function, with every number of arguments up to 8, given empty, extreme, unbound and array
// arguments: errors are allowed, faults are not (the sanitizer build checks this).
TEST(AllFunctions, NoArgumentMakesAFunctionFault) {
  BuiltinsFixture f;
  TCustomParam& grid = f.Var("grid", PT_STR);
  const int32_t dims[] = {2, 3};
  grid.SetDims(dims);
  f.store.AddNamedVar("dangling", PT_NONE);
  f.Var("text", PT_STR).SetStr("n = n + 1");
  f.Var("n", PT_INT);

  auto reference = [&](const char* name) {
    auto ref = std::make_unique<TParamVar>(name);
    ref->SetTarget(f.store.FindVar(name));
    return std::unique_ptr<TCustomParam>(std::move(ref));
  };
  using Maker = std::function<std::unique_ptr<TCustomParam>(int)>;
  const std::vector<Maker> makers = {
      [](int) { return std::unique_ptr<TCustomParam>(std::make_unique<TParamStr>()); },
      [](int k) {
        auto v = std::make_unique<TParamInt>();
        const int32_t values[] = {0, -1, 3, INT_MAX, INT_MIN};
        v->SetInt(values[k % 5]);
        return std::unique_ptr<TCustomParam>(std::move(v));
      },
      [](int k) {
        auto v = std::make_unique<TParamFloat>();
        const long double values[] = {std::numeric_limits<long double>::quiet_NaN(), 1e4000L, -2.5L,
                                      std::numeric_limits<long double>::infinity()};
        v->SetFloat(values[k % 4]);
        return std::unique_ptr<TCustomParam>(std::move(v));
      },
      [](int k) {
        auto v = std::make_unique<TParamStr>();
        const char* values[] = {"\x82", "-1", "grid", "$7FFFFFFF", "a\\b.c", "n"};
        v->SetStr(values[k % 6]);
        return std::unique_ptr<TCustomParam>(std::move(v));
      },
      [](int) { return std::unique_ptr<TCustomParam>(std::make_unique<TParamVar>("unbound")); },
      [&](int) { return reference("grid"); },
      [&](int) { return reference("dangling"); },
      [&](int) { return reference("@ParamStr"); },
      [&](int) { return reference("@Temp"); },
      [&](int k) { return reference(k % 2 == 0 ? "text" : "n"); },
  };
  f.functions->Tables().Create("t", 0);
  f.functions->Tables().Active()->AddField("grid", PT_STR, 4);
  f.functions->Tables().Active()->Append();

  for (int id = 0; id < kFunctionCount + 2; ++id) {
    for (size_t count = 0; count <= 8; ++count) {
      for (size_t m = 0; m < makers.size(); ++m) {
        std::vector<std::unique_ptr<TCustomParam>> args;
        for (size_t k = 0; k < count; ++k) args.push_back(makers[(m + k) % makers.size()](static_cast<int>(k + m)));
        for (uint8_t type = PT_INT; type <= PT_STR; ++type) {
          std::unique_ptr<TCustomParam> dest = NewParam(type);
          FunctionCall call{f.store, *dest, args};
          try {
            f.functions->Dispatch().Call(id, call);
          } catch (const EOrvaError&) {
          }
        }
      }
    }
  }
  SUCCEED();
}

}  // namespace
}  // namespace orva

namespace orva {
namespace {

// Direct access reads and writes one field of another table's first selected record without
// moving any current record or the active table.
TEST(RecordTableFunctions, DirectAccessOfEveryKind) {
  BuiltinsFixture f;
  f.Var("keys", PT_STR).SetStr("id");
  f.Var("two", PT_INT).SetInt(2);
  f.Var("none", PT_INT).SetInt(9);
  f.Run("DBCreateTable(\"items\", 1)");
  for (const char* field : {"DBAddField(\"id\", 1)", "DBAddField(\"price\", 2)", "DBAddField(\"owned\", 3)",
                            "DBAddField(\"name\", 4, 8)", "DBInsert(1, 0.5, FALSE, \"one\")",
                            "DBInsert(2, 1.25, TRUE, \"two\")", "DBSetRecNo(0)", "DBCreateTable(\"other\", 0)"})
    f.Run(field);
  struct Case {
    const char* expression;
    const char* result;
  };
  const Case cases[] = {
      {"DBDirectGetFloat(\"items\", keys, two, FALSE, FALSE, \"price\", 7)", "1.25"},
      {"DBDirectGetBool(\"items\", keys, two, FALSE, FALSE, \"owned\", FALSE)", "TRUE"},
      {"DBDirectGetBool(\"items\", keys, none, FALSE, FALSE, \"owned\", TRUE)", "TRUE"},
      {"DBDirectGetFloat(\"items\", keys, two, FALSE, FALSE, \"nothing\", 7)", "7"},
      {"DBDirectSetFloat(\"items\", keys, two, FALSE, FALSE, \"price\", 3.5)", "TRUE"},
      {"DBDirectGetInt(\"items\", keys, two, FALSE, FALSE, \"price\", 0)", "4"},
      {"DBDirectSetBool(\"items\", keys, two, FALSE, FALSE, \"owned\", FALSE)", "TRUE"},
      {"DBDirectGetStr(\"items\", keys, two, FALSE, FALSE, \"owned\", \"\")", "FALSE"},
      {"DBDirectSetBool(\"items\", keys, none, FALSE, FALSE, \"owned\", TRUE)", "FALSE"},
      {"DBGetActive()", "other"},
      {"DBGetRecNo(\"items\")", "0"},
      {"DBRecordCount(\"ITEMS\")", "2"},
  };
  for (const Case& c : cases) EXPECT_EQ(f.Eval(c.expression), c.result) << c.expression;
}

}  // namespace
}  // namespace orva

namespace orva {
namespace {

// A table is saved with the game (status 0) or with the status data (anything else): no status
// leaves a table out of both save blocks.
TEST(RecordTableFunctions, EveryStatusBelongsToASaveBlock) {
  BuiltinsFixture f;
  for (const char* create : {"DBCreateTable(\"odd\", 2)", "DBCreateTable(\"negative\", -1)",
                             "DBCreateTable(\"flag\", TRUE)", "DBCreateTable(\"game\", 0)"})
    EXPECT_EQ(f.Eval(create), "TRUE") << create;
  TDBManager& tables = f.functions->Tables();
  EXPECT_EQ(tables.FindTable("odd")->Status(), 1);
  EXPECT_EQ(tables.FindTable("negative")->Status(), 1);
  EXPECT_EQ(tables.FindTable("flag")->Status(), 1);
  EXPECT_EQ(tables.FindTable("game")->Status(), 0);

  ByteWriter status_block;
  tables.SaveTables(status_block, 1);
  TDBManager loaded;
  ByteReader reader(status_block.Data());
  loaded.LoadTables(reader, 1);
  EXPECT_EQ(loaded.Count(), 3);
  EXPECT_NE(loaded.FindTable("odd"), nullptr);
}

}  // namespace
}  // namespace orva

namespace orva {
namespace {

// The array functions read their source completely before they write: a variable given as both
// source and target, directly or through @Temp, gives the same result as a copy of it would.
TEST(ArrayFunctions, ASourceThatIsAlsoTheTarget) {
  BuiltinsFixture f;
  TCustomParam& a = f.Var("a", PT_STR);
  auto reset = [&] {
    f.Run("StringToArray(\"x,y\", a, \",\")");
    f.Run("AssignTemp(\"a\")");
  };
  struct Case {
    const char* expression;
    const char* joined;  // ArrayToString(a, ",") afterwards
  };
  const Case cases[] = {
      {"AddArray(a, a)", "x,y,x,y"},
      {"AddArray(@Temp, a)", "x,y,x,y"},
      {"InsertArray(a, 1, a)", "x,x,y,y"},
      {"CopyArray(a, a)", "x,y"},
      {"CopyMem(a, a)", "x,y"},
      {"CopyMem(@Temp, a)", "x,y"},
      {"ListSaveCaption(a, a)", "x,y"},
      {"StringToArray(ArrayToString(a, \";\") ++ \";z\", a, \";\")", "x,y,z"},
      {"SortStr(@Temp)", "x,y"},
      {"DeleteArray(@Temp, 0, 1)", "y"},
  };
  for (const Case& c : cases) {
    reset();
    f.Run(c.expression);
    EXPECT_EQ(f.Eval("ArrayToString(a, \",\")"), c.joined) << c.expression;
  }
  EXPECT_EQ(a.VarType(), PT_STR);
}

}  // namespace
}  // namespace orva

namespace orva {
namespace {

// Every DB function's failure result: first with no table at all, then with an active table
// that has a field and a record but no current record, and one that names no table.
TEST(RecordTableFunctions, FailureResultsOfEveryFunction) {
  BuiltinsFixture f;
  f.Var("keys", PT_STR).SetStr("n");
  f.Var("values", PT_INT).SetInt(1);
  f.Var("down", PT_BOOL);
  struct Case {
    const char* expression;
    const char* result;
  };
  const Case without_tables[] = {
      {"DBSetActive(\"t\")", "FALSE"},
      {"DBAddField(\"n\", 1)", "FALSE"},
      {"DBSetRecNo(-1)", "FALSE"},
      {"DBInsert(1)", "FALSE"},
      {"DBDelete()", "FALSE"},
      {"DBGetInt(\"n\")", "0"},
      {"DBSetInt(\"n\", 1)", "FALSE"},
      {"DBGetFloat(\"n\")", "0"},
      {"DBSetFloat(\"n\", 1)", "FALSE"},
      {"DBGetBool(\"n\")", "FALSE"},
      {"DBSetBool(\"n\", TRUE)", "FALSE"},
      {"DBGetStr(\"n\")", ""},
      {"DBSetStr(\"n\", \"x\")", "FALSE"},
      {"DBRecordCount()", "-1"},
      {"DBFindFirst()", "FALSE"},
      {"DBFindLast()", "FALSE"},
      {"DBFindNext()", "FALSE"},
      {"DBFindPrior()", "FALSE"},
      {"DBLocate(keys, values)", "FALSE"},
      {"DBLoadTsvFile(\"none.tsv\")", "FALSE"},
      {"DBDirectGetInt(\"t\", keys, values, FALSE, FALSE, \"n\", 42)", "42"},
      {"DBDirectSetInt(\"t\", keys, values, FALSE, FALSE, \"n\", 42)", "FALSE"},
      {"DBDirectGetStr(\"t\", keys, values, FALSE, FALSE, \"n\", \"d\")", "d"},
      {"DBCopyTable(\"t\")", "FALSE"},
      {"DBDeleteTable()", "FALSE"},
      {"DBInsertTable(\"t\")", "FALSE"},
      {"DBCopy(\"t\")", "FALSE"},
      {"DBClearTable()", "FALSE"},
      {"DBSort(keys, down)", "FALSE"},
      {"DBGetActive()", ""},
      {"DBGetRecNo()", "-1"},
      {"DBClearRecord()", "FALSE"},
  };
  for (const Case& c : without_tables) EXPECT_EQ(f.Eval(c.expression), c.result) << c.expression;

  for (const char* setup : {"DBCreateTable(\"t\", 0)", "DBAddField(\"n\", 1)", "DBInsert(1)", "DBSetRecNo(-1)"})
    ASSERT_EQ(f.Eval(setup), "TRUE") << setup;
  const Case without_current[] = {
      {"DBDelete()", "FALSE"},
      {"DBGetInt(\"n\")", "0"},
      {"DBSetInt(\"n\", 5)", "FALSE"},
      {"DBSetFloat(\"n\", 5)", "FALSE"},
      {"DBSetBool(\"n\", TRUE)", "FALSE"},
      {"DBSetStr(\"n\", \"5\")", "FALSE"},
      {"DBCopy(\"t\")", "FALSE"},
      {"DBGetRecNo()", "-1"},
      {"DBSetRecNo(1)", "FALSE"},
      {"DBFindPrior()", "FALSE"},
      {"DBRecordCount(\"other\")", "-1"},
      {"DBGetRecNo(\"other\")", "-1"},
      {"DBClearRecord(\"other\")", "FALSE"},
      {"DBCopyTable(\"other\")", "FALSE"},
      {"DBCopyTable(\"t\")", "FALSE"},
      {"DBInsertTable(\"other\")", "FALSE"},
      {"DBDirectGetInt(\"t\", keys, values, FALSE, FALSE, \"n\", 42)", "1"},
      {"DBFindNext()", "TRUE"},
      {"DBGetInt(\"n\")", "1"},
  };
  for (const Case& c : without_current) EXPECT_EQ(f.Eval(c.expression), c.result) << c.expression;
}

}  // namespace
}  // namespace orva
