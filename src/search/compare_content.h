#pragma once
// Whether two files of the file table that share all property keys have the same content.
#include "search/content_compare.h"
#include "search/content_sample.h"
#include "search/file_checksum.h"

namespace twinex {

class Search;

// What the comparisons of one search keep between calls: read buffers, the digest object and
// the first looks at large files. Held by the Search, so nothing outlives it.
struct ContentWorkspace {
  CompareBuffers compare;
  ChecksumWorkspace checksum;
  ContentSamples samples;
};

// indexNew is the file just found, indexFirst the first file of a slot. Both records may be
// updated: their digests, their error flags, their match percentages.
bool Search_CompareContent(Search& search, long indexNew, long indexFirst);

// Whether this search compares exact contents byte by byte, where a cheap print of each file
// sorts out most pairs before any full comparison.
bool UsesContentPrints(const Search& search);
// The print of a record's compared range; false when it cannot be taken (the full comparison
// then decides, and reports any error).
bool Search_ContentPrint(Search& search, long index, std::uint64_t& print);
// The print of the whole compared range, for files whose cheap prints agree.
ContentSamples::FullPrintOutcome Search_ContentFullPrint(Search& search, long index, std::uint64_t& print);
// The file table's record 0 holds a new checked file, or was stored as record `index`: the
// comparison's looks at the file follow it.
void Search_ContentNewCheckedFile(Search& search);
void Search_ContentStored(Search& search, long index);

}  // namespace twinex
