#pragma once
// The file manager: carries out one action on the selected files of a result (delete, copy or
// move into a backup folder, move to the trash, rename by template), optionally puts a hard
// link or a symbolic link to a kept file in each processed file's place, logs every step, sums
// up and updates the result.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "actions/action_settings.h"
#include "platform/run_control.h"
#include "results/result_tree.h"
#include "settings/prompt.h"

namespace twinex {

struct ActionProgress {
  std::string action;       // caption of the action
  std::string currentFile;  // "Aktuelle Datei :"
  std::size_t done = 0;     // "Dateien bearbeitet :"
  std::size_t total = 0;
  std::int64_t elapsedSeconds = 0;
};

// What a run tells its front end. Calls come from the thread that runs the action.
class ActionObserver {
 public:
  virtual ~ActionObserver() = default;
  // One line of the action log (without timestamp); error lines are marked.
  virtual void OnLog(const std::string& /*text*/, bool /*isError*/) {}
  // At most about once per refresh interval, and once at the end.
  virtual void OnProgress(const ActionProgress& /*progress*/) {}
};

// The action log: a file the run appends its lines to through the program's log writer.
struct ActionLogTarget {
  std::string path;  // empty: lines go to the observer only
  // Writes one line on the open file; returns the error text or "".
  std::function<std::string(int fd, const std::string& text, bool isError)> write;
};

struct FileManagerRequest {
  FileManagerSettings settings;
  bool dryRun = false;                   // log what would happen, change nothing
  std::vector<int> protectedSources;     // source folder numbers ("qnr") protected besides the rows' own flag
  std::vector<std::string> sourceFolders;  // folder of source number n at n-1: no target inside a source
  // "GroupAction" 1: whether the group filter shows a group (all groups when empty).
  std::function<bool(const ResultGroup&)> groupShown;
  std::function<void()> undoReset;       // the selection's undo list is cleared after the run
  ActionLogTarget log;
  std::uint64_t hardLinkLimit = 1024;    // links one file may have; tests lower it
  std::string archiver = "7zz";
  int refreshMilliseconds = 250;
  RunControl* run = nullptr;             // stop and pause of this run; null: it makes its own
  // Lock file held around each file's check and change (kActionLockName in the data folder),
  // so that file actions of other processes never interleave with ours; empty: none.
  std::string lockPath;
};

struct FileManagerCounters {
  std::size_t toProcess = 0;  // selected files of the groups taken
  std::size_t processed = 0;
  std::size_t deleted = 0;
  std::size_t copied = 0;
  std::size_t moved = 0;
  std::size_t trashed = 0;
  std::size_t renamed = 0;
  std::size_t shortcuts = 0;
  std::size_t hardlinks = 0;
  std::size_t errors = 0;
  std::size_t skipped = 0;
  std::size_t protectedFiles = 0;
  std::size_t protectedGroups = 0;
  std::size_t protectedGroupFiles = 0;
  std::size_t groupsAllSelected = 0;
  std::size_t groupsRemoved = 0;
  std::size_t filesRemoved = 0;
  std::size_t foldersDeleted = 0;
};

struct FileManagerOutcome {
  bool started = false;    // false: a start check or the safety question stopped it
  bool cancelled = false;
  std::string refusal;     // why it did not start
  FileManagerCounters counters;
  std::vector<std::string> summary;  // the summary lines as logged
};

// Runs one action over the result. Stops between files, and inside a long copy, when the run
// control asks; waits while it is paused.
FileManagerOutcome FileManager_Run(ResultTree& tree, const FileManagerRequest& request, ActionObserver& observer,
                                   Prompt& prompt);

// The question before "IgnoreGroupsAllFilesSelected" is switched off; true when confirmed.
bool ConfirmProcessAllFilesOfGroups(Prompt& prompt);
// The caption of an action ("Dateien löschen" …).
std::string ActionCaption(FileAction action);

}  // namespace twinex
