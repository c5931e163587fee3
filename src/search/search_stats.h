#pragma once
// The statistics lines of the search log: the periodic one-line statistics and the summary.
#include <string>
#include <vector>

namespace twinex {

class Search;

// The statistics so far as one line of items joined by ", ".
std::string Scan_Stats_Line(const Search& search);
void Log_Scan_Stats(Search& search);
// "Alle x Minuten die Suchstatistik … protokollieren": logs the line when the interval passed.
void Log_Scan_Stats_IfDue(Search& search);
// The summary lines logged at the end of a search, in their order.
std::vector<std::string> SummaryLines(const Search& search, std::uint64_t foldersSearched);

}  // namespace twinex
