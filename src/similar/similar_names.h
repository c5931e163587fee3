#pragma once
// The similar-names search of one run, ready for the per-file step: each file is turned into
// its comparison name, prepared for the chosen measure and grouped by first match with the
// files handed in before it.
#include <cstdint>
#include <string_view>

#include "similar/first_match.h"
#include "similar/name_item.h"
#include "similar/name_measure.h"

namespace twinex::similar {

class SimilarNames {
 public:
  using Grouping = FirstMatchGrouping<NameMeasure>;

  // scope: the source-folder compare method 0..3.
  SimilarNames(NameCompareOptions options, int scope, RunControl& run, Grouping::Progress progress = {},
               bool prune = true);

  // Files are numbered 0, 1, … in the order they are added.
  GroupChange Add(std::string_view nameWithoutExtension, std::string_view extension, int sourceNr,
                  std::string_view relativeFolder);

  const Grouping& Groups() const { return grouping_; }
  const NameCompareOptions& Options() const { return options_; }

 private:
  NameCompareOptions options_;
  int scope_;
  NamePreparer preparer_;
  NameMeasure measure_;
  FolderNumbers folders_;
  Grouping grouping_;
};

}  // namespace twinex::similar
