#include "platform/folder_handle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

namespace twinex::platform {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
constexpr int kStepFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

// Closes without disturbing errno, so the caller still reports the failure that mattered.
void CloseKeepingErrno(int fd) {
  const int saved = errno;
  ::close(fd);
  errno = saved;
}

}  // namespace

FolderHandle::~FolderHandle() { Close(); }

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), id_(other.id_) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    id_ = other.id_;
  }
  return *this;
}

void FolderHandle::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::string FolderHandle::Adopt(int fd, const char* step) {
  Close();
  if (fd < 0) return std::string(step) + ": " + std::strerror(errno);
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    return std::string("fstat: ") + std::strerror(err);
  }
  fd_ = fd;
  id_ = FolderId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  return "";
}

std::string FolderHandle::Open(const std::string& path) { return Adopt(OpenLongPath(path, kFolderFlags), "open"); }

std::string FolderHandle::OpenChild(const FolderHandle& parent, std::string_view name, bool followLink) {
  const std::string n(name);
  return Adopt(::openat(parent.fd_, n.c_str(), kFolderFlags | (followLink ? 0 : O_NOFOLLOW)), "openat");
}

bool FolderIdOf(const std::string& path, FolderId& id) {
  const int fd = OpenLongPath(path, kStepFlags);
  if (fd < 0) return false;
  struct stat st;
  const bool ok = ::fstat(fd, &st) == 0;
  ::close(fd);
  if (ok) id = FolderId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  return ok;
}

int OpenLongPath(const std::string& path, int flags) {
  int fd = ::open(path.c_str(), flags);
  if (fd >= 0 || errno != ENAMETOOLONG) return fd;
  std::size_t pos = 0;
  int dir = AT_FDCWD;
  if (!path.empty() && path[0] == '/') {
    dir = ::open("/", kStepFlags);
    if (dir < 0) return -1;
    pos = 1;
  }
  // Each step takes the longest run of whole components the kernel accepts.
  while (path.size() - pos >= PATH_MAX) {
    const std::size_t slash = path.rfind('/', pos + PATH_MAX - 2);
    if (slash == std::string::npos || slash < pos) {
      if (dir != AT_FDCWD) ::close(dir);
      errno = ENAMETOOLONG;
      return -1;
    }
    const std::string step = slash == pos ? "." : path.substr(pos, slash - pos);
    const int next = ::openat(dir, step.c_str(), kStepFlags);
    if (dir != AT_FDCWD) CloseKeepingErrno(dir);
    if (next < 0) return -1;
    dir = next;
    pos = slash + 1;
  }
  fd = ::openat(dir, path.c_str() + pos, flags);
  if (dir != AT_FDCWD) CloseKeepingErrno(dir);
  return fd;
}

}  // namespace twinex::platform
