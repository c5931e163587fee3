#pragma once
// Brings what one file's first-match comparison changed into the search's result: the group
// rows open as they form and each added member becomes a file row with its match percentage.
// Shared by the similarity methods.
#include <vector>

#include "similar/first_match.h"

namespace twinex {
class Search;
}

namespace twinex::similar {

// Where the grouped items are: item number -> index in the file table, and the grouping's
// group number -> the result's group row id (grown as groups open).
struct SimilarRows {
  std::vector<long> recordOf;
  std::vector<int> resultGroup;

  void Apply(Search& search, const GroupChange& change);
};

}  // namespace twinex::similar
