#pragma once
// One search from the start button to the summary.
#include <functional>
#include <memory>
#include <string>

#include "search/search.h"

namespace twinex {

class Prompt;

// The start checks in their order; the first failure goes through the prompt and refuses the
// start (nothing is changed). True when the search may start.
bool ValidateSearchStart(const MainSettings& settings, Prompt& prompt);

// Whether two ticked source folders overlap (the first overlapping pair, in list order).
bool FindOverlappingSources(const std::vector<SourceFolder>& sources, std::string& first, std::string& second);

struct SearchOutcome {
  bool started = false;
  // Why the search ended early: kStopNone only when it ran to its end, so a front end never
  // takes a partial result for a complete one; kStopFailed when it ended on an error.
  int stopReason = kStopNone;
  std::unique_ptr<Search> search;  // the finished search with its counters (and later, results)
};

// Validates, writes the separator to the general log, compiles the filters (asking the filter
// question when set), copies the settings and runs the search to its end. `configure` sees the
// search before it starts (front ends keep a handle for their controls; tests attach recorders).
SearchOutcome StartSearchForDups(const MainSettings& settings, SearchEnvironment env, SearchObserver& observer,
                                 Prompt& prompt, const std::function<void(Search&)>& configure = {});

void Init_Variablen(Search& search);
void Search_Start(Search& search);

// Asks "Soll die Suche abgebrochen werden?"; Yes requests the stop of `run` with reason 5.
bool CancelSearch(Prompt& prompt, RunControl& run);

// The search-log header lines, in their order.
std::vector<std::string> SearchLogHeader(const Search& search);

}  // namespace twinex
