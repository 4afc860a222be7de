#include "scenario/page_record.h"

#include <gtest/gtest.h>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"

namespace orva {
namespace {

// The record of "____arg = value": one assignment of an integer literal.
std::string IntExpression(int32_t value) {
  ByteWriter w;
  w.I32(1);
  w.U8(1);
  w.String("____arg");
  w.I32(1);
  w.U8(1);
  w.I32(value);
  return w.Take();
}

std::string EmptyExpression() { return std::string(4, '\0'); }

struct PageBuilder {
  int32_t version = 110;
  int32_t set_size = 21;
  std::vector<std::string> sets;  // by command type, each set_size bytes
  std::vector<std::string> commands;

  void Common(ByteWriter& w, uint8_t type_byte, int32_t line) {
    w.U8(type_byte);
    w.I32(0);  // indent
    w.U8(0);   // disabled
    w.U8(1);   // continue
    w.I32(line);
  }
  std::string Build() const {
    ByteWriter w;
    w.I32(version);
    w.U8(1);
    w.I32(static_cast<int32_t>(sets.size()));
    w.I32(set_size);
    for (const auto& s : sets) w.Chars(s);
    w.I32(static_cast<int32_t>(commands.size()));
    for (const auto& c : commands) w.Chars(c);
    return w.Take();
  }
};

TEST(PageRecord, PropertyBlocksFollowThePagesSetForTheType) {
  PageBuilder b;
  b.sets.assign(61, std::string(21, '\0'));
  b.sets[command_id::kBoxNew][0] = 0x19;  // PR_NAME (0), PR_LEFT (3), PR_TOP (4)
  ByteWriter c;
  b.Common(c, command_id::kBoxNew, 7);
  c.Chars(IntExpression(0) + IntExpression(3) + IntExpression(4));
  b.commands.push_back(c.Take());
  const std::string bytes = b.Build();
  const PageRecord page = ReadPageRecord(bytes);
  ASSERT_EQ(page.commands.size(), 1u);
  const auto& block = page.commands[0].fields.at(0).expressions;
  ASSERT_EQ(block.size(), 3u);
  EXPECT_EQ(block[0].property_id, 0);
  EXPECT_EQ(block[1].property_id, 3);
  EXPECT_EQ(block[2].property_id, 4);
  EXPECT_EQ(block[2].record, IntExpression(4));
  EXPECT_EQ(page.commands[0].line, 7);
  EXPECT_EQ(WritePageRecord(page), bytes);
}

TEST(PageRecord, SetSizesOtherThan21KeepTheFirst21BytesOrLeaveTheRestZero) {
  for (int32_t size : {25, 10}) {
    PageBuilder b;
    b.set_size = size;
    b.sets.assign(61, std::string(static_cast<size_t>(size), '\0'));
    b.sets[command_id::kBoxNew][0] = 0x01;
    b.sets[command_id::kBoxNew][9] = static_cast<char>(0x80);  // PR_TOP... id 79, never created here
    if (size > 21) b.sets[command_id::kBoxNew][22] = static_cast<char>(0xFF);  // beyond 21: ignored
    const PageRecord page = ReadPageRecord(b.Build());
    const PropertySet set = page.SetOf(command_id::kBoxNew);
    EXPECT_TRUE(HasProperty(set, 0));
    EXPECT_TRUE(HasProperty(set, 79));
    for (int i = 10; i < 21; ++i) EXPECT_EQ(set[static_cast<size_t>(i)], 0) << size;
    EXPECT_EQ(WritePageRecord(page), b.Build());
  }
}

TEST(PageRecord, TypeBytesAreMaskedAndFieldsFollowTheVersion) {
  for (int32_t version : {106, 107}) {
    PageBuilder b;
    b.version = version;
    ByteWriter call;
    b.Common(call, 0x85, 1);  // the top bit is ignored: id 5, Call
    call.String("sub.osb");
    call.I32(2);
    call.String("r");
    call.Chars(EmptyExpression());
    call.I32(1);
    call.Chars(IntExpression(9));
    b.commands.push_back(call.Take());
    ByteWriter wait;
    b.Common(wait, command_id::kWait, 2);
    wait.Chars(EmptyExpression() + IntExpression(100));
    if (version >= 107) wait.Chars(IntExpression(1));
    b.commands.push_back(wait.Take());
    const std::string bytes = b.Build();
    const PageRecord page = ReadPageRecord(bytes);
    EXPECT_EQ(page.commands[0].TypeId(), command_id::kCall);
    EXPECT_EQ(page.commands[0].fields[0].bytes, "sub.osb");
    EXPECT_EQ(page.commands[0].fields[4].expressions.size(), 1u);
    EXPECT_EQ(page.commands[1].fields.size(), version >= 107 ? 3u : 2u);
    EXPECT_EQ(WritePageRecord(page), bytes);
  }
}

TEST(PageRecord, PagesOutsideTheReadVersionsKeepTheirBody) {
  ByteWriter w;
  w.I32(111);
  w.Chars("anything at all");
  const PageRecord newer = ReadPageRecord(w.Data());
  EXPECT_TRUE(newer.commands.empty());
  EXPECT_EQ(WritePageRecord(newer), w.Data());
  ByteWriter old;
  old.I32(102);
  EXPECT_FALSE(ReadPageRecord(old.Data()).IsReadable());
}

TEST(PageRecord, DamagedPagesRaiseErrors) {
  PageBuilder b;
  ByteWriter calc;
  b.Common(calc, command_id::kCalc, 1);
  calc.Chars(IntExpression(5));
  b.commands.push_back(calc.Take());
  const std::string good = b.Build();
  for (size_t cut = 0; cut < good.size(); ++cut) {
    EXPECT_THROW(ReadPageRecord(std::string_view(good).substr(0, cut)), EOrvaError) << cut;
  }
  PageBuilder unknown;
  ByteWriter bad;
  unknown.Common(bad, 61, 1);
  unknown.commands.push_back(bad.Take());
  try {
    ReadPageRecord(unknown.Build());
    FAIL();
  } catch (const EOrvaError& e) {
    EXPECT_STREQ(e.what(), "不正なコマンド");
  }
  // Property sets that claim more bytes than the page holds.
  PageBuilder huge;
  huge.set_size = 0x7FFFFFFF;
  huge.sets.push_back("x");
  EXPECT_THROW(ReadPageRecord(huge.Build()), EOrvaError);
}

}  // namespace
}  // namespace orva
