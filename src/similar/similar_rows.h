#pragma once
// Puts what one first-match step changed into the result of a search: the group row when the
// group opens, and a row for each file that joined it, in the order they joined.
#include <functional>
#include <string>
#include <vector>

#include "similar/first_match.h"

namespace twinex {
class Search;
struct ResultFile;
}  // namespace twinex

namespace twinex::similar {

class SimilarRows {
 public:
  // The caption of a group opened with the file of this record index; empty: the search's own.
  using Caption = std::function<std::string(long recordIndex)>;
  // Called with each row added, for values the method knows already.
  using RowValues = std::function<void(long recordIndex, ResultFile& row)>;

  // The grouping's items are numbered in the order they were added; this is where each item's
  // record lies in the file table.
  void AddItem(long recordIndex) { recordOf_.push_back(recordIndex); }
  long RecordOf(std::size_t item) const { return recordOf_[item]; }
  void Apply(Search& search, const GroupChange& change, const Caption& caption = {}, const RowValues& values = {});

 private:
  std::vector<long> recordOf_;
  std::vector<int> resultGroup_;  // grouping's group number -> group row id
};

}  // namespace twinex::similar
