#pragma once
// The folders and files the program keeps its data in: the user data folder
// ($XDG_DATA_HOME/Twinex, default ~/.local/share/Twinex) or, in portable mode (an executable
// named exactly "TwinexPortable"), the program folder.
#include <string>

namespace twinex {

inline constexpr const char* kProgramName = "Twinex";

struct AppPaths {
  std::string executablePath;
  std::string executableName;
  std::string programFolder;
  std::string userDataFolder;
  std::string commonDataFolder;  // the same folder here
  std::string settingsFile;      // config4.ini
  std::string logFolder;         // log
  std::string dataFolder;        // data
  std::string updateFolder;      // update (in the common data folder)
  std::string tempFolder;        // temp
  std::string profileFolder;     // profile
  std::string exportFolder;      // export
  std::string dbFolder;          // db
  std::string langFolder;        // lang beside the program
  std::string generalLog;        // log/Twinex4.txt
  std::string lastSearchLog;     // log/lastsearch.txt
  std::string errorLog;          // log/error.txt
  std::string debugLog;          // log/debug.txt
  bool portable = false;
};

// Decides the folders from the executable path and the environment (no files are created; an
// installed layout is recognised by its share folder).
AppPaths ResolveAppPaths(const std::string& executablePath);

// The folders in the order the start-up creates them, in three stages: the data folders, the
// log folder once the settings file is ready, then the working folders.
enum class FolderStage { DataFolders, LogFolder, WorkFolders, All };
// Creates the missing folders of a stage; returns the English error of the first failure or "".
std::string CreateAppFolders(const AppPaths& paths, FolderStage stage = FolderStage::All);

}  // namespace twinex
