// Page listings: expressions as text, strings with escapes, raw forms, and the round trip of
// listing then assembling back to the same bytes.

#include "scenario/page_listing.h"

#include <gtest/gtest.h>

#include "core/byte_writer.h"
#include "core/encoding.h"
#include "core/error.h"
#include "scenario/expression_listing.h"
#include "scenario/scenario_support.h"

namespace orva {
namespace {

using namespace command_id;

TEST(ExpressionListing, CompiledTextsComeBackAsTextThatCompilesToTheSameRecord) {
  const char* texts[] = {
      "a = 1 + 2 * 3",
      "(1 + 2) * 3",
      "x = IntToStr(Length(\"ab\\\"c\"), 2) ++ \"\\n\"",
      "Length(\"a\") + Length(\"bc\")",
      "arr[i, j + 1] = -k",
      "s = s ++ \"x\"",
      "a <> b",
      "TRUE",
      "2.5",
      "v = 1 << 33",
  };
  for (const char* text : texts) {
    const std::string record = ExpressionTextToRecord(Utf8ToCp932(text));
    const auto back = ExpressionRecordToText(record);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(ExpressionTextToRecord(*back), record) << text << " -> " << *back;
  }
  EXPECT_EQ(ExpressionRecordToText(ExpressionTextToRecord("")), std::optional<std::string>(""));
}

TEST(ExpressionListing, RecordsWithoutATextFormAreNotGivenOne) {
  // A flag literal stored as the byte 2 reads as TRUE but is written back as 1.
  ByteWriter w;
  w.I32(1);
  w.U8(1);
  w.String("____arg");
  w.I32(1);
  w.U8(3);
  w.U8(2);
  EXPECT_FALSE(ExpressionRecordToText(w.Data()).has_value());
  EXPECT_FALSE(ExpressionRecordToText("\x01\x00\x00").has_value());  // damaged
}

// Temporaries that each use the one before twice would double the text at every operation; such
// records have no text form worth giving and are listed raw, at once.
TEST(ExpressionListing, RecordsWhoseTextWouldExplodeAreListedRaw) {
  const struct {
    int operations;
    int uses;  // how often each operation uses the temporary before it
  } rows[] = {{60, 2}, {3, 2000}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.operations << " x " << row.uses);
    ByteWriter w;
    w.I32(row.operations);
    for (int i = 1; i <= row.operations; ++i) {
      w.U8(11);  // a function call takes any number of operands
      w.String("____" + std::to_string(i));
      w.I32(row.uses);
      w.U8(0);  // the function id
      for (int k = 0; k < row.uses; ++k) {
        w.U8(0);  // a reference
        w.String(i == 1 ? std::string(200, 'a') : "____" + std::to_string(i - 1));
      }
    }
    EXPECT_FALSE(ExpressionRecordToText(w.Data()).has_value());
  }
  // A long expression as the compiler makes it keeps its text.
  std::string sum = "total = a0";
  for (int i = 1; i < 150; ++i) sum += " + a" + std::to_string(i);
  EXPECT_EQ(ExpressionRecordToText(ExpressionTextToRecord(sum)), std::optional<std::string>(sum));
}

TEST(PageListing, QuotedStringsEscapeWhatDoesNotConvert) {
  const std::string sjis = "a\"b\\c\r\n\x8F\xEE\x95\xF1\x81\x7F\x01\xFD";
  const std::string quoted = QuoteListingString(sjis);
  EXPECT_EQ(quoted, "\"a\\\"b\\\\c\\r\\n情報\\x81\\x7f\\x01\\xfd\"");
  EXPECT_EQ(UnquoteListingString(quoted), sjis);
  EXPECT_THROW(UnquoteListingString("\"open"), EOrvaError);
  EXPECT_THROW(UnquoteListingString("\"\\q\""), EOrvaError);
}

// Every form a listing must carry, in one page: the type byte's top bit, sets of another size
// with extra bytes, expressions without a text, lone CR, negative counts, glyph streams.
TEST(PageListing, ListingThenAssemblingGivesTheSameBytes) {
  PageRecord page;
  page.version = 110;
  page.set_count = 61;
  page.set_size = 25;
  page.sets.assign(61 * 25, '\0');
  page.sets[kBoxNew * 25] = 0x09;    // PR_NAME, PR_LEFT
  page.sets[kBoxNew * 25 + 23] = 1;  // a byte beyond the 21 that are read
  page.sets[kButton * 25] = 0x01;
  auto add = [&](uint8_t type_byte, std::vector<StoredField> fields) {
    CommandRecord c;
    c.type_byte = type_byte;
    c.line = static_cast<int32_t>(page.commands.size()) + 10;
    c.continue_flag = 2;
    c.fields = std::move(fields);
    page.commands.push_back(std::move(c));
  };
  ByteWriter odd;
  odd.I32(1), odd.U8(1), odd.String("____arg"), odd.I32(1), odd.U8(3), odd.U8(7);
  auto expr = [](std::string record) {
    StoredField f;
    f.expressions.push_back({-1, std::move(record)});
    return f;
  };
  auto text = [](std::string bytes) {
    StoredField f;
    f.bytes = std::move(bytes);
    return f;
  };
  auto number = [](int32_t n) {
    StoredField f;
    f.number = n;
    return f;
  };
  add(0x80 | kCalc, {expr(ExpressionTextToRecord(Utf8ToCp932("変数 = 1 + 2")))});
  add(kComment, {text("line\ronly\x81")});
  add(kIf, {expr(odd.Data())});
  StoredField args;
  args.number = -3;
  add(kCall, {text("p.osb"), number(4), text(""), expr(ExpressionTextToRecord("")), args});
  StoredField block;
  block.expressions = {{0, ExpressionTextToRecord("\"name\"")}, {3, ExpressionTextToRecord("")}};
  add(kBoxNew, {block});
  StoredField glyphs;
  glyphs.number = 3;
  glyphs.bytes = std::string("\x00\x01\xFF", 3);
  add(kTextIns, {glyphs, expr(ExpressionTextToRecord("\"box\"")), expr(ExpressionTextToRecord("")),
                 expr(ExpressionTextToRecord("TRUE")), expr(ExpressionTextToRecord(""))});
  const std::string bytes = WritePageRecord(page);
  ASSERT_EQ(WritePageRecord(ReadPageRecord(bytes)), bytes);

  const std::string listing = ListPage(ReadPageRecord(bytes));
  EXPECT_NE(listing.find("type=0x8e"), std::string::npos) << listing;
  EXPECT_NE(listing.find("sets-raw "), std::string::npos);
  EXPECT_NE(listing.find("Expression: 変数 = 1 + 2"), std::string::npos) << listing;
  EXPECT_NE(listing.find("Condition:# "), std::string::npos);
  EXPECT_EQ(WritePageRecord(AssemblePage(listing)), bytes);

  // A page of a newer version keeps its body.
  ByteWriter newer;
  newer.I32(111);
  newer.Chars("opaque");
  EXPECT_EQ(WritePageRecord(AssemblePage(ListPage(ReadPageRecord(newer.Data())))), newer.Data());
}

TEST(PageListing, AssemblingReportsTheLineOfAMistake) {
  const struct {
    const char* listing;
    const char* message;
  } cases[] = {
      {"page 110 result=1\nsets 0 21\n\nCalc line=1\n  Expression: a = = 1\n", "line 5: 構文エラー"},
      {"page 110 result=1\nsets 0 21\nNoSuch line=1\n", "line 3: unknown command \"NoSuch\""},
      {"page 110 result=1\nsets 0 21\nJump line=1\n  Page: \"a.osb\"\n  Condition: TRUE\n",
       "line 5: the field Target was expected"},
      {"page 110\nsets 61 21\nset BoxNew: 0\nBoxNew line=1\n  Properties:\n    [3] 1\n",
       "line 6: the properties do not match the page's set for BoxNew"},
  };
  for (const auto& c : cases) {
    try {
      AssemblePage(c.listing);
      ADD_FAILURE() << c.listing;
    } catch (const EOrvaError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace orva
