#include <gtest/gtest.h>

#include "platform/date_time.h"
#include "platform/number_format.h"
#include "results/result_tree.h"

namespace twinex {
namespace {

// Writes an expected number in the locale's separators: "," groups, "." is the decimal point.
std::string Loc(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == ',')
      out += platform::GroupingSeparatorText();
    else if (c == '.')
      out += platform::DecimalSeparatorText();
    else
      out.push_back(c);
  }
  return out;
}

TEST(SizeFormat, AutomaticThresholds) {
  EXPECT_EQ(SizeDisplayText(1024, 4, 1), Loc("1,024") + " Bytes");
  EXPECT_EQ(SizeDisplayText(1025, 4, 1), Loc("1.00") + " KB");
  EXPECT_EQ(SizeDisplayText(1047527424ULL, 4, 1), Loc("999.00") + " MB");
  EXPECT_EQ(SizeDisplayText(1047527425ULL, 4, 1), Loc("0.98") + " GB");
}

TEST(SizeFormat, FixedUnits) {
  const std::uint64_t size = 5ULL * 1099511627776ULL / 2;  // 2.5 TB
  EXPECT_EQ(FormatFileSizeA(0, size), Loc("2,748,779,069,440"));
  EXPECT_EQ(FormatFileSizeA(2, size), Loc("2,621,440.00"));
  EXPECT_EQ(FormatFileSizeA(3, size), Loc("2,560.00"));
  EXPECT_EQ(FormatFileSizeA(5, size), Loc("2.50"));
  EXPECT_EQ(FormatFileSizeA(4, size), "");
  EXPECT_EQ(FormatFileSizeA(3, 1610612736ULL, "###,###,##0"), "2");  // 1.5 GB rounds

  EXPECT_EQ(FormatFileSizeB(0, 1024), Loc("1,024") + " Bytes");
  EXPECT_EQ(FormatFileSizeB(2, 1572864), Loc("1.50") + " MB");
  EXPECT_EQ(FormatFileSizeB(4, size), "");

  // The grid follows "FormatSize" and "FormatSizeDecimal".
  EXPECT_EQ(SizeDisplayText(1572864, 2, 1), Loc("1.50"));
  EXPECT_EQ(SizeDisplayText(1572864, 2, 0), "2");
  EXPECT_EQ(SizeDisplayText(1572864, 0, 1), Loc("1,572,864"));
}

TEST(DateFormat, FormatTexts) {
  const double d = platform::MakeDate(2024, 3, 5, 14, 7, 9);
  EXPECT_EQ(FormatDateDisplay(d, "dd/MM/yyyy hh:nn:ss"), "05/03/2024 14:07:09");
  EXPECT_EQ(FormatDateDisplay(d, "d.M.yy h:n:s"), "5.3.24 14:7:9");
  EXPECT_EQ(FormatDateDisplay(d, "yyyy-mm-dd hh:mm"), "2024-03-05 14:07");  // m after an hour: minutes
  EXPECT_EQ(FormatDateDisplay(d, "hh:nn AM/PM"), "02:07 PM");
  EXPECT_EQ(FormatDateDisplay(platform::MakeDate(2024, 3, 5, 0, 30, 0), "h:nn am/pm"), "12:30 am");
  EXPECT_EQ(FormatDateDisplay(d, "\"Tag\" d"), "Tag 5");
  // An empty format falls back to the built-in one, backslashes standing between the parts.
  EXPECT_EQ(FormatDateDisplay(d, ""), "05\\03\\2024 14:07:09");
}

TEST(DateFormat, CaptionFormatsDropTimeOrSeconds) {
  EXPECT_EQ(CaptionDateFormat("dd/MM/yyyy hh:nn:ss", true, false), "dd/MM/yyyy");
  EXPECT_EQ(CaptionDateFormat("dd/MM/yyyy h:n:s AM/PM", true, false), "dd/MM/yyyy");
  EXPECT_EQ(CaptionDateFormat("dd/MM/yyyy hh:nn:ss", false, true), "dd/MM/yyyy hh:nn");
  EXPECT_EQ(CaptionDateFormat("", false, false), kDefaultDateDisplayFormat);
}

TEST(Attributes, LettersInTableOrderAndTooltip) {
  EXPECT_EQ(AttributeLetters(0), "");
  EXPECT_EQ(AttributeLetters(0x1 | 0x2 | 0x20), "AHR");
  EXPECT_EQ(AttributeLetters(0x1FFFF), "ACDEHILNOPRSTV");
  EXPECT_EQ(AttributeTooltip(0x21), "A: Archiv\nR: Schreibgeschützt");
}

TEST(RichText, Escapes) {
  EXPECT_EQ(ToRichText(""), "");
  EXPECT_EQ(ToRichText("a\\b{c}"), "{\\rtf1\\uc1 a\\\\b\\{c\\}}");
  EXPECT_EQ(ToRichText("1\r\n2\r3\n"), "{\\rtf1\\uc1 1\\line 2\\line 3\\'0a}");
  EXPECT_EQ(ToRichText("é"), "{\\rtf1\\uc1 \\'e9}");
  EXPECT_EQ(ToRichText("€"), "{\\rtf1\\uc1 \\u8364?}");
  EXPECT_EQ(ToRichText("文"), "{\\rtf1\\uc1 \\u25991?}");   // U+6587
  EXPECT_EQ(ToRichText("高"), "{\\rtf1\\uc1 \\u-25896?}");  // U+9AD8: signed 16-bit
  EXPECT_EQ(ToRichText("\xEF\xBC\xA1"), "{\\rtf1\\uc1 \\u-223?}");  // U+FF21
  // Beyond the basic plane: both surrogate halves, each negative.
  EXPECT_EQ(ToRichText("\xF0\x9F\x98\x80"), "{\\rtf1\\uc1 \\u-10179?\\u-8704?}");
}

TEST(StatusTexts, CountsAndHeaders) {
  ResultTree t;
  ResultGroup& g = t.AddGroup("g");
  ResultFile f;
  f.size = 2048;
  f.selected = true;
  t.AddFile(g, f);
  f.selected = false;
  t.AddFile(g, f);
  const auto texts = ShowDupCount(t);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], " Gruppen: 1 ");
  EXPECT_EQ(texts[1], " Dateien: 1 \\ 2 ");
  EXPECT_EQ(texts[2], " Größe: " + Loc("2.00") + " KB \\ " + Loc("4.00") + " KB ");

  EXPECT_EQ(GroupColumnHeader(kCaptionName, 0), "Gruppe - Dateiname ohne Endung");
  EXPECT_EQ(GroupColumnHeader(kCaptionTrackLength, 0), "Gruppe - Tonspur");
  EXPECT_EQ(GroupColumnHeader(kCaptionSize, 0), "Gruppe - Dateigröße (Bytes)");
  EXPECT_EQ(GroupColumnHeader(kCaptionSize, 2), "Gruppe - Dateigröße (MB)");
  EXPECT_EQ(GroupColumnHeader(kCaptionModified, 2), "Gruppe - Änderungsdatum");
  EXPECT_EQ(GroupColumnHeader(11, 0), "Gruppe - ???");
  EXPECT_EQ(SizeColumnHeader(0), "Größe (Bytes)");
  EXPECT_EQ(SizeColumnHeader(3), "Größe (GB)");
}

}  // namespace
}  // namespace twinex
