#pragma once
// One of the eight name measures as the grouping engine uses it: the similarity of a new name
// to a collected one, and upper bounds that let the engine skip pairs which cannot reach the
// threshold without changing any result.
#include <cstddef>
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
  // The most characters (words) of the two names that can be matched at all.
  std::size_t Matchable(const Summary& current, const Summary& other) const;
  // The least Matchable value with which a name of otherSize can reach the threshold; kNever
  // when none can.
  std::size_t Needed(const Summary& current, std::size_t otherSize, double threshold) const;

  // Called once per new name before it is compared with the collected ones.
  void Begin(const NameItem& current);
  double Similarity(const NameItem& current, const NameItem& other);

 private:
  int measure_;
  bool bitParallel_;
  bool patternReady_ = false;
  BitParallelPattern pattern_;
  MeasureWorkspace ws_;
};

// The similarity of two comparison names under a measure, prepared as a search prepares them.
double NameSimilarity(int measure, std::string_view a, std::string_view b, std::string_view delimiters = " ,_.;-");

}  // namespace twinex::similar
