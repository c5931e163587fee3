#include "platform/folder_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"

namespace twinex::platform {

std::string NearestExistingFolder(const std::string& folder) {
  std::string at = AbsolutePath(folder);
  for (;;) {
    struct stat st;
    if (::stat(at.c_str(), &st) == 0) return at;
    const std::string parent = ParentFolder(at);
    if (parent.empty() || parent == at) return "";
    at = parent;
  }
}

std::string FolderWritable(const std::string& folder) {
  const std::string existing = NearestExistingFolder(folder);
  if (existing.empty()) return "access: no existing folder";
  struct stat st;
  if (::stat(existing.c_str(), &st) != 0) return std::string("stat: ") + std::strerror(errno);
  if (!S_ISDIR(st.st_mode)) return existing + ": " + std::strerror(ENOTDIR);
  // The effective ids decide, as they will for the real change; a read-only mount says so too.
  if (::faccessat(AT_FDCWD, existing.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
    return existing + ": " + std::strerror(errno);
  return "";
}

bool FreeBytes(const std::string& folder, std::uint64_t& bytes) {
  const std::string existing = NearestExistingFolder(folder);
  struct statvfs vfs;
  if (existing.empty() || ::statvfs(existing.c_str(), &vfs) != 0) return false;
  bytes = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
  return true;
}

}  // namespace twinex::platform
