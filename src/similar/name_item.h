#pragma once
// From a file name to what the similar-names measures compare: the comparison name (ignored
// characters and texts removed, the chosen name part, the extension when it is a criterion),
// then the form the chosen measure reads (case folded or upper-cased code points, trimmed, or
// split into words).
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/filters.h"
#include "similar/code_points.h"

namespace twinex {
struct SearchSettings;
}

namespace twinex::similar {

enum NameMeasureIndex : int {
  kSmartMatch = 0,
  kFuzzyMatch = 1,
  kLevenshtein = 2,
  kRatcliff = 3,
  kMatchDiff = 4,
  kWordMatch = 5,
  kFuzzyPercent = 6,
  kSimil = 7,
};
inline constexpr int kNameMeasureCount = 8;

// The settings of one similar-names search as plain values.
struct NameCompareOptions {
  int measure = kSmartMatch;
  int percent = 90;  // 0..100; a pair is a hit when its similarity reaches percent / 100
  std::string delimiters = " ,_.;-";
  int namePart = 0;
  long long namePartCount = 0;
  NameCleanup cleanup;
  bool withExtension = false;

  double Threshold() const { return percent / 100.0; }
};

NameCompareOptions NameCompareOptionsFrom(const SearchSettings& settings);

// The comparison name of a file given as name without extension and extension.
std::string SimilarComparisonName(const NameCompareOptions& options, std::string_view nameWithoutExtension,
                                  std::string_view extension);

// A comparison name in the form its measure reads, with the summaries the prunings use.
struct NameItem {
  std::u32string chars;               // every measure but WordMatch
  std::u32string sorted;              // chars in ascending order, for the count in common
  std::vector<std::uint32_t> words;   // WordMatch: word numbers, sorted
  std::uint64_t mask = 0;             // CharacterMask of chars, or the word numbers' bits
};

// Prepares names for one measure; equal words get equal numbers across all names it prepared.
class NamePreparer {
 public:
  NamePreparer(int measure, std::string_view delimiters);
  NameItem Prepare(std::string_view comparisonName);

 private:
  int measure_;
  std::u32string delimiters_;
  std::unordered_map<std::u32string, std::uint32_t> wordNumbers_;
};

}  // namespace twinex::similar
