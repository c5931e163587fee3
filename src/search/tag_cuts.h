#pragma once
// Leaves audio tags and picture metadata out of the compared content when the options ask for
// it: the record's cuts and effective size are set from the file's tag sizes.
namespace twinex {

class Search;

// Returns false when the file is to be skipped.
bool ApplyTagCuts(Search& search, long index);

}  // namespace twinex
