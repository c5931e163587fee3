#include "similar/name_measure.h"

#include <algorithm>

#include "similar/first_match.h"

namespace twinex::similar {
namespace {

// Bounds: la, lb are the sizes of the current and the other name (both > 0), u is the most
// characters (or words) of the two that can be matched at all, u <= min(la, lb).
double D(std::size_t v) { return static_cast<double>(v); }

double EditBound(std::size_t la, std::size_t lb, std::size_t u) {
  // Every character of the longer name beyond the matchable ones costs one edit.
  std::size_t longer = std::max(la, lb);
  return 1.0 - D(longer - u) / D(longer);
}
double DiceBound(std::size_t la, std::size_t lb, std::size_t u) { return 2.0 * D(u) / D(la + lb); }
double LongerShareBound(std::size_t la, std::size_t lb, std::size_t u) { return D(u) / D(std::max(la, lb)); }
// With the common prefix unknown it may give the full boost of 4 characters.
double JaroWinklerBound(std::size_t la, std::size_t lb, std::size_t u, std::size_t prefix) {
  if (u == 0) return 0.0;
  double jaro = (D(u) / D(la) + D(u) / D(lb) + 1.0) / 3.0;
  return jaro + D(prefix) * 0.1 * (1.0 - jaro);
}
double JaroWinklerBound(std::size_t la, std::size_t lb, std::size_t u) { return JaroWinklerBound(la, lb, u, 4); }
// Each match of the scan, and each gram of length g times g, uses characters present in both
// names, so at most u and u / g of them; the totals depend on the lengths alone.
double FuzzyPercentBound(std::size_t la, std::size_t lb, std::size_t u) {
  if (la < 2) return la == lb && u == la ? 1.0 : 0.0;
  std::size_t matches = 0, total = 0;
  auto run = [&](std::size_t ls) {
    total += ls;
    matches += u;
    for (std::size_t g = 2; g <= ls; ++g) {
      total += ls / g;
      matches += u / g;
    }
  };
  run(la);
  if (la < lb) run(lb);
  return D(matches) / D(total);
}

struct MeasureRow {
  double (*similarity)(Chars, Chars, MeasureWorkspace&);  // null: WordMatch, which reads words
  // An upper bound of the similarity from the sizes and the matchable count; rises with it.
  double (*bound)(std::size_t, std::size_t, std::size_t);
};

// In the order of the measure list.
const MeasureRow kMeasures[kNameMeasureCount] = {
    {Ratcliff, DiceBound},                // SmartMatch (upper-cased names)
    {FuzzyMatch, LongerShareBound},       // FuzzyMatch
    {Levenshtein, EditBound},             // Levenshtein
    {Ratcliff, DiceBound},                // Ratcliff
    {MatchDiff, DiceBound},               // MatchDiff
    {nullptr, LongerShareBound},          // WordMatch
    {FuzzyPercent, FuzzyPercentBound},   // FuzzyPercent
    {JaroWinkler, JaroWinklerBound},      // Simil
};

// The bounds are computed in floating point like the measures themselves; the margin keeps a
// pair whose bound and true value differ only by rounding.
constexpr double kMargin = 1e-9;

}  // namespace

NameMeasure::NameMeasure(int measure, bool bitParallel)
    : measure_(std::clamp(measure, 0, kNameMeasureCount - 1)), bitParallel_(bitParallel) {}

NameMeasure::Summary NameMeasure::Summarize(const NameItem& item) const {
  return {item.mask, measure_ == kWordMatch ? item.words.size() : item.chars.size()};
}

std::size_t NameMeasure::Needed(const Summary& current, std::size_t lb, double threshold) const {
  std::size_t la = current.size;
  if (la == 0 || lb == 0) return kNever;
  auto bound = kMeasures[measure_].bound;
  auto reaches = [&](std::size_t u) { return bound(la, lb, u) >= threshold - kMargin; };
  std::size_t lo = 0, hi = std::min(la, lb);
  if (!reaches(hi)) return kNever;
  while (lo < hi) {  // the least u that reaches it
    std::size_t mid = lo + (hi - lo) / 2;
    if (reaches(mid)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

void NameMeasure::Begin(const NameItem& current) {
  patternReady_ = bitParallel_ && measure_ == kLevenshtein && !current.chars.empty() &&
                  current.chars.size() <= BitParallelPattern::kMaxLength;
  if (patternReady_) pattern_.Set(current.chars);
}

double NameMeasure::Similarity(const NameItem& a, const NameItem& b, double threshold) {
  if (measure_ == kWordMatch) return WordMatch(a.words, b.words);
  if (threshold > 0.0 && !patternReady_) {
    // Characters in common, each counted as often as both names hold it: no measure matches
    // more. (The bit-parallel edit distance costs less than this count.)
    std::size_t common = 0;
    for (std::size_t i = 0, j = 0; i < a.sorted.size() && j < b.sorted.size();) {
      if (a.sorted[i] < b.sorted[j]) {
        ++i;
      } else if (b.sorted[j] < a.sorted[i]) {
        ++j;
      } else {
        ++common, ++i, ++j;
      }
    }
    std::size_t la = a.chars.size(), lb = b.chars.size();
    double bound = kMeasures[measure_].bound(la, lb, common);
    if (measure_ == kSimil) {
      std::size_t prefix = 0;
      while (prefix < 4 && prefix < la && prefix < lb && a.chars[prefix] == b.chars[prefix]) ++prefix;
      bound = JaroWinklerBound(la, lb, common, prefix);
    }
    if (bound < threshold - kMargin) return 0.0;
  }
  if (patternReady_ && !b.chars.empty()) {
    double longer = static_cast<double>(std::max(a.chars.size(), b.chars.size()));
    return 1.0 - static_cast<double>(pattern_.Distance(b.chars)) / longer;
  }
  return kMeasures[measure_].similarity(a.chars, b.chars, ws_);
}

double NameSimilarity(int measure, std::string_view a, std::string_view b, std::string_view delimiters) {
  NamePreparer preparer(measure, delimiters);
  NameItem ia = preparer.Prepare(a), ib = preparer.Prepare(b);
  NameMeasure m(measure);
  m.Begin(ia);
  return m.Similarity(ia, ib);
}

}  // namespace twinex::similar
