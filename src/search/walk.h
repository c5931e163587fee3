#pragma once
// The two walks over a source folder: the counting walk that learns the totals for the
// progress display, and the collecting walk that hands every accepted file on.
#include <string>
#include <string_view>

namespace twinex {

class Search;

// Counting walk: every file entry advances totalFiles (no file filter), archives totalArchives.
void Search_GetSourceFolderFileCount(Search& search, const std::string& folder);
// Collecting walk: filters, calls the per-file step and the archive step.
void Search_GetFiles(Search& search, const std::string& folder);

// The archive-name rules: the type passed on ("", "rar", "7z", "zip", "tar") when the file is
// an archive that the enabled types take; false when it is not one.
bool ArchiveTypeOfName(const Search& search, std::string_view name, std::string_view lowerExt, std::string& type);

// Whether the once-a-second progress is due.
bool ProgressDue(const Search& search);
// Progress and memory watch; called from the walks about once a second.
void Search_ShowProgress(Search& search, const std::string& currentFolder, bool counting);
// Waits while the search is paused (returns when resumed or stopped).
void Pause(Search& search);

}  // namespace twinex
