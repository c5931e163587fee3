#include "app/startup.h"

#include <unistd.h>

#include <atomic>

#include "app/cut_logfile.h"
#include "app/log_line.h"
#include "app/logs.h"
#include "app/settings_file_mark.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/text.h"
#include "search/checksum_db.h"
#include "settings/debug_trace.h"
#include "settings/profiles.h"
#include "settings/window_settings.h"

namespace twinex {
namespace {

using StepFn = std::string (*)(const StartupRequest&, AppSession&);

// A restart waits until the instance that asked for it has gone.
std::string WaitForPreviousInstance(const StartupRequest& r, AppSession& s) {
  if (r.commandLine.find("-RESTART") != std::string::npos)
    WaitWhileInstanceRuns(InstanceLockPath(s.paths), r.restartWaitSeconds);
  return "";
}

std::string CreateDataFolders(const StartupRequest&, AppSession& s) {
  return CreateAppFolders(s.paths, FolderStage::DataFolders);
}

// The marks of a running instance; a second instance runs all the same.
std::string TakeInstanceLocks(const StartupRequest&, AppSession& s) {
  if (!s.instanceLock.Acquire(InstanceLockPath(s.paths))) s.notes.push_back("lock: " + InstanceLockPath(s.paths));
  if (!s.globalLock.Acquire(GlobalLockPath(s.paths))) s.notes.push_back("lock: " + GlobalLockPath(s.paths));
  return "";
}

std::string PrepareSettings(const StartupRequest&, AppSession& s) {
  std::string error = PrepareSettingsFile(s.paths.settingsFile);
  // The program still runs with its defaults; writes report their own errors later.
  if (!error.empty()) s.notes.push_back(s.paths.settingsFile + ": " + error);
  SetSettingsFilePath(s.paths.settingsFile);
  SetSettingsFolders({s.paths.programFolder, s.paths.userDataFolder, s.paths.tempFolder, s.paths.portable});
  return "";
}

std::string CreateLogFolder(const StartupRequest&, AppSession& s) {
  std::string error = CreateAppFolders(s.paths, FolderStage::LogFolder);
  if (!error.empty()) return error;
  LogFiles files;
  files.generalLog = s.paths.generalLog;
  files.lastSearchLog = s.paths.lastSearchLog;
  files.errorLog = s.paths.errorLog;
  files.debugLog = s.paths.debugLog;
  files.appTitle = s.title;
  files.dataFolder = s.paths.userDataFolder;
  SetLogFiles(files);
  SetDebugTraceWriter([](const std::string& text) { LogDebug(text); });
  return "";
}

std::string InitLanguage(const StartupRequest& r, AppSession& s) {
  long long useLangTxt = 0;
  platform::ParseLong(ReadSetting("Allgemein", "UseLangTxt"), useLangTxt);
  LanguageRequest request;
  request.langFolder = s.paths.langFolder;
  request.commandLine = r.commandLine;
  request.overrideFile = useLangTxt == 1 ? "lang.txt" : "";
  s.language = Init_Sprache(request);
  SetCurrentProfilePath(s.paths.settingsFile);
  return "";
}

std::string CreateWorkFolders(const StartupRequest&, AppSession& s) {
  return CreateAppFolders(s.paths, FolderStage::WorkFolders);
}

std::string CreateGeneralLog(const StartupRequest&, AppSession& s) {
  std::string error = CreateLogFile(s.paths.generalLog);
  if (!error.empty()) s.notes.push_back(s.paths.generalLog + ": " + error);
  return "";
}

// A missing database is made once; a failure leaves the program running without it.
std::string CreateChecksumDatabase(const StartupRequest&, AppSession& s) {
  ChecksumDatabase db(ChecksumDatabaseLocation(s.paths));
  std::string error;
  if (platform::ExistFile(db.location().file) || db.Create_Checksum_Database(false, error)) return "";
  s.notes.push_back(error);
  LogProtokollMain(error);
  return "";
}

// Named from the tick count and the process id, so two instances never share one; a file left
// by an earlier process of the same id is not taken over.
std::string CreateSearchLog(const StartupRequest&, AppSession& s) {
  static std::atomic<unsigned> serial{0};
  const std::string stem =
      s.paths.tempFolder + "/" + std::to_string(platform::TickCount()) + "-" + std::to_string(getpid());
  do {
    unsigned n = serial++;
    s.searchLog = stem + (n == 0 ? "" : "-" + std::to_string(n)) + ".txt";
  } while (platform::ExistFile(s.searchLog));
  std::string error = CreateLogFile(s.searchLog);
  if (!error.empty()) s.notes.push_back(s.searchLog + ": " + error);
  LogFiles files = GetLogFiles();
  files.searchLog = s.searchLog;
  SetLogFiles(files);
  return "";
}

// In order; the first step that returns a message ends the start.
constexpr StepFn kStartupSteps[] = {
    WaitForPreviousInstance, CreateDataFolders, TakeInstanceLocks,  PrepareSettings, CreateLogFolder,
    InitLanguage,            CreateWorkFolders, CreateGeneralLog,   CreateChecksumDatabase, CreateSearchLog,
};

}  // namespace

std::string InstanceLockPath(const AppPaths& paths) { return paths.userDataFolder + "/Twinex4.lock"; }
std::string GlobalLockPath(const AppPaths& paths) { return paths.commonDataFolder + "/gTwinex4.lock"; }

DatabaseLocation ChecksumDatabaseLocation(const AppPaths& paths) {
  return {paths.dbFolder + "/checksum.adb", paths.userDataFolder + "/TwinexDB.lock"};
}

std::string StartupSequence(const StartupRequest& request, AppSession& session) {
  session.startTime = platform::Now();
  session.paths = ResolveAppPaths(request.executablePath.empty() ? platform::ExecutablePath() : request.executablePath);
  session.title = request.version.empty() ? std::string(kProgramName) : std::string(kProgramName) + " " + request.version;
  for (StepFn step : kStartupSteps) {
    std::string error = step(request, session);
    if (!error.empty()) return error;
  }
  return "";
}

void LoadMainWindowSettings(AppSession& session, MainSettings& settings) {
  EinstellungenLaden(settings, SettingsFilePath(), false, true, true);
  ApplyUnicodeSupportDefault(settings, session.language.code);
  TrimGeneralLog(settings.options);
}

std::string ClosingSequence(AppSession& session, const MainSettings* settingsToSave) {
  // The settings file, not the profile loaded last: a profile changes only when saved as one.
  std::string error = settingsToSave ? EinstellungenSpeichern(*settingsToSave, SettingsFilePath()) : "";
  if (!session.searchLog.empty()) ::unlink(session.searchLog.c_str());
  session.instanceLock.Release();
  session.globalLock.Release();
  return error;
}

}  // namespace twinex
