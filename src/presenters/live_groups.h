#pragma once
// The groups of a running search as the grid shows them. The search hands over copies of the
// groups that were opened or grew; they are merged here by group id, and each merge says which
// rows the grid must insert, so the view keeps its scroll position and open groups.
#include <cstddef>
#include <functional>
#include <unordered_map>
#include <vector>

#include "results/result_tree.h"

namespace twinex {

// One batch as the search handed it over.
struct GroupHandOver {
  int captionType = kCaptionName;
  ResultDisplay display;
  std::vector<ResultGroup> groups;
};

// What one group's merge changed in the grid.
struct LiveGroupEdit {
  std::size_t row = 0;
  bool added = false;            // a new group row at `row`
  std::size_t filesBefore = 0;   // file rows the group had (0 for a new group)
  std::size_t filesAfter = 0;
};

class LiveGroups {
 public:
  void Clear();
  const ResultTree& tree() const { return tree_; }
  ResultTree& tree() { return tree_; }
  // Takes the batch over, one group at a time; `notify` hears of each edit before (false) and
  // after (true) the tree changes, as a grid model must announce inserted rows.
  using Notify = std::function<void(const LiveGroupEdit&, bool after)>;
  void Merge(GroupHandOver batch, const Notify& notify = {});

 private:
  ResultTree tree_;
  std::unordered_map<int, std::size_t> rowOf_;  // group id -> row
};

}  // namespace twinex
