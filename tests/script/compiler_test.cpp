// The expression compiler: the operations it makes, its errors, and its records.

#include <gtest/gtest.h>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "script/param_var.h"
#include "script_support.h"

namespace orva {
namespace {

using test::Listing;
using test::Sjis;

TEST(Compiler, MakesTheOperationsInOrder) {
  struct Case {
    const char* text;
    const char* listing;
  };
  const Case cases[] = {
      {"a = 1 + 2 * 3", "____0 = ocMul 2, 3; ____1 = ocPlus 1, ____0; a = ocTo ____1"},
      {"-2 * 3", "____0 = ocMul 2, 3; ____1 = ocMinus 0, ____0; ____arg = ocTo ____1"},
      {"a * -b", "____0 = ocMinus 0, b; ____1 = ocMul a, ____0; ____arg = ocTo ____1"},
      {"f(1) + g(2)", "____0 = call g, 2; ____1 = call f, 1; ____2 = ocPlus ____1, ____0; ____arg = ocTo ____2"},
            // An argument's temporary is numbered before the ones inside it; the copy between them goes.
      {"f(a + 1, (b))", "____1 = ocPlus a, 1; ____2 = call f, ____1, b; ____arg = ocTo ____2"},
      {"x[i % 10] = 5", "____1 = ocMod i, 10; ____d_2 = ocDimTo x, ____1; ____d_2 = ocTo 5"},
      {"s = \"a\" ++ s", "____0 = ocTo \"a\"; ____1 = ocComboStr ____0, s; s = ocTo ____1"},
      {"(a)", "____0 = ocTo a; ____arg = ocTo ____0"},
      {"a", "____arg = ocTo a"},
      {"", "____arg = ocTo "},
      {"f()", "____0 = call f; ____arg = ocTo ____0"},
      {"a == b ++ c", "____0 = ocEqual a, b; ____1 = ocComboStr ____0, c; ____arg = ocTo ____1"},
      {"a | b & c ^ d", "____0 = ocAnd b, c; ____1 = ocXor ____0, d; ____2 = ocOr a, ____1; ____arg = ocTo ____2"},
      {"a << 1 + 2", "____0 = ocPlus 1, 2; ____1 = ocShiftL a, ____0; ____arg = ocTo ____1"},
  };
  for (const Case& c : cases) EXPECT_EQ(Listing(c.text), c.listing) << c.text;
}

TEST(Compiler, DoubleByteNamesKeepTheirSecondBytes) {
  // The second byte of "ー" is "[" and that of "表" is "\": neither is an operator or an escape.
  const std::string name = Sjis("データ表");
  EXPECT_EQ(Listing(name + " = 1"), name + " = ocTo 1");
  EXPECT_EQ(Listing(name + "[2] = 1"), "____d_0 = ocDimTo " + name + ", 2; ____d_0 = ocTo 1");
  const std::string literal = Sjis("\"表\"");
  EXPECT_EQ(Listing("s = " + literal), "____0 = ocTo " + literal + "; s = ocTo ____0");
}

TEST(Compiler, SyntaxErrors) {
  const char* texts[] = {"a = ", "a +", "= 1", "* 2", "a + * b", "(a", "a)", "f(a", "f(a])", "f([a)",
                         "\"open", "a b = c d = e", "a = b = c", "[1]", "+[1]", "1 2 = 3 4 + 5 6 7 = 8"};
  for (const char* text : texts) {
    try {
      TBuildOrvaParser builder;
      builder.Compile(text);
      ADD_FAILURE() << text << " compiled: " << Listing(text);
    } catch (const EOrvaError& e) {
      EXPECT_STREQ(e.what(), "構文エラー") << text;
    }
  }
  try {
    TBuildOrvaParser builder;
    builder.Compile("a[]");
    ADD_FAILURE();
  } catch (const EOrvaError& e) {
    EXPECT_STREQ(e.what(), "配列の添え字が不正です");
  }
}

TEST(Compiler, DeepNestingNeedsNoDeepRecursion) {
  // Groups and calls are taken innermost first, so nesting never recurses deeply.
  const std::string deep = std::string(2000, '(') + "f(g(" + std::string(2000, '(') + "1" +
                           std::string(2000, ')') + "))" + std::string(2000, ')');
  TBuildOrvaParser builder;
  builder.Compile(deep);
  const std::string groups = std::string(2000, '(') + "1" + std::string(2000, ')');
  TParamCollection store;
  test::Evaluated run(store, groups);
  ASSERT_NE(run.parser.Result(), nullptr);
  EXPECT_EQ(run.parser.Result()->GetInt(), 1);
}

TEST(Compiler, SaveToChecksFunctionsAndClassifiesOperands) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"Nothing(1)", "\"Nothing\" 関数名がありません"},
      {"length(1)", "\"length\" 関数名がありません"},
      {"Length()", "Length 引数の数が不正です"},
      {"IntToStr(1, 2, 3)", "IntToStr 引数の数が不正です"},
  };
  for (const Case& c : cases) {
    TBuildOrvaParser builder;
    builder.Compile(c.text);
    ByteWriter w;
    try {
      builder.SaveTo(w);
      ADD_FAILURE() << c.text;
    } catch (const EOrvaError& e) {
      EXPECT_STREQ(e.what(), c.error);
    }
  }
  TOrvaParser p;
  CompileExpression("a = SetArray(x, 10, $1F, 2.5, TRUE, \"s\", name, \"\")", p);
  const TOpeData& call = p.Operation(p.Count() - 2);
  EXPECT_EQ(call.opcode, ocFunc);
  EXPECT_EQ(call.func_id, 21);
  // String literals have become temporaries by the time the call is made.
  const uint8_t expected_tags[] = {0, 1, 1, 2, 3, 0, 0, 0};
  ASSERT_EQ(call.read_tags.size(), std::size(expected_tags));
  for (size_t k = 0; k < std::size(expected_tags); ++k) EXPECT_EQ(call.read_tags[k], expected_tags[k]) << k;
  EXPECT_EQ(call.operands[2]->GetInt(), 31);
  EXPECT_EQ(call.operands[3]->GetFloat(), 2.5L);
  EXPECT_EQ(static_cast<const TParamVar&>(*call.operands[6]).Name(), "name");
}

// Compiling, writing and reading back gives the same operations; writing again gives the same bytes.
TEST(Records, CompiledRecordsRoundTrip) {
  const char* texts[] = {
      "a = 1 + 2 * 3",
      "x[i % 10, j] = x[i % 10, j] + i * 2",
      "s = s ++ \"x\\n\" ++ IntToStr(i, 3)",
      "f = (r * 1.0001 + 0.5) >= 1e3 | FALSE",
      "Calc(\"a = 1\") ++ Trim(\" b \")",
      "-a << -(b >> 2)",
  };
  for (const char* text : texts) {
    TBuildOrvaParser builder;
    builder.Compile(text);
    ByteWriter first;
    builder.SaveTo(first);
    TOrvaParser parser;
    ByteReader reader(first.Data());
    parser.LoadFrom(reader);
    EXPECT_TRUE(reader.AtEnd());
    ASSERT_EQ(parser.Count(), static_cast<int>(builder.Operations().size())) << text;
    for (int i = 0; i < parser.Count(); ++i) {
      const TOpeData& op = parser.Operation(i);
      const TBuildOpeData& built = builder.Operations()[static_cast<size_t>(i)];
      EXPECT_EQ(op.opcode, built.opcode);
      EXPECT_EQ(op.dest, built.dest);
      const size_t skip = op.opcode == ocFunc ? 1 : 0;
      ASSERT_EQ(op.operands.size() + skip, built.operands.size());
      for (size_t k = 0; k < op.operands.size(); ++k) {
        const std::string& t = built.operands[k + skip];
        const std::string seen = op.operands[k]->IsReference()
                                     ? static_cast<const TParamVar&>(*op.operands[k]).Name()
                                     : op.operands[k]->GetStr();
        if (op.operands[k]->VarType() == PT_STR) {
          EXPECT_EQ("\"" + seen + "\"", t);
        } else if (op.operands[k]->IsReference()) {
          EXPECT_EQ(seen, t);
        }
      }
    }
    ByteWriter second;
    parser.SaveTo(second);
    EXPECT_EQ(second.Data(), first.Data()) << text;
    TOrvaParser copy;
    copy.Clone(parser);
    ByteWriter third;
    copy.SaveTo(third);
    EXPECT_EQ(third.Data(), first.Data()) << text;
  }
}

}  // namespace
}  // namespace orva
