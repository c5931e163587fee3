#include "similar/name_measures.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "similar/name_item.h"
#include "similar/name_measure.h"

namespace twinex::similar {
namespace {

double Sim(int measure, const std::string& a, const std::string& b) { return NameSimilarity(measure, a, b); }

// Hand-worked pairs: measure, a, b, expected similarity.
struct Worked {
  int measure;
  const char* a;
  const char* b;
  double expected;
};

TEST(NameMeasures, HandWorkedPairs) {
  const Worked cases[] = {
      // d = 3 of 7.
      {kLevenshtein, "kitten", "sitting", 1.0 - 3.0 / 7.0},
      // Case folded per code point: only έ/ε differ, so one edit in eight characters.
      {kLevenshtein, "Καλημέρα", "ΚΑΛΗΜΕΡΑ", 1.0 - 1.0 / 8.0},
      {kLevenshtein, "東京タワー", "東京タワ", 0.8},
      // WIKIM (5), then IA (2) in EDIA/ANIA; ED/AN share nothing: 2 * 7 / 18.
      {kRatcliff, "WIKIMEDIA", "wikimania", 14.0 / 18.0},
      {kSmartMatch, "WIKIMEDIA", "wikimania", 14.0 / 18.0},
      {kSmartMatch, "abc", "ABC", 1.0},
      // Equal lengths: s = b = "ABD": A and B in place, D unmatched.
      {kFuzzyMatch, "abc", "abd", 2.0 / 3.0},
      // Each letter found one place away: 2 * (1 - 1/2) / 2.
      {kFuzzyMatch, "ab", "ba", 0.5},
      // s = "ABCD": B and C each one place off: (0.75 + 0.75) / 4.
      {kFuzzyMatch, "abcd", "bc", 0.375},
      {kMatchDiff, "2019 holiday", "Holiday 2019", 1.0},
      {kMatchDiff, "aab", "ab", 0.8},
      {kWordMatch, "holiday_beach_2019", "Holiday-Beach", 2.0 / 3.0},
      {kWordMatch, "a a b", "a b b", 2.0 / 3.0},
      {kWordMatch, "a__b", "b a", 1.0},
      // Scan 3 of 4; grams: "ab" found (1 of 2), no 3- or 4-gram: 4 / 8.
      {kFuzzyPercent, "abcd", "abxd", 0.5},
      // a shorter than b, so also (b, a): 2/2 + 1/1 + 2/3 + 1/2: 6 / 8.
      {kFuzzyPercent, "ab", "abc", 0.75},
      {kFuzzyPercent, "  Song ", "song", 1.0},
      {kFuzzyPercent, "a", "ab", 0.0},
      {kSimil, "MARTHA", "MARHTA", 0.9611111111111111},
      {kSimil, "DIXON", "DICKSONX", 0.8133333333333332},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(Sim(c.measure, c.a, c.b), c.expected, 1e-12) << c.measure << " " << c.a << " / " << c.b;
  }
}

TEST(NameMeasures, EmptyNamesMatchNothing) {
  for (int m = 0; m < kNameMeasureCount; ++m) {
    EXPECT_EQ(Sim(m, "", ""), 0.0) << m;
    EXPECT_EQ(Sim(m, "", "abc"), 0.0) << m;
    EXPECT_EQ(Sim(m, "abc", ""), 0.0) << m;
  }
  EXPECT_EQ(Sim(kWordMatch, "_-_", "_-_"), 0.0);  // delimiters only: no words
  EXPECT_EQ(Sim(kFuzzyPercent, "   ", "   "), 0.0);
}

// A name of random letters from a small alphabet with Unicode and case variants, so that
// near-equal pairs are common.
std::string RandomName(std::mt19937& rng) {
  static const char* const kPieces[] = {"a", "b", "A", "c", "_", " ", "1", "2", "é", "É", "ß", "東", "Ω"};
  std::uniform_int_distribution<int> len(0, 9), piece(0, 12);
  std::string s;
  for (int n = len(rng); n > 0; --n) s += kPieces[piece(rng)];
  return s;
}

// Whether two names are equal under the measure's own reading.
bool EqualUnder(int m, const std::string& a, const std::string& b) {
  NamePreparer p(m, " ,_.;-");
  NameItem x = p.Prepare(a), y = p.Prepare(b);
  if (m == kWordMatch) return !x.words.empty() && x.words == y.words;
  if (x.chars.empty()) return false;
  if (m == kMatchDiff) {
    std::sort(x.chars.begin(), x.chars.end());
    std::sort(y.chars.begin(), y.chars.end());
  }
  return x.chars == y.chars;
}

TEST(NameMeasures, FullScoreOnlyForNamesEqualUnderTheMeasure) {
  std::mt19937 rng(7);
  for (int round = 0; round < 3000; ++round) {
    std::string a = RandomName(rng), b = RandomName(rng);
    if (round % 4 == 0) b = a;
    for (int m = 0; m < kNameMeasureCount; ++m) {
      double s = Sim(m, a, b);
      ASSERT_GE(s, 0.0);
      ASSERT_LE(s, 1.0);
      ASSERT_EQ(s == 1.0, EqualUnder(m, a, b)) << m << " '" << a << "' '" << b << "' " << s;
    }
  }
}

TEST(NameMeasures, BitParallelDistanceEqualsTheTable) {
  std::mt19937 rng(11);
  MeasureWorkspace ws;
  BitParallelPattern pattern;
  std::uniform_int_distribution<int> len(1, 70), ch(0, 5);
  const char32_t kChars[] = {U'a', U'b', U'c', U'é', U'東', U'Ω'};
  for (int round = 0; round < 2000; ++round) {
    std::u32string a, b;
    for (int n = std::min(len(rng), 64); n > 0; --n) a.push_back(kChars[ch(rng)]);
    for (int n = len(rng) - 1; n > 0; --n) b.push_back(kChars[ch(rng)]);
    pattern.Set(a);
    ASSERT_EQ(pattern.Distance(b), EditDistance(a, b, ws)) << a.size() << " " << b.size();
  }
}

}  // namespace
}  // namespace twinex::similar
