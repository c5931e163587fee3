#pragma once
// What a file-manager run changes in the result, gathered while it runs and applied at its end:
// processed rows leave ("DateienEntfernen"), renamed rows show their new name, rows of hard
// links show their new link count, groups left with one file leave ("GruppenEntfernen").
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "actions/file_manager.h"

namespace twinex {

struct ResultChanges {
  std::unordered_set<const ResultFile*> processed;
  std::vector<std::pair<ResultFile*, std::string>> renamed;  // row, new name
  std::vector<ResultFile*> linked;                          // rows whose link count changed
};

// Applies the changes; fills groupsRemoved and filesRemoved.
void ApplyResultChanges(ResultTree& tree, const ResultChanges& changes, const FileManagerSettings& settings,
                        FileManagerCounters& counters);

// The summary lines of a run that apply, in their order.
std::vector<std::string> SummaryLines(FileAction action, const FileManagerCounters& counters, bool hardLinks,
                                      bool shortcuts, bool emptyFolders);
// The lines of the result update (after it ran).
std::vector<std::string> ResultUpdateLines(const FileManagerSettings& settings, const FileManagerCounters& counters);

}  // namespace twinex
