// Expression records read from files: damaged ones raise one clear error, unknown tags read as
// references, and whatever a record holds evaluates without faulting.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "script/param_var.h"
#include "script_support.h"

namespace orva {
namespace {

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(ORVA_TEST_DATA_DIR) + "/malformed/" + name, std::ios::binary);
  EXPECT_TRUE(in.good()) << name;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(MalformedRecords, EachRaisesItsError) {
  struct Case {
    const char* file;
    const char* message;
  };
  const Case cases[] = {
      {"expression_record-huge-count.bin",
       "damaged data: a count of 100000 at offset 0 does not fit the 1 bytes left"},
      {"expression_record-negative-count.bin", "damaged data: a count of -5 at offset 0 does not fit the 0 bytes left"},
      {"expression_record-huge-operands.bin", "damaged data: a count of 50 at offset 10 does not fit the 0 bytes left"},
      {"expression_record-truncated-string.bin", "damaged data: 40 bytes needed at offset 19, only 3 left"},
      {"expression_record-truncated-real.bin", "damaged data: 10 bytes needed at offset 15, only 6 left"},
  };
  for (const Case& c : cases) {
    const std::string bytes = ReadFixture(c.file);
    TOrvaParser parser;
    CompileExpression("a = 1", parser);
    ByteReader reader(bytes);
    try {
      parser.LoadFrom(reader);
      ADD_FAILURE() << c.file;
    } catch (const EOrvaError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.file;
    }
    EXPECT_EQ(parser.Count(), 0) << c.file;
  }
}

TEST(Records, UnknownTagsReadAsReferences) {
  ByteWriter w;
  w.I32(1);
  w.U8(1);  // ocTo
  w.String("a");
  w.I32(1);
  w.U8(9);  // no such tag
  w.String("b");
  TOrvaParser parser;
  ByteReader reader(w.Data());
  parser.LoadFrom(reader);
  EXPECT_TRUE(reader.AtEnd());
  const TOpeData& op = parser.Operation(0);
  ASSERT_TRUE(op.operands[0]->IsReference());
  EXPECT_EQ(static_cast<const TParamVar&>(*op.operands[0]).Name(), "b");
  EXPECT_EQ(op.read_tags[0], 9);
  TParamCollection store;
  test::AddInt(store, "a", 0);
  test::AddInt(store, "b", 6);
  parser.Execute(store);
  EXPECT_EQ(store.FindVar("a")->Value()->GetInt(), 6);
}

TEST(Records, OddOperationsEvaluateWithoutFaulting) {
  // Operations a compiler never makes: too few operands, a function id beyond the table, an
  // element reference without indices, opcodes past the last.
  struct Odd {
    uint8_t opcode;
    const char* dest;
    int operands;
    uint8_t func_id;
  };
  const Odd odds[] = {{ocPlus, "____0", 0, 0}, {ocDiv, "a", 1, 0},      {ocFunc, "____1", 0, 250},
                      {ocFunc, "____2", 1, 2}, {ocDimTo, "____d_3", 1, 0}, {ocDimTo, "____d_4", 0, 0},
                      {21, "____5", 2, 0},     {255, "a", 0, 0},        {ocTo, "____6", 0, 0},
                      {ocComboStr, "a", 1, 0}, {ocEqual, "____7", 0, 0}};
  TParamCollection store;
  test::AddInt(store, "a", 3);
  for (const Odd& odd : odds) {
    TOrvaParser parser;
    TOpeData op;
    op.opcode = odd.opcode;
    op.dest = odd.dest;
    op.func_id = odd.func_id;
    for (int k = 0; k < odd.operands; ++k) op.operands.push_back(std::make_unique<TParamVar>("a"));
    parser.AddOperation(std::move(op));
    parser.Execute(store);
    ByteWriter w;
    parser.SaveTo(w);
    EXPECT_EQ(store.Count(), 50);
  }
}

}  // namespace
}  // namespace orva
