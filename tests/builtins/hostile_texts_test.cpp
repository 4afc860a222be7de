// Searching, splitting and filling with texts a title could build to stall or exhaust the player:
// long runs of double-byte lead bytes, repetitive patterns, and more pieces than an array holds.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "builtins_support.h"
#include "core/limits.h"
#include "core/sjis.h"
#include "resources/file_manager.h"
#include "script/builtins/record_table.h"
#include "script/builtins/text_search.h"
#include "script/param.h"
#include "script/param_types.h"

namespace orva {
namespace {

using test::BuiltinsFixture;

std::string Repeat(std::string_view piece, size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (size_t k = 0; k < times; ++k) out += piece;
  return out;
}

// A match counts only where a character starts: in 82 81 the 81 is a second byte.
TEST(TextSearch, MatchesStartWhereCharactersStart) {
  BuiltinsFixture f;
  f.Var("s", PT_STR).SetStr("\x82\x81\x81\x82" "a\x81");  // characters: 8281, 8182, a, 81
  // Patterns live in variables: a literal cannot end in a lone first byte.
  f.Var("lead", PT_STR).SetStr("\x81");
  f.Var("pair", PT_STR).SetStr("\x81\x82");
  f.Var("tail", PT_STR).SetStr("a\x81");
  f.Var("upper_tail", PT_STR).SetStr("A\x81");
  f.Var("first", PT_STR).SetStr("\x82");
  struct Case {
    const char* expression;
    std::string result;
  };
  const Case cases[] = {
      {"JPos(lead, s)", "2"},
      {"JPos(pair, s)", "2"},
      {"JPos(tail, s)", "3"},
      {"JPos(first, s)", "1"},
      {"JPos(\"\", s)", "0"},
      {"Pos(lead, s)", "2"},
      {"Pos(pair ++ \"a\", s)", "3"},
      {"Pos(\"\", s)", "0"},
      {"StringReplace(s, lead, \"-\", TRUE)", "\x82\x81-\x82" "a-"},
      {"StringReplace(s, lead, \"-\")", "\x82\x81-\x82" "a\x81"},
      {"StringReplace(s, upper_tail, \"-\", TRUE, TRUE)", "\x82\x81\x81\x82-"},
  };
  for (const Case& c : cases) EXPECT_EQ(f.Eval(c.expression), c.result) << c.expression;

  // A first byte that separates cuts, and its second byte starts the next piece.
  TCustomParam& pieces = f.Var("pieces", PT_STR);
  f.Run("StringToArray(s, pieces, lead)");
  ASSERT_EQ(pieces.Count(), 2);
  EXPECT_EQ(pieces.GetStrAt(0), "\x82\x81");
  EXPECT_EQ(pieces.GetStrAt(1), "\x82" "a") << "the last 81 starts a character and separates";
}

// The boundary search against the plain definition (a match counts where no odd run of first
// bytes precedes it), on random texts over a few bytes that make runs of first bytes common.
TEST(TextSearch, BoundarySearchAgreesWithTheDefinition) {
  const char alphabet[] = {'\x81', '\x82', 'a', '\x40'};
  std::mt19937 random(12345);
  auto text = [&](size_t max_length) {
    std::string out(random() % (max_length + 1), ' ');
    for (char& c : out) c = alphabet[random() % 4];
    return out;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::string s = text(40);
    const std::string pattern = text(round % 2 == 0 ? 3 : 12);
    std::vector<size_t> expected;
    if (!pattern.empty()) {
      for (size_t at = s.find(pattern); at != std::string::npos; at = s.find(pattern, at + 1))
        if (!sjis::IsTrailByteAt(s, at) && (expected.empty() || at >= expected.back() + pattern.size()))
          expected.push_back(at);
    }
    BoundaryMatcher matcher(s, pattern);
    std::vector<size_t> found;
    for (size_t at = matcher.Next(0); at != std::string::npos; at = matcher.Next(at + pattern.size()))
      found.push_back(at);
    ASSERT_EQ(found, expected) << "round " << round;
    std::string replaced = s;
    for (auto it = expected.rbegin(); it != expected.rend(); ++it) replaced.replace(*it, pattern.size(), "-");
    ASSERT_EQ(ReplaceText(s, pattern, "-", true, false), replaced) << "round " << round;
  }
}

// The character-counted functions on double-byte text with indices and counts at and past every
// end; JDelete and JInsert write back into s, reset before each case.
TEST(TextSearch, CharacterCountedFunctionsAtTheEnds) {
  BuiltinsFixture f;
  const std::string a = "\x82\xa0", i = "\x82\xa2", u = "\x82\xa4";  // あ い う
  const std::string text = a + i + "x" + u + "\x82";                    // ends in a lone first byte
  TCustomParam& s = f.Var("s", PT_STR);
  struct Case {
    const char* expression;
    std::string result;  // the result, or s afterwards for JDelete and JInsert
  };
  const Case cases[] = {
      {"JLength(s)", "5"},
      {"JCopy(s, -5, 7)", a},
      {"JCopy(s, 0)", text},
      {"JCopy(s, 4, 2147483647)", u + "\x82"},
      {"JCopy(s, -2147483647, 2147483647)", ""},
      {"JCopy(s, 2147483647)", ""},
      {"JCopy(s, 2, 0)", ""},
      {"JCopy(s, 2, -1)", ""},
      {"JDelete(s, 0, 1)", i + "x" + u + "\x82"},
      {"JDelete(s, 3)", a + i},
      {"JDelete(s, 6, 1)", text},
      {"JDelete(s, 2, -2147483647)", text},
      {"JDelete(s, 2, 2147483647)", a},
      {"JInsert(\"-\", s, -2147483647)", "-" + text},
      {"JInsert(\"-\", s, 5)", a + i + "x" + u + "-\x82"},
      {"JInsert(\"-\", s, 2147483647)", text + "-"},
      {"JTrim(\"\x81\x40 \" ++ JCopy(s, 1, 4) ++ \" \x81\x40\")", a + i + "x" + u},
      // The lone first byte takes the following blank as its second byte.
      {"JTrim(s ++ \" \")", text + " "},
  };
  for (const Case& c : cases) {
    s.SetStr(text);
    const std::string result = f.Eval(c.expression);
    const bool writes_back = std::string_view(c.expression).substr(0, 2) == "JD" ||
                             std::string_view(c.expression).substr(0, 2) == "JI";
    EXPECT_EQ(writes_back ? s.GetStr() : result, c.result) << c.expression;
  }
}

// Each of these took time growing with the square of the length (counting back through the run of
// lead bytes before every candidate, or comparing the pattern again from every position); at a few
// megabytes that is hours.
TEST(TextSearch, RepetitiveTextsAreSearchedInLinearTime) {
  BuiltinsFixture f;
  const size_t n = size_t{1} << 21;
  // Every 81 is a second byte, every 82 a first byte; the tail holds the one real 81 82.
  const std::string tail = "x\x81\x82";
  f.Var("s", PT_STR).SetStr(Repeat("\x82\x81", n) + tail);
  f.Var("p", PT_STR).SetStr(Repeat("\x81\x82", n / 2));
  f.Var("pair", PT_STR).SetStr("\x81\x82");
  f.Var("lead", PT_STR).SetStr("\x81");
  EXPECT_EQ(f.Eval("JPos(pair, s)"), std::to_string(n + 2));
  EXPECT_EQ(f.Eval("JPos(p, s)"), "0");
  EXPECT_EQ(f.Eval("Length(StringReplace(s, pair, \"\", TRUE))"), std::to_string(2 * n + 1));
  EXPECT_EQ(f.Eval("Length(StringReplace(s, p, \"\", TRUE))"), std::to_string(2 * n + 3));

  TCustomParam& pieces = f.Var("pieces", PT_STR);
  f.Run("StringToArray(s, pieces, lead)");
  ASSERT_EQ(pieces.Count(), 2);
  EXPECT_EQ(pieces.GetStrAt(1), "\x82");

  f.Var("a", PT_STR).SetStr(Repeat("a", n));
  f.Var("q", PT_STR).SetStr(Repeat("a", n / 2) + "b");
  EXPECT_EQ(f.Eval("Pos(q, a)"), "0");
  EXPECT_EQ(f.Eval("JPos(q, a)"), "0");
}

TEST(TextSearch, MatcherFindsEveryBoundaryOccurrenceInOrder) {
  // Characters 81 81 | 81 81 | 81: a pattern 81 81 at offsets 1 and 3 would start on second bytes.
  const std::string s = "\x81\x81\x81\x81\x81";
  BoundaryMatcher matcher(s, "\x81\x81");
  EXPECT_EQ(matcher.Next(1), 2u);
  EXPECT_EQ(matcher.CharacterPosition(2), 2);
  EXPECT_EQ(matcher.Next(3), std::string::npos);
  BoundaryMatcher again(s, "\x81\x81");
  EXPECT_EQ(again.Next(0), 0u);
  EXPECT_EQ(again.Next(2), 2u);
}

// A split into more pieces than an array may hold is refused before a piece is made; the
// variable keeps its value.
TEST(ArrayFunctions, SplitsBeyondTheArrayLimitAreRefused) {
  const size_t limit = static_cast<size_t>(limits::kMaxArrayElements);
  BuiltinsFixture f;
  TCustomParam& pieces = f.Var("pieces", PT_STR);
  pieces.SetStr("kept");
  f.Var("commas", PT_STR).SetStr(std::string(limit, ','));
  f.Var("breaks", PT_STR).SetStr(std::string(limit, '\n') + "x");
  f.Run("StringToArray(commas ++ \",\", pieces, \",\")");
  f.Run("StringToArray(breaks, pieces)");
  EXPECT_EQ(pieces.Count(), 1);
  EXPECT_EQ(pieces.GetStr(), "kept");

  const auto folder =
      std::filesystem::temp_directory_path() / ("orva-builtins-lines-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "many.txt", std::ios::binary) << std::string(limit, '\n') << "x";
  std::ofstream(folder / "few.txt", std::ios::binary) << "a\r\nb\rc\n";
  {
    TVrFileManager files;
    files.SetBaseFolder(folder.string());
    BuiltinsFixture g(&files);
    TCustomParam& lines = g.Var("lines", PT_STR);
    lines.SetStr("kept");
    g.Run("LoadTextFile(lines, \"many.txt\")");
    EXPECT_EQ(lines.GetStr(), "kept");
    EXPECT_EQ(g.Eval("LoadTextFile(lines, \"few.txt\")"), "TRUE");
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.GetStrAt(2), "c");
  }
  std::filesystem::remove_all(folder);
}

// Filling an array copies the text into every element: a fill beyond what a value may hold stops
// the expression instead of allocating it.
TEST(ArrayFunctions, FillingBeyondTheTextLimitIsRefused) {
  BuiltinsFixture f;
  TCustomParam& grid = f.Var("grid", PT_STR);
  const int32_t dims[] = {1 << 20};
  grid.SetDims(dims);
  f.Var("text", PT_STR).SetStr(std::string(1024, 'x'));
  f.Run("FillMem(grid, text)");
  EXPECT_EQ(grid.GetStrAt(5), "");
  f.Run("FillMem(grid, \"ab\")");
  EXPECT_EQ(grid.GetStrAt((1 << 20) - 1), "ab");
}

// Tab-separated text: cells past the fields are ignored, and a header of more fields than a
// record may hold loads nothing.
TEST(RecordTableText, CellsPastTheFieldsAndOversizedHeadersLoadSafely) {
  TDBTable table("t", 0);
  table.LoadTsvText("id int\tname str 4\r\n7\tabcdef" + std::string(1 << 20, '\t') + "more\n\n8\n");
  ASSERT_EQ(table.Fields().Count(), 2);
  ASSERT_EQ(table.RecordCount(), 2);
  EXPECT_EQ(table.GetStr(0, 1), "abcd");
  EXPECT_EQ(table.GetInt(1, 0), 8);

  table.LoadTsvText(Repeat("x bool\t", static_cast<size_t>(limits::kMaxTableRecordBytes) + 1) + "\n1\n");
  EXPECT_EQ(table.Fields().Count(), 0);
  EXPECT_EQ(table.RecordCount(), 0);
}

// A partial match looks for the field's text inside the wanted value: a long field text that
// nearly matches everywhere in a longer value is still one linear search per record.
TEST(RecordTableText, PartialSelectionSearchesInLinearTime) {
  TDBTable table("t", 0);
  const int32_t length = 1 << 19;
  ASSERT_EQ(table.AddField("text", PT_STR, length), 0);
  ASSERT_TRUE(table.Append());
  table.SetStr(0, 0, std::string(static_cast<size_t>(length) - 1, 'a') + "b");
  ASSERT_TRUE(table.Append());
  table.SetStr(0 + 1, 0, "aaa");
  TParamStr keys;
  keys.SetStr("text");
  TParamStr values;
  values.SetStr(std::string(size_t{1} << 21, 'a'));
  EXPECT_EQ(table.Select(&keys, &values, false, true), std::vector<int32_t>{1});
}

// Sorting by a field named again and again costs what sorting by it once does, and the first key
// naming a field decides its direction.
TEST(RecordTableText, RepeatedSortKeysAreComparedOnce) {
  TDBTable table("t", 0);
  table.AddField("same", PT_INT, 0);
  table.AddField("order", PT_INT, 0);
  const int32_t records = 4096;
  for (int32_t r = 0; r < records; ++r) {
    ASSERT_TRUE(table.Append());
    table.SetInt(r, 1, (r * 7919) % records);
  }
  const int32_t repeats = 1 << 20;
  TParamStr keys;
  const int32_t key_dims[] = {repeats + 2};
  keys.SetDims(key_dims);
  keys.FillStr("same");
  keys.SetStrAt(repeats, "order");
  keys.SetStrAt(repeats + 1, "order");
  TParamFlag descending;
  descending.SetDims(key_dims);
  descending.SetBoolAt(repeats + 1, true);
  table.Sort(keys, descending);
  for (int32_t r = 0; r < records; ++r) ASSERT_EQ(table.GetInt(r, 1), r);
}

}  // namespace
}  // namespace orva
