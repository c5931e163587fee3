#pragma once
// The per-file step of a search: builds the file's key and compares it with the files met
// before. The walk calls it for every accepted file.
namespace twinex {

class Search;
struct EnumeratedFile;

void Search_CheckFile(Search& search, const EnumeratedFile& file);
// Groups the file being checked by its key (the methods that group by properties).
void Search_GroupByKey(Search& search);

}  // namespace twinex
