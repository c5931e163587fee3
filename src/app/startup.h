#pragma once
// What happens between the start of the process and the main window, and when it closes.
#include <string>
#include <vector>

#include "app/app_paths.h"
#include "app/instance_lock.h"
#include "search/checksum_db_location.h"
#include "settings/language.h"
#include "settings/settings_file.h"

namespace twinex {

struct StartupRequest {
  std::string executablePath;  // "" for the running executable
  std::string commandLine;     // the raw command line ("-RESTART", "-tl")
  std::string version;         // shown in the program title
  int restartWaitSeconds = 6;
};

// The state of one running program, from the start-up sequence to the closing sequence.
struct AppSession {
  AppPaths paths;
  std::string title;      // "Twinex" and the version
  double startTime = 0;   // Date value
  LanguageChoice language;
  std::string searchLog;  // the temporary search log
  std::vector<std::string> notes;  // problems of the start that do not end it
  InstanceLock instanceLock;       // "Twinex4"
  InstanceLock globalLock;         // "Global\gTwinex4"
};

// Lock files standing in for the two instance mutexes, in the user data folder.
std::string InstanceLockPath(const AppPaths& paths);
std::string GlobalLockPath(const AppPaths& paths);
// The checksum database "db/checksum.adb" and its lock file "TwinexDB.lock".
DatabaseLocation ChecksumDatabaseLocation(const AppPaths& paths);

// Runs the start-up sequence. Returns "" or the English message with which the program ends.
std::string StartupSequence(const StartupRequest& request, AppSession& session);

// The main window's load: reads the settings from the settings file, switches Unicode support
// on for languages that need it when the file does not say, and trims the general log.
void LoadMainWindowSettings(AppSession& session, MainSettings& settings);

// The closing sequence: writes the settings to the settings file when given (a front end that
// changed nothing passes none), deletes the temporary search log and releases the locks.
// Returns the error of the settings write or "".
std::string ClosingSequence(AppSession& session, const MainSettings* settingsToSave);

}  // namespace twinex
