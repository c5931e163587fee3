#pragma once
// The grouping key of a file: "K" and the parts the active criteria contribute, in a fixed
// order. Files that share a key (and, with the content criterion, equal content) are duplicates.
#include <string>
#include <string_view>

namespace twinex {

class Search;
struct FileRecord;

// The name as the name criterion compares it: ignored characters and texts removed, then cut
// by the file-name compare method.
std::string ComparisonName(const Search& search, std::string_view nameWithoutExtension);

// The key of a file whose record is filled (name, extension, effective size, dates, attributes,
// source number, hard-link identity); `relativeFolder` is used by scope 3.
std::string BuildSearchKey(const Search& search, const FileRecord& record, std::string_view relativeFolder);

// Whether the key ends in the content marker, so that files are stored in numbered slots.
bool UsesSlots(const Search& search);

}  // namespace twinex
