// The bounds-checked reader and the writer, fed from one table so the two cannot drift.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"

namespace orva {
namespace {

std::string Hex(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

struct RecordCase {
  const char* what;
  std::function<void(ByteWriter&)> write;
  std::function<void(ByteReader&)> read_and_check;
  std::string bytes;
};

TEST(ByteRecords, ReaderAndWriterAgreeOnEveryRecordKind) {
  const std::vector<RecordCase> cases = {
      {"u8", [](ByteWriter& w) { w.U8(0xAB); }, [](ByteReader& r) { EXPECT_EQ(r.U8(), 0xAB); }, Hex({0xAB})},
      {"i16 negative", [](ByteWriter& w) { w.I16(-2); }, [](ByteReader& r) { EXPECT_EQ(r.I16(), -2); },
       Hex({0xFE, 0xFF})},
      {"i32 little-endian", [](ByteWriter& w) { w.I32(0x12345678); },
       [](ByteReader& r) { EXPECT_EQ(r.I32(), 0x12345678); }, Hex({0x78, 0x56, 0x34, 0x12})},
      {"i32 minimum", [](ByteWriter& w) { w.I32(std::numeric_limits<int32_t>::min()); },
       [](ByteReader& r) { EXPECT_EQ(r.I32(), std::numeric_limits<int32_t>::min()); }, Hex({0, 0, 0, 0x80})},
      {"i64", [](ByteWriter& w) { w.I64(-0x0102030405060708LL); },
       [](ByteReader& r) { EXPECT_EQ(r.I64(), -0x0102030405060708LL); },
       Hex({0xF8, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE})},
      {"string", [](ByteWriter& w) { w.String("ab"); }, [](ByteReader& r) { EXPECT_EQ(r.String(), "ab"); },
       Hex({2, 0, 0, 0, 'a', 'b'})},
      {"empty string", [](ByteWriter& w) { w.String(""); }, [](ByteReader& r) { EXPECT_EQ(r.String(), ""); },
       Hex({0, 0, 0, 0})},
      {"extended 1.0", [](ByteWriter& w) { w.Extended(1.0L); },
       [](ByteReader& r) { EXPECT_EQ(r.Extended(), 1.0L); },
       Hex({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
      {"extended -2.5", [](ByteWriter& w) { w.Extended(-2.5L); },
       [](ByteReader& r) { EXPECT_EQ(r.Extended(), -2.5L); },
       Hex({0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ByteWriter w;
    c.write(w);
    EXPECT_EQ(w.Data(), c.bytes);
    ByteReader r(c.bytes);
    c.read_and_check(r);
    EXPECT_TRUE(r.AtEnd());
  }
}

TEST(ByteRecords, NegativeStringCountMeansEmptyAndReadsNoBytes) {
  const std::string bytes = Hex({0xFF, 0xFF, 0xFF, 0xFF, 'x'});
  ByteReader r(bytes);
  EXPECT_EQ(r.String(), "");
  EXPECT_EQ(r.U8(), 'x');
}

TEST(ByteRecords, TruncatedReadsRaiseWithoutMovingPastTheEnd) {
  const std::string two_bytes = Hex({1, 2});
  const std::vector<std::pair<const char*, std::function<void(ByteReader&)>>> reads = {
      {"u32", [](ByteReader& r) { r.U32(); }},
      {"u64", [](ByteReader& r) { r.U64(); }},
      {"extended", [](ByteReader& r) { r.Extended(); }},
      {"string count", [](ByteReader& r) { r.String(); }},
      {"bytes", [](ByteReader& r) { r.Bytes(3); }},
      {"skip", [](ByteReader& r) { r.Skip(3); }},
  };
  for (const auto& [what, read] : reads) {
    SCOPED_TRACE(what);
    ByteReader r(two_bytes);
    EXPECT_THROW(read(r), EOrvaError);
    EXPECT_EQ(r.Position(), 0u);
  }
  // A string whose count claims more than is present.
  const std::string long_claim = Hex({0x00, 0x00, 0x00, 0x7F, 'a'});
  ByteReader r(long_claim);
  EXPECT_THROW(r.String(), EOrvaError);
}

TEST(ByteRecords, TruncationMessageNamesOffsetAndNeed) {
  const std::string bytes = Hex({1, 2, 3, 4, 5, 6});
  ByteReader r(bytes);
  r.Skip(4);
  try {
    r.U32();
    FAIL() << "no error";
  } catch (const EOrvaError& e) {
    EXPECT_STREQ(e.what(), "damaged data: 4 bytes needed at offset 4, only 2 left");
  }
}

TEST(ByteRecords, CountsAreCheckedAgainstTheBytesLeft) {
  // Three records of at least 4 bytes need 12 bytes after the count.
  ByteWriter w;
  w.I32(3);
  w.Chars(std::string(12, 'x'));
  {
    ByteReader r(w.Data());
    EXPECT_EQ(r.Count(4), 3);
  }
  {
    ByteReader r(std::string_view(w.Data()).substr(0, 15));
    EXPECT_THROW(r.Count(4), EOrvaError);  // one byte short of the last record
  }
  const std::string negative = Hex({0xFF, 0xFF, 0xFF, 0xFF});
  ByteReader r(negative);
  EXPECT_THROW(r.Count(1), EOrvaError);
}

TEST(ByteRecords, SeekRefusesPositionsBeyondTheData) {
  const std::string bytes = Hex({1, 2, 3});
  ByteReader r(bytes);
  r.Seek(3);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_THROW(r.Seek(4), EOrvaError);
}

}  // namespace
}  // namespace orva
