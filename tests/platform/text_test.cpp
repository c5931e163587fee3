#include "platform/text.h"

#include <gtest/gtest.h>

namespace twinex::platform {
namespace {

TEST(Text, Utf16RoundTripKeepsSurrogatePairsAndReplacesBrokenInput) {
  const std::string text = "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a ä € 😀 z
  std::u16string u = Utf8ToUtf16(text);
  ASSERT_EQ(u.size(), 6u);
  EXPECT_EQ(u[3], 0xD83D);
  EXPECT_EQ(u[4], 0xDE00);
  EXPECT_EQ(Utf16ToUtf8(u), text);

  std::string le = EncodeUtf16LE(text, true);
  EXPECT_EQ(le.substr(0, 4), std::string("\xFF\xFE" "a\0", 4));
  EXPECT_EQ(DecodeUtf16LE(le), text);
  std::string be;
  for (std::size_t i = 2; i < le.size(); i += 2) be += std::string{le[i + 1], le[i]};
  EXPECT_EQ(DecodeUtf16BE(be), text);

  // A stray byte, a truncated sequence and an encoded surrogate each become U+FFFD.
  EXPECT_EQ(Utf8ToUtf16("x\xFFy"), u"x\uFFFDy");
  EXPECT_EQ(Utf8ToUtf16("x\xE2\x82"), u"x\uFFFD\uFFFD");
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));  // overlong "/"
  // A lone surrogate in UTF-16 cannot be written as UTF-8.
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', char16_t(0xD800), u'b'}), "a\xEF\xBF\xBD" "b");
}

TEST(Text, CaseFoldingIsUnicodeAndLeavesForeignBytesAlone) {
  EXPECT_EQ(FoldCase("\xC3\x84rger"), FoldCase("\xC3\xA4RGER"));
  EXPECT_TRUE(EqualsNoCase("Stra\xC3\x9F" "e", "STRASSE"));
  EXPECT_FALSE(EqualsNoCase("abc", "abd"));
  // Names on disk are bytes; a byte that is not UTF-8 must survive so the file can be found.
  EXPECT_EQ(FoldCase("BAD\xFF.TXT"), "bad\xFF.txt");
  EXPECT_EQ(DisplayText("bad\xFF"), "bad\xEF\xBF\xBD");
  EXPECT_EQ(CharCount("a\xC3\xA4\xFF"), 3u);
  EXPECT_EQ(UpperCase("\xC3\xA4x"), "\xC3\x84X");
}

TEST(Text, NumbersAcceptOnlyWholeNumericTexts) {
  long long l = 0;
  EXPECT_TRUE(ParseLong(" -42 ", l));
  EXPECT_EQ(l, -42);
  EXPECT_FALSE(ParseLong("42x", l));
  EXPECT_FALSE(ParseLong("", l));
  EXPECT_FALSE(ParseLong("99999999999999999999", l));

  double d = 0;
  EXPECT_TRUE(ParseDouble("1,5", d));
  EXPECT_DOUBLE_EQ(d, 1.5);
  EXPECT_TRUE(ParseDouble("+2.25", d));
  EXPECT_DOUBLE_EQ(d, 2.25);
  EXPECT_FALSE(ParseDouble("+-2", d));
  EXPECT_FALSE(ParseDouble("inf", d));
  EXPECT_FALSE(ParseDouble("nan", d));
  EXPECT_FALSE(ParseDouble("1.2.3", d));
}

TEST(Text, SplitAndTrimKeepEmptyFields) {
  EXPECT_EQ(Split("a//b/", '/'), (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_EQ(Trim(" \t x y \t"), "x y");
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
}

}  // namespace
}  // namespace twinex::platform
