#pragma once
// The options of twinex-cli itself (those starting with "--"); everything else is the
// program's own command line.
#include <string>
#include <vector>

#include "cli/cli_actions.h"

namespace twinex::cli {

// One --select / --deselect, its value checked already (cli_select.h).
struct SelectStep {
  bool deselect = false;
  std::string tool;
  std::string value;
  bool hasValue = false;
};

struct CliOptions {
  std::string settingsFile;  // --settings FILE
  int answer = 0;            // --yes 1, --no -1, else 0 (take the answer that loses nothing)
  std::string logFile;       // --log FILE; "-" standard output; empty standard error
  // The result: without --export the text report goes to standard output.
  std::string exportFile;    // --export FILE (.txt, .csv or .xlsx)
  bool fileList = false;     // --file-list
  std::string which;         // --which all|selected|unselected
  std::string delimiter;     // --delimiter comma|semicolon|tab|space|TEXT
  bool listProfiles = false;   // --profiles
  std::string saveProfile;     // --save-profile NAME
  std::string comment;         // --comment TEXT (with --save-profile)
  bool commentGiven = false;
  std::string dbCommand;        // --db-info, --db-clean, --db-clear or --db-new
  // Saved results.
  std::string saveResult;       // --save NAME: save the result (after selections and action)
  bool autoSave = false;        // --autosave: save it under the next "AutoSave" name
  std::string loadResult;       // --load NAME: work on a saved result instead of searching
  bool listResults = false;     // --results
  std::string renameResult, renameResultTo;  // --rename-result NAME NEWNAME
  std::string deleteResult;     // --delete-result NAME
  // A command that works on the saved results alone (no search, no loaded result).
  bool ResultCommand() const { return listResults || !renameResult.empty() || !deleteResult.empty(); }
  std::vector<SelectStep> selections;  // --select / --deselect TOOL[=VALUE], in order
  int selectionMode = 0;               // --mode N
  ActionOptions action;                // --action and its options
  bool help = false;
  bool version = false;
  std::vector<std::string> arguments;
};

// Returns an error text for a usage error, "" otherwise.
std::string ParseCliOptions(int argc, char** argv, CliOptions& options);
const char* UsageText();

}  // namespace twinex::cli
