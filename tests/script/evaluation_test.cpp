// Evaluating compiled expressions against the store.

#include <gtest/gtest.h>

#include "core/error.h"
#include "script/function_table.h"
#include "script/operations.h"
#include "script/param_types.h"
#include "script_support.h"

namespace orva {
namespace {

using test::AddFloat;
using test::AddInt;
using test::AddStr;
using test::Evaluated;

// Each case declares its variables, runs one expression and reads one variable as text.
struct EvalCase {
  const char* text;
  const char* var;
  const char* expected;
};

void Declare(TParamCollection& store) {
  AddInt(store, "i", 0);
  AddInt(store, "j", 0);
  AddFloat(store, "r", 0);
  AddStr(store, "s", "");
  store.AddNamedVar("f", PT_BOOL);
  AddInt(store, "b", 4);
  TParamCollectionItem* x = store.AddNamedVar("x", PT_INT);
  const int32_t dims[] = {3, 4};
  x->Value()->SetDims(dims);
  for (int32_t k = 0; k < 12; ++k) x->Value()->SetIntAt(k, k * 10);
}

TEST(Evaluation, OperatorsFollowTheTemporaryAndTheDestination) {
  const EvalCase cases[] = {
      {"i = 7 / 2", "i", "3"},
      {"i = -7 % 2", "i", "-1"},
      {"r = 7.0 / 2", "r", "3.5"},
      {"r = 2 / 4.0", "r", "0"},
      {"s = \"12\" + \"30\"", "s", "42"},
      {"s = \"12\" ++ \"30\"", "s", "1230"},
      {"i = 1 << 33", "i", "2"},
      {"i = -8 >> 1", "i", "2147483644"},
      {"i = 2147483647 + 1", "i", "-2147483648"},
      {"i = 65536 * 65536", "i", "0"},
      {"i = 6 | 3", "i", "7"},
      {"i = 6 & 3", "i", "2"},
      {"i = 6 ^ 3", "i", "5"},
      {"f = \"abc\" < \"abd\"", "f", "TRUE"},
      {"f = \"B\" < \"a\"", "f", "TRUE"},
      {"f = \"ab\" < \"abc\"", "f", "TRUE"},
      {"f = 1 == 1.5", "f", "TRUE"},
      {"f = 1.5 == 1", "f", "FALSE"},
      {"f = \"10\" < 9", "f", "TRUE"},
      {"f = TRUE > FALSE", "f", "TRUE"},
      {"f = 3 <> 3", "f", "FALSE"},
      {"f = 3 >= 3", "f", "TRUE"},
      {"i = 1 + 2 * 3", "i", "7"},
      {"i = (1 + 2) * 3", "i", "9"},
      {"i = -2 * 3", "i", "-6"},
      {"i = b * -b", "i", "-16"},
      {"i = 10 - -3", "i", "13"},
      {"i = 1 + +2", "i", "3"},
      {"i = 1 < 2 + 1", "i", "1"},
      {"i = 2 + 3 ++ 4", "i", "54"},
      {"i = x[1, 2]", "i", "60"},
      {"i = x[0, 5]", "i", "50"},
      {"i = x[b - 3, (1 + 1)]", "i", "60"},
      {"x[2, 3] = 7", "x", "0"},
      {"s = \"a\\\"b\\\\c\"", "s", "a\"b\\c"},
      {"s = \"line\\nnext\"", "s", "line\r\nnext"},
      {"r = 1e3 + $1F", "r", "1031"},
      {"s = 2 * 2.5", "s", "4"},
      {"s = 2.5 * 2", "s", "5"},
      {"r = 0.1 + 0.2", "r", "0.3"},
      {"s = TRUE", "s", "TRUE"},
      {"i = i", "i", "0"},
      {"i = (b + 5) * (b + 1)", "i", "45"},
      {"b = b * b + b", "b", "20"},
      {"s = s ++ s ++ \"y\"", "s", "y"},
  };
  // Every way of running an expression (looking each name up, bound names, typed plans) gives
  // the same results, the first time and again.
  for (bool fast : {true, false}) {
    TOrvaParser::SetFastPaths(fast);
    for (const EvalCase& c : cases) {
      TParamCollection store;
      Declare(store);
      Evaluated run(store, c.text);
      EXPECT_EQ(store.FindVar(c.var)->Value()->GetStr(), c.expected) << c.text << " fast=" << fast;
      EXPECT_EQ(store.Count(), 49 + 7) << c.text << ": temporaries must be gone";
      run.parser.Execute(store);
      // Expressions that read what they write (i = i + ...) may give another value the second time.
      const std::string_view text(c.text);
      if (text.find(c.var, text.find('=') + 1) == std::string_view::npos) {
        EXPECT_EQ(store.FindVar(c.var)->Value()->GetStr(), c.expected) << c.text << " again, fast=" << fast;
      }
    }
  }
  TOrvaParser::SetFastPaths(true);
}

TEST(Evaluation, ElementAssignmentWritesThrough) {
  TParamCollection store;
  Declare(store);
  Evaluated run(store, "x[2, 3] = x[0, 1] + 5");
  EXPECT_EQ(store.FindVar("x")->Value()->GetIntAt(11), 15);
  EXPECT_EQ(store.FindVar("x")->Value()->Count(), 12);
}

TEST(Evaluation, ErrorsStopAtTheFailingOperationAndKeepEarlierEffects) {
  struct Case {
    const char* text;
    const char* var;
    const char* expected;
  };
  const Case cases[] = {
      {"i = 5", "i", "5"},
      {"i = x[3, 0]", "i", "0"},            // beyond the element count
      {"i = x[1]", "i", "0"},               // wrong number of indices
      {"i = x[0, -1]", "i", "0"},           // negative flat index fails when used
      {"i = 1 / 0", "i", "0"},
      {"i = 1 % 0", "i", "0"},
      {"r = 1.0 / 0", "r", "0"},
      {"r = 1e4000 * 1e4000", "r", "0"},
      {"i = -2147483648 / -1", "i", "0"},
      {"i = missing + 1", "i", "0"},
  };
  for (bool fast : {true, false}) {
    TOrvaParser::SetFastPaths(fast);
    for (const Case& c : cases) {
      TParamCollection store;
      Declare(store);
      Evaluated run(store, c.text);
      run.parser.Execute(store);
      EXPECT_EQ(store.FindVar(c.var)->Value()->GetStr(), c.expected) << c.text << " fast=" << fast;
      EXPECT_EQ(store.Count(), 49 + 7) << c.text;
      EXPECT_EQ(run.parser.Result(), nullptr) << c.text;
    }
  }
  TOrvaParser::SetFastPaths(true);
  // The operations compiled from the text run in order: the first assignment stays done.
  TParamCollection store;
  Declare(store);
  TOrvaParser p;
  TOpeData first;
  first.opcode = ocTo;
  first.dest = "i";
  first.operands.push_back(NewParam(PT_INT));
  first.operands.back()->SetInt(9);
  p.AddOperation(std::move(first));
  TOpeData second;
  second.opcode = ocTo;
  second.dest = "nothing";
  second.operands.push_back(NewParam(PT_INT));
  p.AddOperation(std::move(second));
  p.Execute(store);
  EXPECT_EQ(store.FindVar("i")->Value()->GetInt(), 9);
}

TEST(Evaluation, ResultComesOnlyFromTheExpressionValue) {
  TParamCollection store;
  Declare(store);
  Evaluated value(store, "1 + 2");
  ASSERT_NE(value.parser.Result(), nullptr);
  EXPECT_EQ(value.parser.Result()->VarType(), PT_INT);
  EXPECT_EQ(value.parser.Result()->GetInt(), 3);
  Evaluated text(store, "\"a\" ++ 1.5");
  ASSERT_NE(text.parser.Result(), nullptr);
  EXPECT_EQ(text.parser.Result()->GetStr(), "a1.5");
  Evaluated assignment(store, "i = 3");
  EXPECT_EQ(assignment.parser.Result(), nullptr);
  // Evaluating again replaces the result.
  store.FindVar("b")->Value()->SetInt(10);
  Evaluated again(store, "b");
  EXPECT_EQ(again.parser.Result()->GetInt(), 10);
  store.FindVar("b")->Value()->SetInt(11);
  again.parser.Execute(store);
  EXPECT_EQ(again.parser.Result()->GetInt(), 11);
}

TEST(Evaluation, AVariableNamedLikeATemporaryIsUsedInItsPlace) {
  TParamCollection store;
  Declare(store);
  AddStr(store, "____0", "");
  Evaluated run(store, "i = 1 + 2");
  EXPECT_EQ(store.FindVar("i")->Value()->GetInt(), 3);
  // The sum went through the existing string variable, which stays.
  EXPECT_EQ(store.FindVar("____0")->Value()->GetStr(), "3");
}

TEST(Evaluation, RebindsWhenTheStoreChanges) {
  TParamCollection store;
  Declare(store);
  TOrvaParser p;
  CompileExpression("i = i + b", p);
  p.Execute(store);
  EXPECT_EQ(store.FindVar("i")->Value()->GetInt(), 4);
  // A local b of the current depth now hides the global one.
  store.SetCurrentFrame(1);
  TParamCollectionItem* local = AddInt(store, "b", 100);
  local->SetFrame(1);
  local->SetLocal(true);
  p.Execute(store);
  EXPECT_EQ(store.FindVar("i")->Value()->GetInt(), 104);
  store.SetCurrentFrame(0);
  p.Execute(store);
  EXPECT_EQ(store.FindVar("i")->Value()->GetInt(), 108);
  store.FreeFrame(1);
  store.DeleteVar(store.FindVar("b"));
  p.Execute(store);  // b is gone: the expression stops
  EXPECT_EQ(store.FindVar("i")->Value()->GetInt(), 108);
}

// A stand-in for Calc: compiles its text and runs it in the same store.
class CalcFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    functions_.SetHandler(kCalcFunction, [](FunctionCall& call) {
      const std::string text = call.args.empty() ? std::string() : call.args[0]->GetStr();
      TOrvaParser inner;
      CompileExpression(text, inner);
      inner.Execute(call.store);
      if (!text.empty()) call.dest.SetBool(true);
    });
    store_.SetFunctions(&functions_);
    Declare(store_);
  }
  TFunctionDispatch functions_;
  TParamCollection store_;
};

TEST_F(CalcFixture, NestedEvaluationSeesTheOuterTemporaries) {
  Evaluated run(store_, "s = Calc(\"s = ____0\")");
  // The inner expression read the outer literal's temporary; the outer then stored "TRUE".
  EXPECT_EQ(store_.FindVar("s")->Value()->GetStr(), "TRUE");
  AddStr(store_, "t", "");
  Evaluated inner(store_, "i = Calc(\"t = ____0\")");
  EXPECT_EQ(store_.FindVar("t")->Value()->GetStr(), "t = ____0");
  EXPECT_EQ(store_.FindVar("i")->Value()->GetInt(), 0);  // "TRUE" is no integer text
  EXPECT_EQ(store_.Count(), 49 + 8);
}

TEST_F(CalcFixture, SiblingCallsRunTheLaterFirst) {
  functions_.SetHandler(kCalcFunction, [](FunctionCall& call) {
    TParamCollectionItem* log = call.store.FindVar("s");
    log->Value()->SetStr(log->Value()->GetStr() + call.args[0]->GetStr());
  });
  Evaluated run(store_, "i = Calc(\"f\") + Calc(\"g\")");
  EXPECT_EQ(store_.FindVar("s")->Value()->GetStr(), "gf");
}

TEST_F(CalcFixture, EndlessNestingStopsAtTheDepthLimit) {
  AddStr(store_, "loop", "Calc(loop)");
  Evaluated run(store_, "Calc(loop)");
  EXPECT_EQ(store_.EvaluationDepth(), 0);
  EXPECT_EQ(store_.Count(), 49 + 8);
}

TEST(Evaluation, MissingHandlersAndUnknownIdsDoNothing) {
  TParamCollection store;
  Declare(store);
  TFunctionDispatch functions;
  store.SetFunctions(&functions);
  Evaluated run(store, "i = Length(\"abc\") + 1");
  EXPECT_EQ(store.FindVar("i")->Value()->GetInt(), 1);
  TOrvaParser p;
  TOpeData op;
  op.opcode = ocFunc;
  op.func_id = 200;
  op.dest = "____0";
  p.AddOperation(std::move(op));
  TOpeData odd;
  odd.opcode = 77;
  odd.dest = "i";
  p.AddOperation(std::move(odd));
  p.Execute(store);
  EXPECT_EQ(store.Count(), 49 + 7);
}

TEST(Evaluation, GetPropTypesItsTemporaryByProperty) {
  TParamCollection store;
  Declare(store);
  TFunctionDispatch functions;
  functions.SetHandler(kGetPropFunction, [](FunctionCall& call) { call.dest.SetStr("12.5"); });
  store.SetFunctions(&functions);
  Evaluated name(store, "s = GetProp(\"c\", 0) ++ \"\"");   // PR_NAME: string
  EXPECT_EQ(store.FindVar("s")->Value()->GetStr(), "12.5");
  Evaluated left(store, "s = GetProp(\"c\", 3) ++ \"\"");   // PR_LEFT: integer, "12.5" is no integer text
  EXPECT_EQ(store.FindVar("s")->Value()->GetStr(), "0");
  Evaluated param(store, "s = GetProp(\"c\", 95) ++ \"\"");  // PR_PARAM1: real
  EXPECT_EQ(store.FindVar("s")->Value()->GetStr(), "12.5");
  store.FindVar("s")->Value()->SetStr("kept");
  Evaluated bad(store, "s = GetProp(\"c\", 162)");
  EXPECT_EQ(store.FindVar("s")->Value()->GetStr(), "kept");
}

TEST(Evaluation, MalformedOperationsMakeTheirError) {
  TParamCollection store;
  TOrvaParser p;
  TOpeData op;
  op.opcode = ocNone;
  op.dest = "____0";
  op.operands.push_back(NewParam(PT_STR));
  op.operands.back()->SetStr("x");
  p.AddOperation(std::move(op));
  p.Execute(store);
  EXPECT_EQ(store.Count(), 49);
  try {
    TOpeData again;
    again.opcode = ocNone;
    again.dest = "____0";
    again.operands.push_back(NewParam(PT_STR));
    again.operands.back()->SetStr("x");
    TempTypeFor(again);
    FAIL();
  } catch (const EOrvaError& e) {
    EXPECT_STREQ(e.what(), "不正な式\r\n\r\n代入先:____0演算タイプ:ocNone\r\nx");
  }
}

}  // namespace
}  // namespace orva
