#include "settings/source_folders.h"

#include <cstdlib>

#include "platform/text.h"
#include "platform/volume.h"

namespace twinex {
namespace {

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string WithTrailingSlash(const std::string& path) {
  return !path.empty() && path.back() == '/' ? path : path + "/";
}

std::string EnvValue(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

}  // namespace

void ApplyLoadInvariants(SourcesAndFilters& sf) {
  struct IndexRule {
    int& (*field)(SourcesAndFilters&);
    int lo;
    int hi;
  };
  const IndexRule rules[] = {
      {[](SourcesAndFilters& s) -> int& { return s.fileOptions.filterType; }, 0, 1},
      {[](SourcesAndFilters& s) -> int& { return s.folderOptions.filterType; }, 0, 1},
      {[](SourcesAndFilters& s) -> int& { return s.dateType; }, 0, 3},
      {[](SourcesAndFilters& s) -> int& { return s.size1.comparison; }, 0, 1},
      {[](SourcesAndFilters& s) -> int& { return s.size1.unit; }, 0, 4},
      {[](SourcesAndFilters& s) -> int& { return s.size2.comparison; }, 0, 1},
      {[](SourcesAndFilters& s) -> int& { return s.size2.unit; }, 0, 4},
  };
  SourcesAndFilters fallback;
  for (const IndexRule& r : rules) {
    int& v = r.field(sf);
    if (v < r.lo || v > r.hi) v = r.field(fallback);
  }
}

int Folder_Find_in_List(const std::vector<SourceFolder>& list, const std::string& path) {
  // Linux paths are case-sensitive: /data and /Data are different folders.
  const std::string key = WithTrailingSlash(WithoutTrailingSlash(path));
  for (std::size_t i = 0; i < list.size(); ++i)
    if (WithTrailingSlash(list[i].path) == key) return static_cast<int>(i);
  return -1;
}

bool Folder_Add_to_List(std::vector<SourceFolder>& list, const std::string& path, bool ticked,
                        bool includeSubfolders) {
  // A trailing "/" would double the separator in every path the search builds below the folder.
  const std::string stored = WithoutTrailingSlash(path);
  if (stored.empty() || Folder_Find_in_List(list, stored) >= 0) return false;
  SourceFolder f;
  f.path = stored;
  f.ticked = ticked;
  f.includeSubfolders = includeSubfolders;
  f.driveType = platform::DriveTypeText(platform::GetMountFacts(stored).kind);
  list.push_back(std::move(f));
  return true;
}

bool Filter_Add_to_List(std::vector<FilterRow>& list, const std::string& text, bool ticked) {
  for (const FilterRow& r : list)
    if (platform::EqualsNoCase(r.text, text)) return false;
  list.push_back({text, ticked});
  return true;
}

std::vector<std::string> DefaultFolderFilters() {
  // Full paths hold "/" and become path filters; bare names match such a folder anywhere.
  std::vector<std::string> out = {"/proc", "/sys", "/dev", "/run"};
  // The user's own trash (freedesktop.org layout).
  std::string dataHome = EnvValue("XDG_DATA_HOME");
  if (dataHome.empty() && !EnvValue("HOME").empty()) dataHome = WithoutTrailingSlash(EnvValue("HOME")) + "/.local/share";
  if (!dataHome.empty()) out.push_back(WithoutTrailingSlash(dataHome) + "/Trash");
  // Trash folders at the top of other volumes, fsck's salvage folder, and the system folders
  // that Windows leaves on its drives when they are mounted here.
  for (const char* name : {".Trash-*", ".Trash", ".Trashes", "lost+found", "System Volume Information",
                           "$RECYCLE.BIN", "RECYCLER"})
    out.emplace_back(name);
  return out;
}

std::vector<std::string> DefaultFileFilters() {
  return {"*.jpg", "*.jpeg", "*.png", "*.bmp", "*.gif", "*.mp3", "*.flac", "*.zip", "*.rar"};
}

}  // namespace twinex
