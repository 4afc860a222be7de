// Character-aware text routines and the half-width / full-width conversions.

#include <gtest/gtest.h>

#include "core/error.h"
#include "script/japanese_text.h"
#include "script_support.h"

namespace orva {
namespace {

using test::Sjis;

TEST(JapaneseText, CountsAndAddressesCharacters) {
  const std::string s = Sjis("日本語ab");
  EXPECT_EQ(CharCount(s), 5);
  EXPECT_EQ(CharAt(s, 1), 0x93FAu);  // 日
  EXPECT_EQ(CharAt(s, 4), static_cast<uint32_t>('a'));
  EXPECT_EQ(BytePos(s, 4), 7);
  EXPECT_EQ(BytePos(s, 6), 9);
  EXPECT_EQ(BytePos(s, 7), 0);
  EXPECT_THROW(CharAt(s, 6), EOrvaError);
  // "ソ" ends in 0x5C: the second byte, not a backslash character.
  const std::string so = Sjis("ソ");
  EXPECT_FALSE(IsTrailByte(so, 1));
  EXPECT_TRUE(IsTrailByte(so, 2));
  EXPECT_THROW(IsTrailByte(so, 0), EOrvaError);
  EXPECT_THROW(IsTrailByte(so, 3), EOrvaError);
}

TEST(JapaneseText, ALoneFirstByteAtTheEndIsOneCharacter) {
  const std::string s = Sjis("字") + "a\x93";
  EXPECT_EQ(CharCount(s), 3);
  EXPECT_EQ(CharAt(s, 3), 0x93u);
  EXPECT_THROW(CharAt(s, 4), EOrvaError);
  EXPECT_THROW(CharAt(s, 0), EOrvaError);
  EXPECT_EQ(BytePos(s, 3), 4);
  EXPECT_EQ(BytePos(s, 4), 5);
  EXPECT_EQ(BytePos(s, 5), 0);
  EXPECT_EQ(CharCopy(s, 2, 9), "a\x93");
  EXPECT_EQ(CharDelete(s, 3, 1), Sjis("字") + "a");
  EXPECT_EQ(CharInsert("x", s, 4), s + "x");
  EXPECT_EQ(CharTrim(" \x93"), "\x93");
  EXPECT_EQ(CharTrim(" \x93 "), "\x93 ") << "a first byte takes the space after it as its second";
}

TEST(JapaneseText, CopyDeleteInsertPos) {
  const std::string kana = Sjis("ｱｲｳ");
  EXPECT_EQ(CharCopy(kana, 2, 5), Sjis("ｲｳ"));
  const std::string two = Sjis("漢字");
  EXPECT_EQ(CharCopy(two, 2, 1), Sjis("字"));
  EXPECT_EQ(CharCopy(two, 0, 2), Sjis("漢"));
  EXPECT_EQ(CharCopy(two, 3, 1), "");
  EXPECT_EQ(CharCopy(two, 1, 0), "");
  EXPECT_EQ(CharDelete(Sjis("あいう"), 2, 1), Sjis("あう"));
  EXPECT_EQ(CharDelete(Sjis("あいう"), 0, 1), Sjis("いう"));
  EXPECT_EQ(CharDelete(Sjis("あいう"), 3, 9), Sjis("あい"));
  EXPECT_EQ(CharDelete(Sjis("あいう"), 4, 1), Sjis("あいう"));
  EXPECT_EQ(CharInsert("x", Sjis("あい"), 2), Sjis("あxい"));
  EXPECT_EQ(CharInsert("x", Sjis("あい"), -3), Sjis("xあい"));
  EXPECT_EQ(CharInsert("x", Sjis("あい"), 9), Sjis("あいx"));
}

TEST(JapaneseText, TrimAndSplit) {
  EXPECT_EQ(CharTrim(Sjis("　 abc\t")), "abc\t");
  EXPECT_EQ(CharTrim(Sjis(" 文字　")), Sjis("文字"));
  EXPECT_EQ(CharTrim(Sjis("　　")), "");
  // A second byte 0x40 after a lead byte other than 0x81 is not a space.
  EXPECT_EQ(CharTrim(Sjis("ァ")), Sjis("ァ"));
  std::string s = Sjis("表,b,c");
  EXPECT_EQ(SplitFirst(s, "\\,"), Sjis("表"));
  EXPECT_EQ(s, "b,c");
  EXPECT_EQ(SplitFirst(s, ";"), "b,c");
  EXPECT_EQ(s, "");
}

TEST(JapaneseText, HalfAndFullWidth) {
  struct Case {
    const char* han;
    const char* zen;
  };
  const Case both_ways[] = {
      {"ｶﾞｷﾞ", "ガギ"}, {"ﾊﾟ", "パ"},   {"A1 z", "Ａ１　ｚ"}, {"｡｢｣､･", "。「」、・"}, {"ｰｯｧ", "ーッァ"},
      {"\"'\\`~", "”’￥‘～"}, {"ﾞﾟ", "゛゜"}, {"ﾎﾟﾎﾞﾎ", "ポボホ"},
  };
  for (const Case& c : both_ways) {
    EXPECT_EQ(HanToZen(Sjis(c.han)), Sjis(c.zen)) << c.han;
    EXPECT_EQ(ZenToHan(Sjis(c.zen)), Sjis(c.han)) << c.zen;
  }
  EXPECT_EQ(HanToZen(Sjis("ｳﾞ")), Sjis("ウ゛"));
  EXPECT_EQ(HanToZen(Sjis("a\r\nb")), Sjis("ａｂ"));
  EXPECT_EQ(HanToZen(Sjis("漢ｱ")), Sjis("漢ア"));
  EXPECT_EQ(ZenToHan(Sjis("“")), "\"");
  EXPECT_EQ(ZenToHan(Sjis("あヴヵヶヮ漢x")), Sjis("あヴヵヶヮ漢x"));
}

}  // namespace
}  // namespace orva
