#include "presenters/live_groups.h"

#include <utility>

namespace twinex {

void LiveGroups::Clear() {
  tree_ = ResultTree{};
  rowOf_.clear();
}

void LiveGroups::Merge(GroupHandOver batch, const Notify& notify) {
  tree_.captionType = batch.captionType;
  tree_.display = std::move(batch.display);
  for (ResultGroup& g : batch.groups) {
    LiveGroupEdit e;
    e.filesAfter = g.files.size();
    const auto [at, isNew] = rowOf_.try_emplace(g.id, tree_.groups.size());
    e.row = at->second;
    e.added = isNew;
    if (!isNew) e.filesBefore = tree_.groups[e.row].files.size();
    if (notify) notify(e, false);
    if (isNew) {
      tree_.groups.push_back(std::move(g));
    } else {
      // A group only grows while its search runs; the rows it had keep their place.
      tree_.groups[e.row] = std::move(g);
    }
    if (notify) notify(e, true);
  }
}

}  // namespace twinex
