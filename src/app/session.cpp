#include "app/session.h"

#include "actions/action_lock.h"
#include "app/command_line.h"
#include "app/error_record.h"
#include "app/logs.h"
#include "app/search_log_writer.h"
#include "platform/file_system.h"
#include "search/search_driver.h"
#include "settings/profiles.h"
#include "similar/file_defects.h"
#include "similar/similar_names_method.h"
#include "similar/similar_pictures_method.h"
#include "settings/settings_file.h"
#include "settings/translate.h"
#include "settings/window_settings.h"

namespace twinex {
namespace {

// The search keeps a share of its control; the session's own member outlives every search, so
// the share owns nothing.
std::shared_ptr<RunControl> Unowned(RunControl& control) { return {std::shared_ptr<void>(), &control}; }

}  // namespace

Session::Session(SessionPorts ports)
    : ports_((similar::InstallSimilarMethods(), ports)),
      searchLog_(std::make_unique<SearchLogWriter>(ports.search)),
      work_([this](const WorkError& e) {
        if (ports_.listener) ports_.listener->OnError(e);
      }) {}

Session::~Session() {
  // Runs still going are told to stop; the worker finishes them before the state goes.
  RequestStop(kStopUser);
  work_.Run("closing", [] {});
  SetDiagnosticRun(nullptr);
  if (started_) ClosingSequence(app_, nullptr);
}

std::string Session::Start(const StartupRequest& request) {
  std::string error = StartupSequence(request, app_);
  started_ = error.empty();
  if (started_) SetDiagnosticRun(&searchRun_);
  return error;
}

void Session::LoadSettings(const std::string& file) {
  settingsFile_ = file.empty() ? app_.paths.settingsFile : file;
  SetSettingsFilePath(settingsFile_);
  SetCurrentProfilePath(settingsFile_);
  LoadMainWindowSettings(app_, settings_);
}

void Session::ApplyCommandLine(const std::string& rawCommandLine, CommandLineOutcome* outcome) {
  Init_Kommandozeile(rawCommandLine, settings_, app_.paths, outcome);
}

SearchEnvironment Session::MakeSearchEnvironment() const {
  SearchEnvironment env;
  env.programFolder = app_.paths.programFolder;
  env.programTempFolder = app_.paths.tempFolder;
  env.database = ChecksumDatabaseLocation(app_.paths);
  env.expandAllGroups = settings_.options.ExpandAllGroups;
  env.dateFormat = settings_.options.DateFormat3;
  env.afterSearchAction = afterSearchAction_;
  env.playSound = settings_.options.PlaySoundAfterSearch;
  env.soundFile = settings_.options.SoundFileAfterSearch;
  platform::Desktop* desktop = desktop_ ? desktop_ : &platform::SystemDesktop();
  env.playSoundFile = [desktop](const std::string& file) { desktop->PlaySound(file); };
  env.requestPowerState = [desktop](bool hibernate) { return desktop->RequestPowerState(hibernate); };
  return env;
}

SearchReport Session::SearchOnWorker(const MainSettings& settings, SearchEnvironment env,
                                     const std::function<void(Search&)>& configure) {
  SearchReport report;
  // The old result goes first: its selection points into it.
  selection_.reset();
  search_.reset();
  env.run = Unowned(searchRun_);
  // The after-search step "save the result" saves under the next AutoSave name, between the
  // sound and the power request, as the search runs its steps.
  Search* running = nullptr;
  std::string autoSaved;
  std::function<void(Search&)> configureAll = [&running, &configure](Search& s) {
    running = &s;
    if (configure) configure(s);
  };
  if (env.saveReport && !env.saveReportHook) {
    env.saveReportHook = [this, &running, &autoSaved] {
      const SaveResultOutcome saved =
          SaveResultOf(*running, running->run.StopReason(), GetSearchDescription(running->settings, true),
                       SearchLogHeader(*running), "", true);
      if (saved.saved) autoSaved = saved.name;
    };
  }
  const bool ran = work_.Run("search", [&] {
    SearchOutcome out = StartSearchForDups(settings, std::move(env), *searchLog_, ports_.prompt, configureAll);
    report.started = out.started;
    report.stopReason = out.stopReason;
    search_ = std::move(out.search);
  });
  if (!ran) {
    // What an unexpected error left behind is no result to act on.
    report.started = search_ != nullptr;
    report.stopReason = kStopFailed;
  }
  lastSearch_ = report;
  resultName_ = autoSaved;
  if (search_) {
    description_ = GetSearchDescription(search_->settings, true);
    descriptionLines_ = SearchLogHeader(*search_);
    TakeNewResult();
  }
  return report;
}

void Session::TakeNewResult() {
  selection_ = std::make_unique<Selection>(search_->result);
  // The picture rule ("most megapixels") reads sizes a row still lacks from the file.
  selection_->readFileInfo = similar::ReadPictureFileInfo;
  selection_->pictureDefect = similar::PictureDefect;
  selection_->audioDefect = similar::AudioDefect;
  if (ports_.listener && !search_->result.groups.empty())
    ports_.listener->OnGroupsAdded(0, search_->result.groups.size());
}

SaveResultOutcome Session::SaveResult(const std::string& name, bool autoSave) {
  if (!search_) {
    SaveResultOutcome out;
    out.error = z_Translate(19001, "Es ist kein Suchergebnis vorhanden.");
    return out;
  }
  SaveResultOutcome out = SaveResultOf(*search_, lastSearch_.stopReason, description_, descriptionLines_, name, autoSave);
  if (out.saved) resultName_ = out.name;
  return out;
}

SaveResultOutcome Session::SaveResultOf(const Search& search, int stopReason, const std::string& description,
                                        const std::vector<std::string>& lines, const std::string& name, bool autoSave) {
  SaveResultRequest r;
  r.dataFolder = app_.paths.dataFolder;
  r.name = name;
  r.autoSave = autoSave;
  r.searchLog = GetLogFiles().searchLog;
  r.rowsHeader.stopReason = stopReason;
  r.rowsHeader.description = description;
  r.rowsHeader.descriptionLines = lines;
  r.info.searchMethod = search.method;
  for (bool c : search.criteria) r.info.searchCriteria += c ? '1' : '0';
  r.info.searchCriteriaDesc = description;
  for (const SourceEntry& e : search.sourceTable)
    r.info.sources.push_back({e.path, e.includeSubfolders, e.fileProtection, e.volume});
  r.status = [this](const std::string& text) { ports_.search.OnStep(text); };
  SaveResultOutcome out;
  work_.Run("save", [&] { out = Report_Save(search.result, r, ports_.prompt); });
  return out;
}

std::string Session::LoadResult(const std::string& name) {
  LoadedResult loaded;
  ResultDisplay display;
  display.dateFormat = settings_.options.DateFormat3.empty() ? display.dateFormat : settings_.options.DateFormat3;
  work_.Run("load", [&] { loaded = Report_Laden(app_.paths.dataFolder, name, display); });
  if (!loaded.ok()) {
    ports_.prompt.Ask(PromptMessage::Composed(loaded.error, PromptButtons::Ok, PromptIcon::Exclamation));
    return loaded.error;
  }
  selection_.reset();
  search_.reset();
  // The loaded rows stand in a search that never runs: its settings say how the result was
  // made, its source table which folders it came from.
  MainSettings made = settings_;
  made.search.SearchMethod = loaded.info.searchMethod;
  made.sources.sources.clear();
  SearchEnvironment env = MakeSearchEnvironment();
  env.run = Unowned(searchRun_);
  search_ = std::make_unique<Search>(made, std::move(env), *searchLog_, ports_.prompt);
  search_->method = loaded.info.searchMethod;
  for (std::size_t i = 0; i < search_->criteria.size() && i < loaded.info.searchCriteria.size(); ++i)
    search_->criteria[i] = loaded.info.searchCriteria[i] == '1';
  int nr = 0;
  for (const SavedResultInfo::Source& src : loaded.info.sources) {
    SourceEntry e;
    e.path = src.path;
    e.SourceNr = ++nr;
    e.includeSubfolders = src.includeSubfolders;
    e.fileProtection = src.fileProtection;
    e.volume = src.volume;
    search_->sourceTable.push_back(std::move(e));
  }
  search_->result = std::move(loaded.tree);
  lastSearch_ = {true, loaded.rowsHeader.stopReason};
  description_ = loaded.rowsHeader.description.empty() ? loaded.info.searchCriteriaDesc : loaded.rowsHeader.description;
  descriptionLines_ = std::move(loaded.rowsHeader.descriptionLines);
  resultName_ = name;
  TakeNewResult();
  return "";
}

SearchReport Session::RunSearch(SearchEnvironment env, std::function<void(Search&)> configure) {
  searchRun_.Reset();
  return SearchOnWorker(settings_, std::move(env), configure);
}

std::future<SearchReport> Session::StartSearch(SearchEnvironment env, std::function<void(Search&)> configure) {
  // Reset here, not on the search's thread: a pause or stop pressed right after the start
  // must not be wiped out by a reset that runs later.
  searchRun_.Reset();
  // The search works on a copy taken now: the window may go on editing the settings.
  return std::async(std::launch::async, [this, settings = settings_, env = std::move(env),
                                         configure = std::move(configure)]() mutable {
    return SearchOnWorker(settings, std::move(env), configure);
  });
}

void Session::NotifySelection() {
  if (ports_.listener && search_) ports_.listener->OnSelectionChanged(search_->result.counters);
}

SelectOutcome Session::Select(SelectToolId id, const SelectRequest& request) {
  SelectOutcome out;
  if (!selection_) {
    out.message = z_Translate(19001, "Es ist kein Suchergebnis vorhanden.");
    return out;
  }
  work_.Run("selection", [&] { out = RunSelectTool(*selection_, id, request); });
  if (out.changed() > 0) NotifySelection();
  return out;
}

std::size_t Session::Undo() {
  std::size_t undone = 0;
  if (!selection_) return 0;
  work_.Run("undo", [&] { undone = selection_->Undo(); });
  if (undone > 0) NotifySelection();
  return undone;
}

std::size_t Session::Remove(RemovalId id, const RemovalRequest& request) {
  std::size_t removed = 0;
  if (!search_) return 0;
  work_.Run("removal", [&] { removed = RunRemoval(search_->result, id, request); });
  if (removed > 0 && ports_.listener) {
    ports_.listener->OnRowsChanged();
    NotifySelection();
  }
  return removed;
}

std::string Session::ActionRefusal() const {
  if (!search_ || !lastSearch_.started) return z_Translate(19001, "Es ist kein Suchergebnis vorhanden.");
  if (!lastSearch_.Complete())
    return z_Translate(19002, "Die Suche wurde nicht vollständig ausgeführt. Dateiaktionen sind nur mit dem Ergebnis "
                              "einer vollständigen Suche möglich.");
  return "";
}

FileManagerOutcome Session::RunAction(FileManagerRequest request) {
  FileManagerOutcome out;
  if (std::string why = ActionRefusal(); !why.empty()) {
    out.refusal = why;
    ports_.prompt.Ask(PromptMessage::Composed(why, PromptButtons::Ok, PromptIcon::Exclamation));
    return out;
  }
  actionRun_.Reset();
  request.run = &actionRun_;
  if (request.lockPath.empty()) request.lockPath = ActionLockPath();
  if (!request.undoReset) request.undoReset = [this] { selection_->UNDO_reset(); };
  for (const SourceEntry& e : search_->sourceTable) request.sourceFolders.push_back(e.path);
  if (!request.log.write) request.log = ActionLogOfSearch();
  work_.Run("file action", [&] { out = FileManager_Run(search_->result, request, ports_.actions, ports_.prompt); });
  if (out.started && ports_.listener) {
    ports_.listener->OnRowsChanged();
    NotifySelection();
  }
  return out;
}

// Two programs acting on the same files take turns file by file.
std::string Session::ActionLockPath() const { return platform::JoinPath(app_.paths.userDataFolder, kActionLockName); }

// The lines join the search's own log, so the last search's log and the general log show the
// search and what was done with its result in order.
ActionLogTarget Session::ActionLogOfSearch() const {
  ActionLogTarget log;
  log.path = GetLogFiles().searchLog;
  log.write = [](int fd, const std::string& text, bool isError) { return Write_To_Log(fd, text, isError); };
  return log;
}

SingleFileOutcome Session::RunFileCommand(const FileCommandRequest& call) {
  SingleFileOutcome out;
  if (std::string why = ActionRefusal(); !why.empty()) {
    ports_.prompt.Ask(PromptMessage::Composed(why, PromptButtons::Ok, PromptIcon::Exclamation));
    return out;
  }
  actionRun_.Reset();
  SingleFileRequest request;
  // Deleting the checked files has no question of its own, so the question per file stays on
  // unless the user switched it off; the other commands ask before they start.
  const std::string confirm = ReadSetting("Optionen", "LoeschenBestaetigen", settingsFile_);
  request.confirmEach = call.command == FileCommand::DeleteSelected ? confirm != "0" : confirm == "1";
  request.run = &actionRun_;
  request.lockPath = ActionLockPath();
  request.log = ActionLogOfSearch();
  ResultTree& tree = search_->result;
  ActionObserver& observer = ports_.actions;
  Prompt& prompt = ports_.prompt;
  work_.Run("file action", [&] {
    switch (call.command) {
      case FileCommand::DeleteSelected: out = File_Delete(tree, request, observer, prompt); break;
      case FileCommand::DeleteOthers:
        out = Delete_AllOtherFilesFromGroup(tree, call.row.groupId, call.row.fileIndex, request, observer, prompt);
        break;
      case FileCommand::Move: out = File_Moving(tree, {call.row}, call.folder, request, observer, prompt); break;
      case FileCommand::Copy: out = File_Copying(tree, {call.row}, call.folder, request, observer, prompt); break;
      case FileCommand::Rename: out = File_Rename(tree, call.row, call.newName, request, observer, prompt); break;
    }
  });
  if (out.done > 0) {
    // Rows left or changed: an undo step could name rows that are gone.
    if (selection_ && call.command != FileCommand::Copy) selection_->UNDO_reset();
    if (ports_.listener) ports_.listener->OnRowsChanged();
    NotifySelection();
  }
  return out;
}

ExportOutcome Session::Export(ExportRequest request) {
  ExportOutcome out;
  if (!search_) {
    out.status = ExportStatus::Failed;
    out.error = z_Translate(19001, "Es ist kein Suchergebnis vorhanden.");
    return out;
  }
  exportRun_.Reset();
  request.cancelled = [this] { return exportRun_.StopRequested(); };
  const bool ran = work_.Run("export", [&] { out = ExportResult(search_->result, request, ports_.prompt); });
  if (!ran) {
    out.status = ExportStatus::Failed;
    out.error = z_Translate(19003, "Beim Export ist ein unerwarteter Fehler aufgetreten.");
  }
  return out;
}

void Session::RequestStop(int reason) noexcept {
  searchRun_.RequestStop(reason);
  actionRun_.RequestStop(reason);
  exportRun_.RequestStop(reason);
}

std::string Session::CloseSearchLog() { return SaveTmpLog(); }

}  // namespace twinex
