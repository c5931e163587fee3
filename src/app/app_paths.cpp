#include "app/app_paths.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"
#include "platform/process.h"

namespace twinex {
namespace {

std::string MakeDirs(const std::string& path) {
  if (path.empty() || platform::ExistFolder(path)) return "";
  std::string parent = platform::ParentFolder(path);
  if (!parent.empty() && parent != path) {
    std::string err = MakeDirs(parent);
    if (!err.empty()) return err;
  }
  if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) return std::strerror(errno);
  return "";
}

}  // namespace

AppPaths ResolveAppPaths(const std::string& executablePath) {
  AppPaths p;
  p.programFolder = platform::ParentFolder(executablePath);
  p.portable = platform::FileNameOf(executablePath) == "TwinexPortable";
  if (p.portable) {
    p.userDataFolder = p.programFolder;
  } else {
    std::string base = platform::GetEnv("XDG_DATA_HOME");
    if (base.empty()) {
      std::string home = platform::GetEnv("HOME");
      base = home.empty() ? p.programFolder : home + "/.local/share";
    }
    p.userDataFolder = base + "/Twinex";
  }
  const std::string& u = p.userDataFolder;
  p.settingsFile = u + "/config4.ini";
  p.logFolder = u + "/log";
  p.dataFolder = u + "/data";
  p.tempFolder = u + "/temp";
  p.profileFolder = u + "/profile";
  p.exportFolder = u + "/export";
  p.dbFolder = u + "/db";
  p.langFolder = p.programFolder + "/lang";
  return p;
}

std::string CreateAppFolders(const AppPaths& paths) {
  struct Step {
    const std::string AppPaths::*folder;
    const char* what;
  };
  static const Step steps[] = {
      {&AppPaths::userDataFolder, "Can't create user data folder '"},
      {&AppPaths::logFolder, "Can't create log folder '"},
      {&AppPaths::dataFolder, "Can't create data folder '"},
      {&AppPaths::tempFolder, "Can't create temp folder '"},
      {&AppPaths::profileFolder, "Can't create profile folder '"},
      {&AppPaths::exportFolder, "Can't create export folder '"},
      {&AppPaths::dbFolder, "Can't create DB folder '"},
  };
  for (const auto& s : steps) {
    const std::string& folder = paths.*(s.folder);
    std::string err = MakeDirs(folder);
    if (!err.empty()) return std::string(s.what) + folder + "': " + err;
  }
  return "";
}

}  // namespace twinex
