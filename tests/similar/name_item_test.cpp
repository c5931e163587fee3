#include "similar/name_item.h"

#include <gtest/gtest.h>

#include "settings/name_part.h"
#include "settings/search_settings.h"
#include "similar/name_measure.h"

namespace twinex::similar {
namespace {

TEST(NameItem, OptionsComeFromTheSettings) {
  SearchSettings s;
  s.PartialFilenameCompareMethod = kLevenshtein;
  s.PartialFilenameComparePercent = "80";
  s.FileNameCompareMethod = kNamePartFirst;
  s.FileNameCompareOnlyFirstCharsCount = "5";
  s.IgnoreChars = true;
  s.IgnoreCharsText = "()";
  s.Suchkriterien[kCritExtension] = true;
  NameCompareOptions o = NameCompareOptionsFrom(s);
  EXPECT_EQ(o.measure, kLevenshtein);
  EXPECT_DOUBLE_EQ(o.Threshold(), 0.8);
  EXPECT_EQ(o.namePart, kNamePartFirst);
  EXPECT_EQ(o.namePartCount, 5);
  EXPECT_TRUE(o.withExtension);
  // Ignored characters go before the name part is cut; the extension comes after it.
  EXPECT_EQ(SimilarComparisonName(o, "(ho)liday_001", "jpg"), "holid.jpg");
  EXPECT_EQ(SimilarComparisonName(o, "holiday", ""), "holid");
}

TEST(NameItem, NamePartFiveMakesNumberedHolidayPicturesEqual) {
  SearchSettings s;
  s.FileNameCompareMethod = kNamePartFirst;
  s.FileNameCompareOnlyFirstCharsCount = "5";
  NameCompareOptions o = NameCompareOptionsFrom(s);
  std::string a = SimilarComparisonName(o, "holiday_001", "jpg");
  std::string b = SimilarComparisonName(o, "holiday_002", "jpg");
  for (int m = 0; m < kNameMeasureCount; ++m) EXPECT_EQ(NameSimilarity(m, a, b), 1.0) << m;
}

}  // namespace
}  // namespace twinex::similar
