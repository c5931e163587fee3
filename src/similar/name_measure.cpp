#include "similar/name_measure.h"

#include <algorithm>
#include <bit>

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
double JaroWinklerBound(std::size_t la, std::size_t lb, std::size_t u) {
  if (u == 0) return 0.0;
  double jaro = (D(u) / D(la) + D(u) / D(lb) + 1.0) / 3.0;
  return jaro + 0.4 * (1.0 - jaro);
}
// The scan matches at most min(la, lb) characters and grams of length g at most
// min(la / g, lb / g); the totals depend on the lengths alone.
double FuzzyPercentBound(std::size_t la, std::size_t lb, std::size_t) {
  if (la == lb) return 1.0;
  if (la < 2) return 0.0;
  std::size_t matches = 0, total = 0;
  auto run = [&](std::size_t ls, std::size_t lt) {
    total += ls;
    matches += std::min(ls, lt);
    for (std::size_t g = 2; g <= ls; ++g) {
      total += ls / g;
      matches += std::min(ls / g, lt / g);
    }
  };
  run(la, lb);
  if (la < lb) run(lb, la);
  return D(matches) / D(total);
}

struct MeasureRow {
  double (*similarity)(Chars, Chars, MeasureWorkspace&);  // null: WordMatch, which reads words
  double (*bound)(std::size_t, std::size_t, std::size_t);
  bool maskBound;  // whether the character summaries tighten the bound
};

// In the order of the measure list.
const MeasureRow kMeasures[kNameMeasureCount] = {
    {Ratcliff, DiceBound, true},                // SmartMatch (upper-cased names)
    {FuzzyMatch, LongerShareBound, true},       // FuzzyMatch
    {Levenshtein, EditBound, true},             // Levenshtein
    {Ratcliff, DiceBound, true},                // Ratcliff
    {MatchDiff, DiceBound, true},               // MatchDiff
    {nullptr, LongerShareBound, true},          // WordMatch
    {FuzzyPercent, FuzzyPercentBound, false},   // FuzzyPercent
    {JaroWinkler, JaroWinklerBound, true},      // Simil
};

// The bounds are computed in floating point like the measures themselves; the margin keeps a
// pair whose bound and true value differ only by rounding.
constexpr double kMargin = 1e-9;

}  // namespace

NameMeasure::NameMeasure(int measure, bool bitParallel)
    : measure_(std::clamp(measure, 0, kNameMeasureCount - 1)), bitParallel_(bitParallel) {}

std::size_t NameMeasure::SizeKey(const NameItem& item) const {
  return measure_ == kWordMatch ? item.words.size() : item.chars.size();
}

bool NameMeasure::SizeMayReach(std::size_t la, std::size_t lb, double threshold) const {
  if (la == 0 || lb == 0) return false;
  return kMeasures[measure_].bound(la, lb, std::min(la, lb)) >= threshold - kMargin;
}

bool NameMeasure::MayReach(const NameItem& a, const NameItem& b, double threshold) const {
  const MeasureRow& row = kMeasures[measure_];
  if (!row.maskBound) return true;
  std::size_t la = SizeKey(a), lb = SizeKey(b);
  if (la == 0 || lb == 0) return false;
  std::size_t onlyA = static_cast<std::size_t>(std::popcount(a.mask & ~b.mask));
  std::size_t onlyB = static_cast<std::size_t>(std::popcount(b.mask & ~a.mask));
  std::size_t u = std::min(la - std::min(la, onlyA), lb - std::min(lb, onlyB));
  return row.bound(la, lb, u) >= threshold - kMargin;
}

void NameMeasure::Begin(const NameItem& current) {
  patternReady_ = bitParallel_ && measure_ == kLevenshtein && !current.chars.empty() &&
                  current.chars.size() <= BitParallelPattern::kMaxLength;
  if (patternReady_) pattern_.Set(current.chars);
}

double NameMeasure::Similarity(const NameItem& a, const NameItem& b) {
  if (measure_ == kWordMatch) return WordMatch(a.words, b.words);
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
