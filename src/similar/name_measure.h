#pragma once
// One of the eight name measures as the grouping engine uses it: the similarity of a new name
// to a collected one, and upper bounds that let the engine skip pairs which cannot reach the
// threshold without changing any result.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "similar/name_item.h"
#include "similar/name_measures.h"

namespace twinex::similar {

class NameMeasure {
 public:
  using Item = NameItem;
  // bitParallel: the edit distance of names up to 64 characters by machine-word columns
  // (same distance, much faster); off, the classic table is used.
  explicit NameMeasure(int measure, bool bitParallel = true);

  int Index() const { return measure_; }

  // What the prunings read of a name: its size (characters, or words for WordMatch) and its
  // character (or word) summary.
  struct Summary {
    std::uint64_t mask = 0;
    std::size_t size = 0;
  };
  Summary Summarize(const NameItem& item) const;
  std::size_t SizeOf(const Summary& s) const { return s.size; }
  // The most characters (words) of the two names that can be matched at all: a summary bit of
  // one name missing in the other stands for at least one character that finds no partner.
  // Inline, as the engine asks it for nearly every pair.
  std::size_t Matchable(const Summary& a, const Summary& b) const {
    std::size_t onlyA = BitCount(a.mask & ~b.mask), onlyB = BitCount(b.mask & ~a.mask);
    return std::min(a.size - std::min(a.size, onlyA), b.size - std::min(b.size, onlyB));
  }
  // The least Matchable value with which a name of otherSize can reach the threshold; kNever
  // when none can.
  std::size_t Needed(const Summary& current, std::size_t otherSize, double threshold) const;

  // Called once per new name before it is compared with the collected ones.
  void Begin(const NameItem& current);
  // Below a threshold above 0, a pair whose characters in common cannot reach it gets 0
  // without the measure being run.
  double Similarity(const NameItem& current, const NameItem& other, double threshold = 0.0);

 private:
  // Without a processor-specific build std::popcount becomes a library call; this stays inline.
  static std::size_t BitCount(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555ULL;
    x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<std::size_t>((x * 0x0101010101010101ULL) >> 56);
  }

  int measure_;
  bool bitParallel_;
  bool patternReady_ = false;
  BitParallelPattern pattern_;
  MeasureWorkspace ws_;
};

// The similarity of two comparison names under a measure, prepared as a search prepares them.
double NameSimilarity(int measure, std::string_view a, std::string_view b, std::string_view delimiters = " ,_.;-");

}  // namespace twinex::similar
