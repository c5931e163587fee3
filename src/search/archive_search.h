#pragma once
// Archives inside a search: listing an archive the walk found into member records, the
// temporary copies their content comparison reads, and removing copies no longer needed.
#include <string>

namespace twinex {

class Search;
struct FileRecord;

// The walk's archive step (Search::scanArchive).
void Search_ScanArchive(Search& s, const std::string& fullPath, const std::string& ext, const std::string& type);

// The file whose content stands for the record: the file itself, or an archive member's
// temporary copy (made on first use). False when the copy cannot be made (logged, the record
// is marked erroneous) or the user stopped or gave up the extraction.
bool Search_ContentPath(Search& s, long index, std::string& path);

// Where a member's temporary copy lies, or "" when it has none.
std::string Search_TempCopyPath(const Search& s, const FileRecord& r);

// Deletes a member's temporary copy (after its checksum, when the settings ask for it).
void Search_DropTempCopy(Search& s, long index);

// Search_DeleteTempFiles: the copies of members that stayed without a duplicate.
void Search_DeleteTempCopiesWithoutDups(Search& s);

}  // namespace twinex
