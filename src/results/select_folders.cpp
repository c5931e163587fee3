// Folder rules: a file lies within a folder's structure when its folder is that folder or lies
// below it. Paths compare as the file system does (case-sensitive here).
#include "results/select_rules.h"

namespace twinex::select_rules {

bool InFolder(std::string_view path, std::string_view folder) {
  if (folder.empty()) return false;
  if (folder == "/") return !path.empty() && path.front() == '/';
  return path.size() >= folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         (path.size() == folder.size() || path[folder.size()] == '/');
}

bool InsideFolder(const ToolContext& c, const ResultGroup&, const ResultFile& f) { return InFolder(f.path, c.folder); }

bool OutsideFolder(const ToolContext& c, const ResultGroup&, const ResultFile& f) { return !InFolder(f.path, c.folder); }

bool SameFolder(const ToolContext& c, const ResultGroup&, const ResultFile& f) { return f.path == c.folder; }

// "Duplicates of files within the folder": the groups that hold such a file; the rule for the
// files pairs it with OutsideFolder, so that the files in the folder are the ones kept.
bool HoldsFileInFolder(const ToolContext& c, const ResultGroup& g) {
  for (const ResultFile& f : g.files)
    if (InFolder(f.path, c.folder)) return true;
  return false;
}

}  // namespace twinex::select_rules
