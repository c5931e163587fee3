#pragma once
// The source-folder list and the file, folder, size and date filters of the main window.
#include <string>
#include <vector>

namespace twinex {

struct SourceFolder {
  std::string path;
  bool ticked = true;
  bool includeSubfolders = true;
  bool fileProtection = false;
  std::string driveType;  // drive-type text of the folder's mount
  bool operator==(const SourceFolder&) const = default;
};

struct FilterRow {
  std::string text;  // may hold several alternatives separated by "|"
  bool ticked = true;
  bool operator==(const FilterRow&) const = default;
};

// One side's options (file filters or folder filters).
struct FilterListOptions {
  bool enabled = false;         // "Dateifilter verwenden" / "Ordnerfilter verwenden"
  int filterType = 0;           // 0 inclusive, 1 exclusive
  bool wildcardsAsText = false;  // "Platzhalter im Filter als Text behandeln"
  bool caseSensitive = false;   // "Groß- und Kleinschreibung der Filter berücksichtigen"
  bool subfoldersNotFiltered = false;  // folder filters only: "Unterordner nicht filtern"
  bool operator==(const FilterListOptions&) const = default;
};

struct SizeBound {
  int comparison = 0;  // 0 "kleiner als", 1 "größer als"
  int unit = 0;        // 0 Bytes .. 4 TB (powers of 1024)
  std::string number;  // as typed; empty reads as "0" when a search starts
  bool operator==(const SizeBound&) const = default;
};

// Everything of the source and filter panels that a search is given.
struct SourcesAndFilters {
  std::vector<SourceFolder> sources;
  std::vector<FilterRow> fileFilters;
  std::vector<FilterRow> folderFilters;
  FilterListOptions fileOptions{false, 0, false, false, false};
  FilterListOptions folderOptions{true, 1, false, false, false};

  bool dateActive = false;
  int dateType = 0;   // 0 modified before, 1 modified after, 2 created before, 3 created after
  double date = 0;    // Date value

  bool sizeActive = false;
  SizeBound size1{0, 0, ""};
  bool size2Active = false;
  SizeBound size2{1, 0, ""};
  bool operator==(const SourcesAndFilters&) const = default;
};

// Stored options that select nothing (filter kind, date type, size comparison and unit) fall
// back to their defaults.
void ApplyLoadInvariants(SourcesAndFilters& sf);

// Adds a folder unless the list holds it already (compared as the file system compares paths,
// with a trailing separator). Returns false when it was there.
bool Folder_Add_to_List(std::vector<SourceFolder>& list, const std::string& path, bool ticked = true,
                        bool includeSubfolders = true);
// Index of the row that names the same folder as path (as Folder_Add_to_List compares), or -1.
int Folder_Find_in_List(const std::vector<SourceFolder>& list, const std::string& path);
// Adds a filter row unless one with the same text (without regard to case) exists.
bool Filter_Add_to_List(std::vector<FilterRow>& list, const std::string& text, bool ticked);

// The default sets offered on request: system folders, trash folders and lost+found as folder
// filters (ticked); common media and archive patterns as file filters (unticked).
std::vector<std::string> DefaultFolderFilters();
std::vector<std::string> DefaultFileFilters();

}  // namespace twinex
