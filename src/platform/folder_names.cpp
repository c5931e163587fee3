#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"

namespace twinex::platform {
namespace {

EntryKind KindOfLink(int dirFd, const char* name) {
  struct stat st;
  if (fstatat(dirFd, name, &st, 0) == 0 && S_ISDIR(st.st_mode)) return EntryKind::SymlinkToDirectory;
  return EntryKind::SymlinkOther;
}

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISDIR(mode)) return EntryKind::Directory;
  return EntryKind::Other;
}

}  // namespace

std::string ListFolderNames(const std::string& folder,
                            const std::function<bool(std::string_view name, EntryKind kind)>& onEntry) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::string("open: ") + std::strerror(errno);
  std::string error = ListFolderNamesAt(fd, onEntry);
  ::close(fd);
  return error;
}

std::string ListFolderNamesAt(int folderFd,
                              const std::function<bool(std::string_view name, EntryKind kind)>& onEntry) {
  int fd = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return std::string("dup: ") + std::strerror(errno);
  DIR* dir = fdopendir(fd);
  if (!dir) {
    const int err = errno;
    ::close(fd);
    return std::string("fdopendir: ") + std::strerror(err);
  }
  rewinddir(dir);
  while (dirent* e = readdir(dir)) {
    const char* name = e->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    EntryKind kind;
    switch (e->d_type) {
      case DT_REG:
        kind = EntryKind::File;
        break;
      case DT_DIR:
        kind = EntryKind::Directory;
        break;
      case DT_LNK:
        kind = KindOfLink(fd, name);
        break;
      case DT_UNKNOWN: {
        struct stat st;
        if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // vanished
        kind = S_ISLNK(st.st_mode) ? KindOfLink(fd, name) : KindOfMode(st.st_mode);
        break;
      }
      default:
        kind = EntryKind::Other;
    }
    if (!onEntry(name, kind)) break;
  }
  closedir(dir);
  return "";
}

}  // namespace twinex::platform
