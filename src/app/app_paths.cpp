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
  if (!platform::ExistFolder(path)) return std::strerror(ENOTDIR);  // a file of that name is in the way
  return "";
}

struct FolderStep {
  FolderStage stage;
  const std::string AppPaths::*folder;
  const char* failure;
};

constexpr FolderStep kFolderSteps[] = {
    {FolderStage::DataFolders, &AppPaths::userDataFolder, "Can't create user data folder '"},
    {FolderStage::DataFolders, &AppPaths::commonDataFolder, "Can't create common data folder '"},
    {FolderStage::LogFolder, &AppPaths::logFolder, "Can't create log folder '"},
    {FolderStage::WorkFolders, &AppPaths::dataFolder, "Can't create data folder '"},
    {FolderStage::WorkFolders, &AppPaths::updateFolder, "Can't create update folder '"},
    {FolderStage::WorkFolders, &AppPaths::tempFolder, "Can't create temp folder '"},
    {FolderStage::WorkFolders, &AppPaths::profileFolder, "Can't create profile folder '"},
    {FolderStage::WorkFolders, &AppPaths::exportFolder, "Can't create export folder '"},
    {FolderStage::WorkFolders, &AppPaths::dbFolder, "Can't create DB folder '"},
};

}  // namespace

AppPaths ResolveAppPaths(const std::string& executablePath) {
  AppPaths p;
  p.executablePath = executablePath;
  p.executableName = platform::FileNameOf(executablePath);
  p.programFolder = platform::ParentFolder(executablePath);
  p.portable = p.executableName == "TwinexPortable";
  // Without a known folder the data stay beside the program.
  p.userDataFolder = p.programFolder;
  if (!p.portable) {
    std::string base = platform::GetEnv("XDG_DATA_HOME");
    if (base.empty()) {
      std::string home = platform::GetEnv("HOME");
      if (!home.empty()) base = home + "/.local/share";
    }
    if (!base.empty()) p.userDataFolder = base + "/" + kProgramName;
  }
  p.commonDataFolder = p.userDataFolder;
  const std::string& u = p.userDataFolder;
  p.settingsFile = u + "/config4.ini";
  p.logFolder = u + "/log";
  p.dataFolder = u + "/data";
  p.updateFolder = p.commonDataFolder + "/update";
  p.tempFolder = u + "/temp";
  p.profileFolder = u + "/profile";
  p.exportFolder = u + "/export";
  p.dbFolder = u + "/db";
  p.langFolder = p.programFolder + "/lang";
  // An installed program (bin/twinex) finds its language files in share/twinex/lang.
  if (!platform::ExistFolder(p.langFolder) && platform::FileNameOf(p.programFolder) == "bin") {
    const std::string installed = platform::ParentFolder(p.programFolder) + "/share/twinex/lang";
    if (platform::ExistFolder(installed)) p.langFolder = installed;
  }
  p.generalLog = p.logFolder + "/Twinex4.txt";
  p.lastSearchLog = p.logFolder + "/lastsearch.txt";
  p.errorLog = p.logFolder + "/error.txt";
  p.debugLog = p.logFolder + "/debug.txt";
  return p;
}

std::string CreateAppFolders(const AppPaths& paths, FolderStage stage) {
  for (const FolderStep& s : kFolderSteps) {
    if (stage != FolderStage::All && s.stage != stage) continue;
    const std::string& folder = paths.*(s.folder);
    std::string err = MakeDirs(folder);
    if (!err.empty()) return std::string(s.failure) + folder + "': " + err;
  }
  return "";
}

}  // namespace twinex
