#pragma once
// One of the eight name measures as the grouping engine uses it: the similarity of a new name
// to a collected one, and upper bounds that let the engine skip pairs which cannot reach the
// threshold without changing any result.
#include <cstddef>
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

  // The size a length bound reads: characters, or words for WordMatch.
  std::size_t SizeKey(const NameItem& item) const;
  // Whether names of these sizes can reach the threshold at all (current name first).
  bool SizeMayReach(std::size_t current, std::size_t other, double threshold) const;
  // The same with the characters' summaries: false only when the pair cannot reach it.
  bool MayReach(const NameItem& current, const NameItem& other, double threshold) const;

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
