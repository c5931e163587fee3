#include "similar/similar_rows.h"

#include "search/result_rows.h"
#include "search/search.h"

namespace twinex::similar {

void SimilarRows::Apply(Search& s, const GroupChange& change) {
  if (change.group < 0) return;
  const auto groupNr = static_cast<std::size_t>(change.group);
  if (groupNr >= resultGroup.size()) resultGroup.resize(groupNr + 1, 0);
  for (const SimilarMember& m : change.added) {
    const long index = recordOf[m.item];
    FileRecord& record = s.files.Record(index);
    record.PercentMatch = m.percent;
    if (resultGroup[groupNr] == 0) resultGroup[groupNr] = Search_AddNewGroup(s, index).id;
    ResultGroup* group = s.result.FindGroup(resultGroup[groupNr]);
    if (group) Search_AddNodeFromCollection(s, *group, record);
  }
}

}  // namespace twinex::similar
