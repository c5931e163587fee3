#pragma once
// The file manager from the command line: --action delete|trash|copy|move|rename with its
// options, run after the selections and before the result is written. The stored choices of
// the file manager (section "Aktionen") are the defaults; the options override them.
#include <string>
#include <string_view>
#include <vector>

namespace twinex {
class Search;
class Prompt;
class SearchObserver;
struct MainSettings;
}  // namespace twinex

namespace twinex::cli {

struct CliOptions;

struct ActionOptions {
  std::string action;          // --action NAME; empty: no file action
  std::string target;          // --target DIR
  int keepStructure = -1;      // --keep-structure 1, --flat 0, -1 as stored
  std::string subfolder;       // --subfolder TEMPLATE (empty: no subfolder)
  bool subfolderGiven = false;
  std::string renameTemplate;  // --rename TEMPLATE
  bool renameGiven = false;
  bool hardlink = false;       // --hardlink
  bool symlink = false;        // --symlink
  bool zeroSize = false;       // --zero-size
  bool dryRun = false;         // --dry-run
  std::vector<int> protect;    // --protect N (repeatable)
};

bool IsActionOption(std::string_view option);
// Takes one action option (and its value from argv) into the options; a usage error or "".
std::string ParseActionOption(std::string_view option, int argc, char** argv, int& i, ActionOptions& options);
// The options that only make sense together; a usage error or "".
std::string CheckActionOptions(const ActionOptions& options);
std::string ActionUsage();

// Runs the file action on the search's result; terminal shows the log lines. Returns the exit
// code contribution: 0 done (or none asked), 1 refused, cancelled or with errors.
// --protect N turns on the file protection of the N-th ticked source folder before the search,
// so its rows are protected for the selection tools as well as for the action.
void ApplyProtection(MainSettings& settings, const CliOptions& options);

int RunCliAction(Search& search, const CliOptions& options, const std::string& settingsFile, SearchObserver& terminal,
                 Prompt& prompt);

}  // namespace twinex::cli
