#include "similar/similar_names_method.h"

#include <memory>
#include <vector>

#include "search/result_rows.h"
#include "search/search.h"
#include "search/search_method.h"
#include "similar/similar_music_method.h"
#include "similar/similar_names.h"
#include "similar/track_length_method.h"

namespace twinex::similar {
namespace {

// The grouping of one search, and where each compared file's record and group row are.
struct NamesState : SearchMethodState {
  NamesState(Search& s)
      : names(NameCompareOptionsFrom(s.settings), s.scope, s.run) {}
  SimilarNames names;
  std::vector<long> recordOf;    // file number -> index in the file table
  std::vector<int> resultGroup;  // grouping's group number -> group row id
};

class SimilarNamesSearchMethod : public SearchMethod {
 public:
  void SetCriteria(const SearchSettings&, std::array<bool, 8>& c) const override { c[kCritName] = true; }
  void AddLogLines(const Search& s, std::vector<std::string>& lines) const override { SimilarNamesLogLines(s, lines); }

  void CheckFile(Search& s) const override {
    if (!s.methodState) s.methodState = std::make_unique<NamesState>(s);
    NamesState& state = static_cast<NamesState&>(*s.methodState);
    FileRecord& current = s.files.Record(0);
    const std::uint64_t before = state.names.Groups().Counters().comparisons;
    const GroupChange change = state.names.Add(current.Name(), current.Extension(), current.SourceNr,
                                               s.scope == 3 ? s.files.RelativeFolder(0) : std::string());
    s.counters.fileComparisons += state.names.Groups().Counters().comparisons - before;
    // Every file stays in the table: a later file may find it alike.
    state.recordOf.push_back(s.files.Add("", std::move(current)));
    if (change.group < 0) return;
    const auto groupNr = static_cast<std::size_t>(change.group);
    if (groupNr >= state.resultGroup.size()) state.resultGroup.resize(groupNr + 1, 0);
    for (const SimilarMember& m : change.added) {
      const long index = state.recordOf[m.item];
      FileRecord& record = s.files.Record(index);
      record.PercentMatch = m.percent;
      if (state.resultGroup[groupNr] == 0) state.resultGroup[groupNr] = Search_AddNewGroup(s, index).id;
      ResultGroup* group = s.result.FindGroup(state.resultGroup[groupNr]);
      if (group) Search_AddNodeFromCollection(s, *group, record);
    }
  }
};

}  // namespace

void InstallSimilarMethods() {
  static const SimilarNamesSearchMethod names;
  InstallSearchMethod(kMethodSimilarNames, names);
  InstallSimilarMusicMethod();
  InstallTrackLengthMethod();
  InstallAudioColumns();
}

}  // namespace twinex::similar
