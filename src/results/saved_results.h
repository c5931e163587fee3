#pragma once
// Saved search results in the "data" folder: N".asr4a" (the rows), N".ini4a" (section
// "General": counters, search method and criteria, description, source folders) and N".txt"
// (a copy of the search log). Saving writes the rows through a temporary file and a rename, so a
// failed save leaves an earlier result of that name as it was.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "results/result_rows_file.h"
#include "results/result_tree.h"
#include "settings/prompt.h"

namespace twinex {

// The ".ini4a" keys besides the counters, which come from the result itself.
struct SavedResultInfo {
  int searchMethod = 0;
  std::string searchCriteria;      // the eight criterion flags as "0"/"1" digits
  std::string searchCriteriaDesc;  // the description, also the comment of the list
  struct Source {
    std::string path;             // "Context"
    bool includeSubfolders = true;  // "ContextA"
    bool fileProtection = false;    // "ContextS"
    std::uint64_t volume = 0;       // one of "ContextQserials"
  };
  std::vector<Source> sources;
  bool unicode = true;
};

struct SavedResultFiles {
  std::string rows, info, log;
};
SavedResultFiles SavedResultPaths(const std::string& dataFolder, const std::string& name);

// Why the text cannot name a saved result, or "".
std::string ResultNameError(const std::string& name);
// "AutoSave" and the smallest three-digit number not yet used.
std::string NextAutoSaveName(const std::string& dataFolder);

struct SaveResultRequest {
  std::string dataFolder;
  std::string name;
  bool autoSave = false;       // the name is made, nothing is asked
  std::string searchLog;       // copied to N".txt" when it exists
  ResultRowsHeader rowsHeader;
  SavedResultInfo info;
  std::function<void(const std::string& text)> status;  // "Bitte warten, ..."
};

struct SaveResultOutcome {
  bool saved = false;
  std::string name;   // the name saved under (AutoSave names are made here)
  std::string error;  // why it failed ("" when declined by the user)
};

// Report_Save. Asks before an existing result of the name is replaced.
SaveResultOutcome Report_Save(const ResultTree& tree, const SaveResultRequest& request, Prompt& prompt);

struct LoadedResult {
  std::string error;  // the whole message shown when nothing was loaded
  ResultTree tree;
  ResultRowsHeader rowsHeader;
  SavedResultInfo info;
  bool ok() const { return error.empty(); }
};

// Report_Laden: reads and checks the three files; nothing is loaded on any error. The rows'
// display keeps `display` (the current date and size formats).
LoadedResult Report_Laden(const std::string& dataFolder, const std::string& name, const ResultDisplay& display = {});

// One row of the main window's list of saved results.
struct SavedResultEntry {
  std::string name;
  std::int64_t dupCount = 0;   // "Duplikate"
  std::uint64_t bytes = 0;     // "Größe": the size of the saved files
  double created = 0;          // "Erstellt": when the rows were written (Date value)
  std::string comment;         // "Kommentar": SearchCriteriaDesc
  bool hasLog = false;
};
std::vector<SavedResultEntry> Init_SearchResults(const std::string& dataFolder);

// Renames the three files; refused when a result of the new name exists. "" or the error.
std::string Searchresult_Rename(const std::string& dataFolder, const std::string& name, const std::string& newName);
// Asks, then deletes N".asr4a" and N".ini4a" (the log copy stays). True when deleted.
bool Searchresult_Delete(const std::string& dataFolder, const std::string& name, Prompt& prompt, std::string* error = nullptr);
// Writes the comment (SearchCriteriaDesc). "" or the error.
std::string Searchresult_Save_Comment(const std::string& dataFolder, const std::string& name, const std::string& comment);

}  // namespace twinex
