#pragma once
// Filters compiled for one search: classification, wildcard matching, file- and folder-level tests.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/source_folders.h"
#include "settings/wildcard.h"

namespace twinex {

class Prompt;

// Kind of a compiled filter text: 0 name exact, 1 path exact, 2 name wildcard, 3 path wildcard.
int FilterTyp_Festlegen(std::string_view text, bool wildcardsAsText);

// WildcardMatch and IsValidWildcardPattern live in settings/wildcard.h.
// ValidateFilterWildcards: with showMessage the warning goes through the prompt.
bool ValidateFilterWildcards(std::string_view text, bool showMessage, Prompt* prompt);

std::string EscapeWildcards(std::string_view text);
std::string UnescapeWildcards(std::string_view text);
void Filter_Escape_Wildcards(std::vector<FilterRow>& rows);
void Filter_Unescape_Wildcards(std::vector<FilterRow>& rows);
// Unticks the rows whose text is not a valid wildcard pattern (wildcards-as-text switched off).
void UntickInvalidWildcardRows(std::vector<FilterRow>& rows);

// Replaces every %NAME% whose variable has a non-empty value.
std::string ReplaceSystemvariablen(std::string_view text);

struct CompiledFilter {
  std::string text;  // folded unless the list is case-sensitive, variables replaced
  int kind = 0;
  bool valid = true;
  WildcardPattern pattern;  // parsed once for the wildcard kinds 2 and 3
};

struct CompiledFilters {
  std::vector<CompiledFilter> fileEntries;
  std::vector<CompiledFilter> folderEntries;
  FilterListOptions fileOptions;
  FilterListOptions folderOptions;

  bool nullByte = false;
  bool dateActive = false;
  int dateType = 0;
  long long dateDay = 0;  // whole day number (rounded)

  bool sizeActive = false;
  SizeBound size1;
  double size1Number = 0;
  bool size2Active = false;
  SizeBound size2;
  double size2Number = 0;

  bool Check_Filter_Dateien(std::string_view name, std::string_view fullPath) const;
  bool Check_Filter_Ordner(std::string_view name, std::string_view fullPath) const;
  // Inclusive/exclusive applied: true when the folder is to be skipped.
  bool FolderRejected(std::string_view name, std::string_view fullPath) const;
  bool FolderFilterActive() const { return !folderEntries.empty(); }
  bool FileFilterActive() const { return !fileEntries.empty(); }
  // The file-level test in its order: zero-byte, date, size, file filter. True = excluded.
  bool Search_CheckFileFilter(std::uint64_t size, std::string_view name, std::string_view fullPath,
                              double modified, double created) const;
};

// Compiles filters and exclusions for one search. With "FilterVerwendenBest" and an active
// filter, asks "Sollen die Datei- und Ordnerfilter bei der Suche verwendet werden?"; No drops
// the file and folder filters and the size exclusion for this search.
CompiledFilters Init_FilterOptionen(const SourcesAndFilters& sf, bool nullByte, bool confirmUse, Prompt* prompt);

// The ignore-characters / ignore-texts clean-up of file names.
struct NameCleanup {
  bool ignoreChars = false;
  std::vector<std::string> chars;  // each one character, first occurrences only
  bool ignoreText = false;
  std::vector<std::string> texts;  // split at "/"
  std::string Search_ReplaceFileNameChars(std::string_view name) const;
  std::string Search_ReplaceFileNameText(std::string_view name) const;
};
NameCleanup PrepareNameCleanup(bool ignoreChars, std::string_view charsText, bool ignoreText, std::string_view textText);

}  // namespace twinex
