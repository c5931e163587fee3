#include "similar/similar_rows.h"

#include "search/result_rows.h"
#include "search/search.h"

namespace twinex::similar {

void SimilarRows::Apply(Search& s, const GroupChange& change, const Caption& caption, const RowValues& values) {
  if (change.group < 0) return;
  const auto groupNr = static_cast<std::size_t>(change.group);
  if (groupNr >= resultGroup_.size()) resultGroup_.resize(groupNr + 1, 0);
  for (const SimilarMember& m : change.added) {
    const long index = recordOf_[m.item];
    FileRecord& record = s.files.Record(index);
    record.PercentMatch = m.percent;
    if (resultGroup_[groupNr] == 0) {
      ResultGroup& opened = Search_AddNewGroup(s, index);
      if (caption)
        if (std::string text = caption(index); !text.empty()) opened.dupname = std::move(text);
      resultGroup_[groupNr] = opened.id;
    }
    ResultGroup* group = s.result.FindGroup(resultGroup_[groupNr]);
    if (!group) continue;
    // The record belongs to a group now: the closing steps leave it out of the files without
    // duplicates and keep its archive copy.
    record.GroupID = group->id;
    Search_AddNodeFromCollection(s, *group, record);
    if (values && !group->files.empty()) values(index, group->files.back());
  }
}

}  // namespace twinex::similar
