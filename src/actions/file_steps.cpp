#include "actions/file_steps.h"

#include <cmath>

#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "settings/translate.h"

namespace twinex {
namespace {

// Dates are whole seconds; half a second apart is the same second.
constexpr double kSameSecond = 0.5 / 86400.0;

bool SameFacts(const platform::FileInfo& a, const platform::FileInfo& b) {
  return a.size == b.size && a.modified == b.modified && a.device == b.device && a.inode == b.inode;
}

// Copies to a free name beside the target and renames it over the target.
bool alwaysCopy = false;

// A copy that must not stay. The step's own error is the one to report; a copy that cannot be
// removed is a stray file, not a lost one.
void DiscardCopy(const std::string& copy) { (void)platform::RemoveFile(copy, false); }

std::string CopyReplacing(const std::string& path, const std::string& target, bool verify,
                          const platform::CopyProgress& progress) {
  const std::string temp = platform::TempNameBeside(target);
  if (std::string e = platform::CopyFileChecked(path, temp, verify, progress); !e.empty()) return e;
  if (std::string e = platform::RenameOver(temp, target); !e.empty()) {
    DiscardCopy(temp);
    return e;
  }
  return "";
}

std::string CopyChecked(const std::string& path, const std::string& target, bool verify, bool replace,
                        const platform::CopyProgress& progress) {
  return replace ? CopyReplacing(path, target, verify, progress)
                 : platform::CopyFileChecked(path, target, verify, progress);
}

}  // namespace

std::string ChangedSinceSearch(const ResultFile& file) { return ChangedSinceSearch(file, file.FullPath()); }

std::string ChangedSinceSearch(const ResultFile& file, const std::string& path) {
  platform::FileInfo info;
  if (!platform::GetFileInfo(path, info).empty()) return z_Translate(18111, "nicht mehr vorhanden");
  if (info.isSymlink || !info.isRegular) return z_Translate(18112, "keine normale Datei mehr");
  if (info.size != file.size) return z_Translate(18113, "Größe geändert");
  if (std::fabs(info.modified - file.dateVal) > kSameSecond) return z_Translate(18114, "Änderungsdatum geändert");
  if ((file.device != 0 && info.device != file.device) || (file.inode != 0 && info.inode != file.inode))
    return z_Translate(18115, "durch eine andere Datei ersetzt");
  return "";
}

bool OnSameFileSystem(const std::string& a, const std::string& b) {
  platform::FileInfo x, y;
  return platform::GetFileInfo(a, x).empty() && platform::GetFileInfo(b, y).empty() && x.device == y.device;
}

void AlwaysCopyForTesting(bool on) { alwaysCopy = on; }

std::string PlaceFile(const std::string& path, const std::string& target, bool keepSource, bool replace,
                      const platform::CopyProgress& progress) {
  const std::string targetFolder = platform::ParentFolder(target);
  if (!alwaysCopy && OnSameFileSystem(path, targetFolder)) {
    if (!keepSource) return replace ? platform::RenameOver(path, target) : platform::RenameNoReplace(path, target);
    // A second name keeps the bytes at the target while the original name is replaced.
    // Where the file system has no hard links, a copy does the same.
    if (!replace) {
      std::string e = platform::LinkNoReplace(path, target);
      if (e.empty() || platform::PathExists(target)) return e;
    }
  }
  platform::FileInfo before;
  if (std::string e = platform::GetFileInfo(path, before); !e.empty()) return e;
  if (std::string e = CopyChecked(path, target, true, replace, progress); !e.empty()) return e;
  if (keepSource) return "";
  // The original goes only when it is still what was copied; otherwise the copy goes.
  platform::FileInfo after;
  std::string e = platform::GetFileInfo(path, after);
  if (e.empty() && !SameFacts(before, after)) e = "the file changed while it was copied";
  if (e.empty()) e = platform::RemoveFile(path, false);
  if (!e.empty()) DiscardCopy(target);
  return e;
}

void UndoPlace(const std::string& target) { DiscardCopy(target); }

std::string CopyFileTo(const std::string& path, const std::string& target, bool replace,
                       const platform::CopyProgress& progress) {
  return CopyChecked(path, target, false, replace, progress);
}

std::string DeleteFileStep(const std::string& path, bool secure) { return platform::RemoveFile(path, secure); }

}  // namespace twinex
