#include "similar/similar_names_method.h"

#include <memory>
#include <vector>

#include "search/search.h"
#include "search/search_method.h"
#include "similar/similar_music_method.h"
#include "similar/similar_names.h"
#include "similar/similar_pictures_method.h"
#include "similar/similar_rows.h"
#include "similar/track_length_method.h"

namespace twinex::similar {
namespace {

// The grouping of one search, and where each compared file's record and group row are.
struct NamesState : SearchMethodState {
  NamesState(Search& s)
      : names(NameCompareOptionsFrom(s.settings), s.scope, s.run) {}
  SimilarNames names;
  SimilarRows rows;
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
    const GroupChange change = state.names.Add(s.files.Name(current), s.files.Extension(current), current.SourceNr,
                                               s.scope == 3 ? s.files.RelativeFolder(0) : std::string());
    s.counters.fileComparisons += state.names.Groups().Counters().comparisons - before;
    // Every file stays in the table: a later file may find it alike.
    state.rows.AddItem(s.files.Add("", std::move(current)));
    state.rows.Apply(s, change);
  }
};

}  // namespace

void InstallSimilarMethods() {
  static const SimilarNamesSearchMethod names;
  InstallSearchMethod(kMethodSimilarNames, names);
  InstallSimilarPicturesMethod();
  InstallSimilarMusicMethod();
  InstallTrackLengthMethod();
  InstallAudioColumns();
}

}  // namespace twinex::similar
