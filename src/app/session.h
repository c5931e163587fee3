#pragma once
// One user's session with the program, toolkit-free: the settings, the search and its result,
// the selection with its undo list, the file actions, the export and the closing steps, in that
// order of dependence. The command line is a thin front end over it and the desktop program
// another; neither repeats what happens here. Work runs on the session's worker thread, and
// every run has its own stop, pause and skip control.
#include <cstddef>
#include <functional>
#include <future>
#include <memory>
#include <string>

#include "actions/file_manager.h"
#include "actions/single_file_actions.h"
#include "app/command_line.h"
#include "app/startup.h"
#include "app/work_runner.h"
#include "platform/desktop.h"
#include "platform/run_control.h"
#include "results/export.h"
#include "results/removal_commands.h"
#include "results/saved_results.h"
#include "results/selection.h"
#include "results/selection_tools.h"
#include "search/search.h"

namespace twinex {

// What changed, for front ends that show the result. Called on the worker thread.
class SessionListener {
 public:
  virtual ~SessionListener() = default;
  // A search put groups into the result (first group index, number of groups).
  virtual void OnGroupsAdded(std::size_t /*first*/, std::size_t /*count*/) {}
  // Rows left the result or changed (a file action, a removal command).
  virtual void OnRowsChanged() {}
  // The check marks changed; the counters hold the new totals.
  virtual void OnSelectionChanged(const ResultCounters& /*counters*/) {}
  // A job ended on an unexpected error (it is in "error.txt" already).
  virtual void OnError(const WorkError& /*error*/) {}
};

// Where a session's runs report and ask.
struct SessionPorts {
  SearchObserver& search;   // log lines and progress of searches (the session writes the logs)
  ActionObserver& actions;  // log lines and progress of file actions
  Prompt& prompt;           // every question
  SessionListener* listener = nullptr;
};

// The result window's actions on single files.
enum class FileCommand { DeleteSelected, DeleteOthers, Move, Copy, Rename };

struct FileCommandRequest {
  FileCommand command = FileCommand::DeleteSelected;
  MarkedRow row;              // the row the command was given on (DeleteOthers keeps it)
  std::string folder;         // Move, Copy
  std::string newName;        // Rename
};

// How the last search ended.
struct SearchReport {
  bool started = false;       // false: a start check refused it, or no search ran yet
  int stopReason = kStopNone;  // kStopNone when it ran to its end
  bool Complete() const { return started && stopReason == kStopNone; }
};

class Session {
 public:
  explicit Session(SessionPorts ports);
  ~Session();  // the closing sequence, without writing the settings
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The start-up sequence; "" or why the program cannot start.
  std::string Start(const StartupRequest& request);
  // The main window's load of the settings: from the user's settings file, or from another
  // settings file or profile when one is named.
  void LoadSettings(const std::string& file = "");
  // Applies the program's own command line (switches, folders, profile) to the settings.
  void ApplyCommandLine(const std::string& rawCommandLine, CommandLineOutcome* outcome);

  AppSession& app() { return app_; }
  MainSettings& settings() { return settings_; }
  const std::string& settingsFile() const { return settingsFile_; }

  // ---- Search ----
  // The after-search action of the next searches: 0 none, 1 standby, 2 hibernation.
  void SetAfterSearchAction(int action) { afterSearchAction_ = action; }
  int afterSearchAction() const { return afterSearchAction_; }
  // Where the after-search actions reach the desktop; null: the running system's.
  void SetDesktop(platform::Desktop* desktop) { desktop_ = desktop; }
  // The environment a search gets from the program's folders and options.
  SearchEnvironment MakeSearchEnvironment() const;
  // Runs a search to its end on the worker; the result replaces the previous one, and the
  // selection and undo list start afresh.
  SearchReport RunSearch(SearchEnvironment env, std::function<void(Search&)> configure = {});
  // The same without waiting; the search takes a copy of the settings at once, so the front end
  // may edit them while it runs.
  std::future<SearchReport> StartSearch(SearchEnvironment env, std::function<void(Search&)> configure = {});
  const SearchReport& lastSearch() const { return lastSearch_; }
  Search* search() { return search_.get(); }
  RunControl& searchControl() { return searchRun_; }

  // ---- Selection ----
  // Null until a search has made a result.
  Selection* selection() { return selection_.get(); }
  SelectOutcome Select(SelectToolId id, const SelectRequest& request);
  std::size_t Undo();

  // The description of the result (method and criteria) and the search log's header lines, for
  // exports and the window caption; a loaded result keeps those of its search.
  const std::string& resultDescription() const { return description_; }
  const std::vector<std::string>& resultDescriptionLines() const { return descriptionLines_; }
  // The name the result was saved under or loaded from; empty for an unsaved result.
  const std::string& resultName() const { return resultName_; }

  // ---- Saved results ----
  // Report_Save: saves the result under the name (or, with autoSave, the next "AutoSave" name),
  // with the search log copied beside it.
  SaveResultOutcome SaveResult(const std::string& name, bool autoSave = false);
  // Report_Laden: the saved result replaces the current one, with its selection, its source
  // folders and how its search ended (a stopped search's result stays closed to file actions).
  // "" or the message, which has been shown through the prompt too.
  std::string LoadResult(const std::string& name);

  // ---- Removal commands ----
  // Takes rows or groups out of the result (the files stay on disk); the rows removed.
  std::size_t Remove(RemovalId id, const RemovalRequest& request);

  // ---- File actions ----
  // Why no file action may run on the result now, or "": a search that did not run to its end
  // leaves a partial result, and acting on it could treat a file as a lone copy or miss the one
  // copy that would have been kept.
  std::string ActionRefusal() const;
  // Runs the file manager on the result (refused as above); the rows it changed follow.
  FileManagerOutcome RunAction(FileManagerRequest request);
  RunControl& actionControl() { return actionRun_; }
  // One of the result window's single-file actions (refused as above). "LoeschenBestaetigen"
  // confirms each deletion; for the checked files it counts as on until switched off ("0").
  SingleFileOutcome RunFileCommand(const FileCommandRequest& request);

  // ---- Export ----
  ExportOutcome Export(ExportRequest request);

  // Stops whatever runs now. Safe in a signal handler.
  void RequestStop(int reason) noexcept;

  // The search window closes: its log joins the general log and becomes the last search's log.
  // Returns the error of that step or "".
  std::string CloseSearchLog();

 private:
  SearchReport SearchOnWorker(const MainSettings& settings, SearchEnvironment env,
                              const std::function<void(Search&)>& configure);
  void NotifySelection();
  // Where the file actions log, and the lock they share with other programs.
  ActionLogTarget ActionLogOfSearch() const;
  std::string ActionLockPath() const;
  SaveResultOutcome SaveResultOf(const Search& search, int stopReason, const std::string& description,
                                 const std::vector<std::string>& lines, const std::string& name, bool autoSave);
  // A new result (searched or loaded) is in search_: the selection starts afresh.
  void TakeNewResult();

  SessionPorts ports_;
  AppSession app_;
  bool started_ = false;
  MainSettings settings_;
  std::string settingsFile_;
  std::unique_ptr<SearchObserver> searchLog_;
  RunControl searchRun_;
  RunControl actionRun_;
  RunControl exportRun_;
  std::unique_ptr<Search> search_;
  std::unique_ptr<Selection> selection_;
  SearchReport lastSearch_;
  std::string description_;
  std::vector<std::string> descriptionLines_;
  std::string resultName_;
  int afterSearchAction_ = 0;
  platform::Desktop* desktop_ = nullptr;
  // Last member: its thread ends before the state its jobs use goes away.
  WorkRunner work_;
};

}  // namespace twinex
