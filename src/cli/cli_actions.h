#pragma once
// The file manager from the command line: --action delete|trash|copy|move|rename with its
// options, run after the selections and before the result is written. The stored choices of
// the file manager (section "Aktionen") are the defaults; the options override them.
#include <string>
#include <string_view>
#include <vector>

namespace twinex {
class Session;
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
class ArgCursor;
// Takes one action option (and its value) into the options; a usage error or "".
std::string ParseActionOption(std::string_view option, ArgCursor& args, ActionOptions& options);
// The options that only make sense together; a usage error or "".
std::string CheckActionOptions(const ActionOptions& options);
std::string ActionUsage();

// --protect N turns on the file protection of the N-th ticked source folder before the search,
// so its rows are protected for the selection tools as well as for the action.
void ApplyProtection(MainSettings& settings, const CliOptions& options);

// Runs the file action on the session's result. Returns the exit code contribution: 0 done (or
// none asked), 1 refused (also after a search that did not run to its end), cancelled or with
// errors.

int RunCliAction(Session& session, const CliOptions& options);

}  // namespace twinex::cli
