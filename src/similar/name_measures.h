#pragma once
// The string-similarity measures of the similar-names search. Each takes two names already
// prepared for it (case folded or upper-cased, trimmed or split into words, see name_item.h)
// and returns a value in 0..1: 1 for names equal under the measure, 0 when either is empty.
// A workspace holds the scratch rows, so comparing a pair allocates nothing once it has grown.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "similar/code_points.h"

namespace twinex::similar {

struct MeasureWorkspace {
  std::vector<std::size_t> row, prev;
  std::vector<char32_t> copyA, copyB;
  std::vector<unsigned char> flagsA, flagsB;
  std::vector<std::array<std::size_t, 4>> ranges;
};

// Edit distance (insert, delete, substitute, each cost 1) by the classic table.
std::size_t EditDistance(Chars a, Chars b, MeasureWorkspace& ws);
// 1 - distance / longer length.
double Levenshtein(Chars a, Chars b, MeasureWorkspace& ws);

// Characters matched by the Ratcliff/Obershelp method: the longest common run (the first one
// found when several are equally long) counts, then the parts left of it and right of it are
// matched the same way.
std::size_t RatcliffMatches(Chars a, Chars b, MeasureWorkspace& ws);
// 2 * matched / (length a + length b). SmartMatch is this measure on upper-cased names,
// Ratcliff on case-folded ones.
double Ratcliff(Chars a, Chars b, MeasureWorkspace& ws);

// The longer name s (the second when both are equally long) is walked; each character takes
// the first untaken equal character of the shorter name t and scores 1 - |distance| / len s.
// Result: score / len s.
double FuzzyMatch(Chars a, Chars b, MeasureWorkspace& ws);

// Character difference: names are compared as bags of characters, order left aside.
// 1 - (characters of either name left unmatched in the other) / (len a + len b). Rearranged
// words ("2019 holiday" and "holiday 2019") score 1; it complements the order-bound measures.
double MatchDiff(Chars a, Chars b, MeasureWorkspace& ws);

// Names as sorted word numbers (equal words, equal numbers). Every word is matched at most once
// with an equal word of the other name; the share is taken of the name with more words:
// matched / max(words a, words b), so adding words to a name always lowers the score.
double WordMatch(std::span<const std::uint32_t> a, std::span<const std::uint32_t> b);

// Two counts, matches and total, from a forward character scan and from grams of every length,
// on (a, b) and, when a is the shorter name, also on (b, a). Result: matches / total. The names
// come trimmed and case folded; a name a of fewer than two characters matches nothing unless
// it equals b.
double FuzzyPercent(Chars a, Chars b, MeasureWorkspace& ws);

// Jaro-Winkler similarity (common prefix of up to 4 characters, scale 0.1).
double JaroWinkler(Chars a, Chars b, MeasureWorkspace& ws);

// The same edit distance as EditDistance, computed for one pattern of 1 to 64 characters
// against many texts with one machine word per text character.
class BitParallelPattern {
 public:
  static constexpr std::size_t kMaxLength = 64;
  void Set(Chars pattern);
  std::size_t Distance(Chars text) const;

 private:
  std::uint64_t MaskOf(char32_t c) const;
  std::array<std::uint64_t, 128> ascii_{};
  std::vector<std::pair<char32_t, std::uint64_t>> others_;
  std::size_t length_ = 0;
};

}  // namespace twinex::similar
