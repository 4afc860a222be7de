#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"

namespace orva {
namespace {

// "ア" is 0x83 0x41 and "ソ" is 0x83 0x5C: their trail bytes look like "A" and "\".
const std::string kA = "\x83\x41";
const std::string kSo = "\x83\x5C";

TEST(Sjis, TrailBytesFollowAnOddRunOfLeadBytes) {
  struct Case {
    std::string text;
    size_t index;
    bool trail;
  };
  const Case cases[] = {
      {"ab", 1, false},
      {kA, 0, false},
      {kA, 1, true},
      {kA + "A", 2, false},
      // Two lead-range bytes in a row: the second is the trail of the first.
      {"\x81\x81\x41", 1, true},
      {"\x81\x81\x41", 2, false},
      {"\x81\x81\x81\x41", 3, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sjis::IsTrailByteAt(c.text, c.index), c.trail) << c.index;
  }
}

TEST(Sjis, CaseMappingLeavesDoubleByteCharactersAlone) {
  EXPECT_EQ(sjis::AnsiUpperCase("abc" + kA + "z"), "ABC" + kA + "Z");
  EXPECT_EQ(sjis::AnsiLowerCase(kA + "Q"), kA + "q");
  // "ア" (83 41) and "ヂ" (83 61) differ only in a trail byte's "case": they are different names.
  EXPECT_FALSE(sjis::SameTextIgnoringCase("\x83\x41", "\x83\x61"));
  EXPECT_TRUE(sjis::SameTextIgnoringCase("Save" + kA, "sAVE" + kA));
  EXPECT_FALSE(sjis::SameTextIgnoringCase("ab", "abc"));
}

TEST(Sjis, PathDelimitersAreNeverTrailBytes) {
  const std::string path = "a\\" + kSo + "\\";
  EXPECT_TRUE(sjis::IsPathDelimiterAt(path, 1));
  EXPECT_FALSE(sjis::IsPathDelimiterAt(path, 3));
  EXPECT_TRUE(sjis::IsPathDelimiterAt(path, 4));
  EXPECT_FALSE(sjis::IsPathDelimiterAt("a/b", 1));
  EXPECT_TRUE(sjis::IsPathDelimiterAt("a/b", 1, true));
}

TEST(Encoding, Cp932AndUtf8ConvertBothWays) {
  EXPECT_EQ(Utf8ToCp932("情報"), "\x8F\xEE\x95\xF1");
  EXPECT_EQ(*TryCp932ToUtf8("\x8F\xEE\x95\xF1"), "情報");
  EXPECT_EQ(*TryCp932ToUtf8(kSo + "\\"), "ソ\\");
  // Half-width katakana are single bytes.
  EXPECT_EQ(*TryCp932ToUtf8("\xB1"), "ｱ");
  EXPECT_EQ(Utf8ToCp932(""), "");
}

TEST(Encoding, InvalidBytesAreRefusedOrReplacedForDisplay) {
  EXPECT_FALSE(TryCp932ToUtf8("a\x81").has_value());  // a lead byte without its trail
  EXPECT_FALSE(TryUtf8ToCp932("\xF0\x9F\x98\x80").has_value());  // an emoji has no CP932 form
  EXPECT_THROW(Utf8ToCp932("\xF0\x9F\x98\x80"), EOrvaError);
  EXPECT_EQ(Cp932ToUtf8("a\x81"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Cp932ToUtf8("\xA0x" + kA), "\xEF\xBF\xBDxア");
}

}  // namespace
}  // namespace orva
