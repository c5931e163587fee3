// Whole-file reads and crash-safe replacement of a user's file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/unique_fd.h"

namespace twinex::platform {
namespace {

std::string ErrorText(const char* step) { return std::string(step) + ": " + std::strerror(errno); }

// Replacing a symbolic link by a regular file would cut it from its target, so the write
// goes to the target.
std::string WriteTarget(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char buf[PATH_MAX];
    if (realpath(path.c_str(), buf)) return buf;
  }
  return path;
}

// A hidden name beside the target, short enough for any name length the target may have.
std::string TempNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  std::string base = FileNameOf(target).substr(0, 180);
  std::string folder = ParentFolder(AbsolutePath(target));
  return JoinPath(folder, "." + base + ".~tmp" + std::to_string(getpid()) + "-" +
                              std::to_string(counter.fetch_add(1)));
}

void SyncFolder(const std::string& folder) {
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd) ::fsync(fd.get());
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error) {
  bytes.clear();
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    if (error) *error = ErrorText("open");
    return false;
  }
  struct stat st;
  if (fstat(fd.get(), &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
  // Read to the end rather than to st_size: files under /proc report a size of 0.
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (error) *error = ErrorText("read");
      bytes.clear();
      return false;
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  return true;
}

std::string WriteFileAtomic(const std::string& path, std::string_view bytes) {
  const std::string target = WriteTarget(path);
  // The rename would succeed on a file the user made read-only; that protection must hold.
  if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) return ErrorText("open");
  std::string temp;
  UniqueFd fd;
  for (unsigned attempt = 0; !fd && attempt < 100; ++attempt) {
    temp = TempNameFor(target);
    fd.Reset(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd && errno != EEXIST) break;
  }
  if (!fd) return ErrorText("open");

  struct stat old;
  if (::stat(target.c_str(), &old) == 0) {
    // The replacement keeps the permissions (and, where allowed, the owner) of the original.
    fchmod(fd.get(), old.st_mode & 07777);
    if (fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
      // Only a privileged process may give a file away; keeping our own ownership is fine.
    }
  }
  std::string error;
  if (!WriteAll(fd.get(), bytes.data(), bytes.size())) error = ErrorText("write");
  else if (fsync(fd.get()) != 0) error = ErrorText("fsync");
  if (fd.Close() != 0 && error.empty()) error = ErrorText("close");
  if (error.empty() && ::rename(temp.c_str(), target.c_str()) != 0) error = ErrorText("rename");
  if (!error.empty()) {
    ::unlink(temp.c_str());
    return error;
  }
  SyncFolder(ParentFolder(AbsolutePath(target)));
  return "";
}

}  // namespace twinex::platform
