#include "similar/similar_names.h"

#include <gtest/gtest.h>

#include "settings/name_part.h"

namespace twinex::similar {
namespace {

NameCompareOptions Options(int measure, int percent) {
  NameCompareOptions o;
  o.measure = measure;
  o.percent = percent;
  return o;
}

TEST(SimilarNames, GroupsFilesWhoseNamesAreAlike) {
  RunControl run;
  SimilarNames names(Options(kLevenshtein, 80), 0, run);
  EXPECT_EQ(names.Add("Holiday 2019", "jpg", 1, "").group, -1);
  EXPECT_EQ(names.Add("Invoice", "pdf", 1, "").group, -1);
  GroupChange c = names.Add("holiday 2018", "png", 1, "");  // one edit in twelve: 92 %
  EXPECT_TRUE(c.opened);
  EXPECT_EQ(c.added, (std::vector<SimilarMember>{{0, 100}, {2, 92}}));
}

TEST(SimilarNames, ASimilarityExactlyAtThePercentageIsAHit) {
  // 1 - 4/5 is 0.19999999999999996 in floating point.
  RunControl run;
  SimilarNames names(Options(kLevenshtein, 20), 0, run);
  names.Add("abcde", "", 1, "");
  EXPECT_EQ(names.Add("fghie", "", 1, "").added, (std::vector<SimilarMember>{{0, 100}, {1, 20}}));
}

TEST(SimilarNames, AtFullPercentOnlyEqualNamesAndNeverEmptyOnes) {
  NameCompareOptions o = Options(kRatcliff, 100);
  o.cleanup = PrepareNameCleanup(true, "_0123456789", false, "");
  RunControl run;
  SimilarNames names(o, 0, run);
  names.Add("__01", "", 1, "");
  EXPECT_EQ(names.Add("_02_", "", 1, "").group, -1);  // both empty after the ignored characters
  names.Add("Beach", "", 1, "");
  EXPECT_EQ(names.Add("Beaches", "", 1, "").group, -1);
  GroupChange c = names.Add("BEACH_1", "", 1, "");
  EXPECT_EQ(c.added, (std::vector<SimilarMember>{{2, 100}, {4, 100}}));

  SimilarNames anything(Options(kLevenshtein, 0), 0, run);
  anything.Add("", "", 1, "");
  EXPECT_EQ(anything.Add("", "", 1, "").group, -1);
  EXPECT_EQ(anything.Add("x", "", 1, "").group, -1);
  EXPECT_EQ(anything.Add("xy", "", 1, "").added, (std::vector<SimilarMember>{{2, 100}, {3, 50}}));
}

TEST(SimilarNames, ScopeThreeComparesWithinOneSubfolderOfOneSource) {
  RunControl run;
  SimilarNames names(Options(kSmartMatch, 90), 3, run);
  names.Add("song", "", 1, "a");
  EXPECT_EQ(names.Add("song", "", 2, "a").group, -1);
  EXPECT_EQ(names.Add("song", "", 1, "b").group, -1);
  EXPECT_EQ(names.Add("Song", "", 1, "a").group, 0);
}

}  // namespace
}  // namespace twinex::similar
