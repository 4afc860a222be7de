// Values: the conversion table, the text rules, shapes and element access.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "script/param_types.h"
#include "script/value_text.h"
#include "script_support.h"

namespace orva {
namespace {

TEST(IntegerText, FollowsTheRule) {
  struct Case {
    const char* text;
    std::optional<int32_t> expected;
  };
  const Case cases[] = {
      {"12", 12},         {"  12", 12},     {"-12", -12},       {"+7", 7},
      {"$1F", 31},        {"0x1F", 31},     {"0X1f", 31},       {"x1F", 31},
      {"-$10", -16},      {"2147483647", 2147483647},           {"-2147483648", std::numeric_limits<int32_t>::min()},
      {"2147483648", {}}, {"$80000000", {}}, {"-$80000000", std::numeric_limits<int32_t>::min()},
      {"12abc", {}},      {"12 ", {}},      {"", {}},           {"   ", {}},
      {"-", {}},          {"$", {}},        {"3.9", {}},        {"1e3", {}},
      {"99999999999999999999", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseIntText(c.text), c.expected) << c.text;
}

TEST(RealText, FollowsTheRule) {
  struct Case {
    const char* text;
    std::optional<long double> expected;
  };
  const Case cases[] = {
      {"2.5", 2.5L}, {" -2.5 ", -2.5L}, {"+1e3", 1000.0L}, {"1E-2", 0.01L}, {".5", 0.5L}, {"5.", 5.0L},
      {"12", 12.0L}, {"", {}},          {".", {}},         {"1e", {}},     {"1.2.3", {}}, {"$1F", {}},
      {"1,5", {}},   {"inf", {}},       {"nan", {}},       {"1e99999", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseRealText(c.text), c.expected) << c.text;
}

TEST(RealText, PrintsFifteenSignificantDigitsAndTheShortEForm) {
  struct Case {
    long double value;
    const char* text;
  };
  const Case cases[] = {
      {2.5L, "2.5"},          {3.0L, "3"},           {-0.125L, "-0.125"},     {0.0L, "0"},
      {1e20L, "1E20"},        {0.0001L, "0.0001"},   {0.00001L, "1E-5"},      {1.5e-5L, "1.5E-5"},
      {1e15L, "1E15"},        {1e14L, "100000000000000"},                    {123456789012345.0L, "123456789012345"},
      {1.0L / 3, "0.333333333333333"},               {2.0L / 3, "0.666666666666667"},
      {-1e-10L, "-1E-10"},    {1234.5678L, "1234.5678"},                     {0.1L, "0.1"},
      {999999999999999.9L, "1E15"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatReal(c.value), c.text);
}

TEST(Conversions, FollowTheTable) {
  TParamInt i;
  i.SetStr("12abc");
  EXPECT_EQ(i.GetInt(), 0);
  i.SetStr(" 12");
  EXPECT_EQ(i.GetInt(), 12);
  i.SetStr("$1F");
  EXPECT_EQ(i.GetInt(), 31);
  i.SetStr("3.9");
  EXPECT_EQ(i.GetInt(), 0);
  i.SetFloat(-2.7L);
  EXPECT_EQ(i.GetInt(), -2);
  i.SetBool(true);
  EXPECT_EQ(i.GetInt(), 1);
  i.SetInt(-42);
  EXPECT_EQ(i.GetStr(), "-42");
  EXPECT_TRUE(i.GetBool());

  TParamFlag f;
  f.SetFloat(0.0L);
  EXPECT_FALSE(f.GetBool());
  f.SetStr("true");
  EXPECT_FALSE(f.GetBool());
  f.SetStr("TRUE");
  EXPECT_TRUE(f.GetBool());
  EXPECT_EQ(f.GetStr(), "TRUE");
  EXPECT_EQ(f.GetFloat(), 1.0L);

  TParamFloat r;
  r.SetFloat(1e20L);
  EXPECT_EQ(r.GetStr(), "1E20");
  r.SetStr(" 2.5 ");
  EXPECT_EQ(r.GetFloat(), 2.5L);
  r.SetStr("abc");
  EXPECT_EQ(r.GetFloat(), 0.0L);
  // Truncation to 64 bits keeps the low 32.
  r.SetFloat(4294967301.9L);
  EXPECT_EQ(r.GetInt(), 5);

  TParamStr s;
  s.SetBool(false);
  EXPECT_EQ(s.GetStr(), "FALSE");
  s.SetFloat(0.5L);
  EXPECT_EQ(s.GetStr(), "0.5");
  EXPECT_EQ(s.GetFloat(), 0.5L);
  EXPECT_EQ(s.GetInt(), 0);
}

TEST(Shapes, RowMajorAndScalarWritesDropTheShape) {
  TParamInt a;
  const int32_t dims[] = {3, 4};
  a.SetDims(dims);
  EXPECT_EQ(a.Count(), 12);
  EXPECT_EQ(a.DimCount(), 2);
  EXPECT_EQ(a.GetDim(1), 4);
  EXPECT_EQ(a.GetDim(5), 1);
  a.SetIntAt(1 * 4 + 2, 99);
  EXPECT_EQ(a.GetIntAt(6), 99);
  a.SetInt(5);
  EXPECT_EQ(a.Count(), 1);
  EXPECT_TRUE(a.Dims().empty());
  EXPECT_EQ(a.GetInt(), 5);
}

TEST(Shapes, BadShapesAndIndicesFailWithTheirMessages) {
  TParamStr a;
  const int32_t bad[] = {2, 0};
  try {
    a.SetDims(bad);
    FAIL();
  } catch (const EOrvaError& e) {
    EXPECT_STREQ(e.what(), "配列の要素数[2,0]が不正です");
  }
  // A shape beyond what the player holds is refused the same way, before allocating.
  const int32_t huge[] = {65536, 65536};
  EXPECT_THROW(a.SetDims(huge), EOrvaError);
  EXPECT_EQ(a.Count(), 1);
  for (int32_t index : {-1, 1}) {
    try {
      a.SetStrAt(index, "x");
      FAIL();
    } catch (const EOrvaError& e) {
      EXPECT_STREQ(e.what(), "配列の添字が不正です");
    }
  }
  EXPECT_EQ(a.GetStr(), "");
}

TEST(Shapes, SetCountKeepsElementsAndConvertFromConverts) {
  TParamInt a;
  const int32_t dims[] = {2, 2};
  a.SetDims(dims);
  for (int32_t i = 0; i < 4; ++i) a.SetIntAt(i, i + 1);
  a.SetCount(6);
  EXPECT_EQ(a.GetIntAt(3), 4);
  EXPECT_EQ(a.GetIntAt(5), 0);
  TParamStr s;
  s.ConvertFrom(a);
  EXPECT_EQ(s.DimCount(), 2);
  EXPECT_EQ(s.Count(), 4);
  EXPECT_EQ(s.GetStrAt(3), "4");
}

TEST(CopyFrom, NeedsTheSameClass) {
  TParamInt a;
  TParamInt b;
  const int32_t dims[] = {3};
  b.SetDims(dims);
  b.SetIntAt(2, 7);
  a.CopyFrom(b);
  EXPECT_EQ(a.Count(), 3);
  EXPECT_EQ(a.GetIntAt(2), 7);
  TParamStr s;
  try {
    s.CopyFrom(a);
    FAIL();
  } catch (const EOrvaError& e) {
    EXPECT_STREQ(e.what(), "CopyMem:変数の型があいません");
  }
}

TEST(FindStr, ExactCaseInsensitiveAndPartial) {
  TParamStr a;
  const int32_t dims[] = {3};
  a.SetDims(dims);
  a.SetStrAt(0, "apple");
  a.SetStrAt(1, "Banana");
  a.SetStrAt(2, "cherry");
  EXPECT_EQ(a.FindStr("banana", true, false), -1);
  EXPECT_EQ(a.FindStr("banana", false, false), 1);
  EXPECT_EQ(a.FindStr("ERR", false, true), 2);
  EXPECT_EQ(a.FindStr("ERR", true, true), -1);
  EXPECT_EQ(a.FindStr("", true, true), 0) << "an empty text is part of every element";
  EXPECT_EQ(a.FindStr("rry", true, true), 2);
  EXPECT_EQ(a.FindStr("cherry!", true, true), -1);
  TParamInt n;
  n.SetInt(42);
  EXPECT_EQ(n.FindStr("42", true, false), 0);
}

TEST(ValueRecords, RoundTripEveryClass) {
  TParamCollection store;
  std::vector<std::unique_ptr<TCustomParam>> values;
  for (uint8_t type = PT_INT; type <= PT_STR; ++type) {
    auto v = NewParam(type);
    const int32_t dims[] = {2, 3};
    v->SetDims(dims);
    v->SetStrAt(4, "1");
    values.push_back(std::move(v));
  }
  for (const auto& v : values) {
    ByteWriter w;
    v->WriteTo(w);
    auto copy = NewParam(v->VarType());
    ByteReader r(w.Data());
    copy->ReadFrom(r, &store);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(copy->Dims(), v->Dims());
    EXPECT_EQ(copy->GetStrAt(4), v->GetStrAt(4));
  }
}

TEST(ValueRecords, CountsBeyondTheBytesLeftAreRefused) {
  // D = 1, dims {1}, N = 1000 with four bytes present.
  const std::string bytes("\x01\x00\x00\x00\x01\x00\x00\x00\xE8\x03\x00\x00\x01\x00\x00\x00", 16);
  TParamInt v;
  ByteReader r(bytes);
  EXPECT_THROW(v.ReadFrom(r, nullptr), EOrvaError);
  EXPECT_EQ(v.Count(), 1);
}

}  // namespace
}  // namespace orva
