#pragma once
// The folders the program keeps its data in: the user data folder ($XDG_DATA_HOME/Twinex,
// default ~/.local/share/Twinex) or, in portable mode, the program folder.
#include <string>

namespace twinex {

struct AppPaths {
  std::string programFolder;
  std::string userDataFolder;
  std::string settingsFile;   // config4.ini
  std::string logFolder;      // log
  std::string dataFolder;     // data
  std::string tempFolder;     // temp
  std::string profileFolder;  // profile
  std::string exportFolder;   // export
  std::string dbFolder;       // db
  std::string langFolder;     // lang beside the program
  bool portable = false;
};

// Decides the folders from the executable path and the environment (no files are created).
AppPaths ResolveAppPaths(const std::string& executablePath);
// Creates the folders that are missing; returns the English error of the first failure or "".
std::string CreateAppFolders(const AppPaths& paths);

}  // namespace twinex
