#pragma once
// Searches of the audio methods over the fixture folder, and their groups as sorted name lists.
#include <algorithm>
#include <string>
#include <vector>

#include "search/search.h"
#include "search/search_fixture.h"
#include "similar/similar_names_method.h"

namespace twinex::test {

using Groups = std::vector<std::vector<std::string>>;

inline Groups GroupsOf(const Search& s) {
  Groups out;
  for (const ResultGroup& g : s.result.groups) {
    std::vector<std::string> names;
    for (const ResultFile& f : g.files) names.push_back(f.dupname);
    std::sort(names.begin(), names.end());
    out.push_back(names);
  }
  std::sort(out.begin(), out.end());
  return out;
}

struct AudioSearch {
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome outcome;

  AudioSearch(const MainSettings& m, SearchEnvironment env = {}) {
    similar::InstallSimilarMethods();
    env.programTempFolder = "/nonexistent-twinex-temp";
    outcome = StartSearchForDups(m, env, observer, prompt);
  }
  const Search& search() const { return *outcome.search; }
  Groups groups() const { return GroupsOf(*outcome.search); }
  bool LoggedStartingWith(const std::string& start, bool isError) const {
    for (const auto& l : isError ? observer.errors : observer.log)
      if (l.rfind(start, 0) == 0) return true;
    return false;
  }
};

}  // namespace twinex::test
