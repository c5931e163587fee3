#pragma once
// The update window's settings ("Update" section) and the dates of the last checks ("Start").
#include <string>

#include "settings/window_settings.h"

namespace twinex::update {

struct ProxySettings {
  bool use = false;
  std::string host;
  std::string port = "3128";
  std::string user;
  std::string password;  // plain here; stored scrambled
};

struct ServerAddresses {
  std::string versionFile;
  std::string betaVersionFile;
  std::string changes;     // "%1": "de" or "en"
  std::string downloads;   // the folder the packages and their ".sha256" files lie in
  std::string betaPage;    // "%1": "de" or "en"
};

struct UpdateSettings {
  ProxySettings proxy;
  ServerAddresses server;
  std::string downloadFolder = "%TEMP%";  // as stored: environment variables unexpanded
  bool autoCheck = false;                 // "PrgStartAutoCheck"
};

UpdateSettings LoadUpdateSettings(const WindowSettings& settings);
void StoreUpdateSettings(const UpdateSettings& update, WindowSettings& settings);

// The proxy password is stored scrambled with a fixed key, so that it is not readable at a
// glance in the settings file (it is no protection against a determined reader).
std::string ScramblePassword(const std::string& plain);
// The reverse; a value that is not a scrambled text reads as empty.
std::string UnscramblePassword(const std::string& stored);

// The download folder with its environment variables expanded. A variable that stays unset
// (%TEMP% on this system) gives the program's update folder instead.
std::string ExpandDownloadFolder(const std::string& stored, const std::string& updateFolder);

// The date value of the last release or beta check, and storing now.
enum class CheckKind { Release, Beta };
double LastCheckDate(const WindowSettings& settings, CheckKind kind);
void StoreCheckDate(WindowSettings& settings, CheckKind kind, double date);

}  // namespace twinex::update
