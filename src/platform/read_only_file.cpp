#include "platform/read_only_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/folder_handle.h"

namespace twinex::platform {
namespace {

constexpr std::uint64_t kAdviseAbove = 256 * 1024;

}  // namespace

std::string SystemErrorText(int err) { return std::strerror(err); }

ReadOnlyFile::~ReadOnlyFile() { Close(); }

void ReadOnlyFile::Close() {
  fd_.Reset();
  size_ = 0;
}

std::string ReadOnlyFile::Open(const std::string& path, bool sequential) {
  Close();
  // O_NONBLOCK keeps the open itself from waiting for a writer when the path is a FIFO.
  UniqueFd fd(OpenLongPath(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd) return SystemErrorText(errno);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return SystemErrorText(errno);
  if (!S_ISREG(st.st_mode)) return "not a regular file";
  fd_ = std::move(fd);
  size_ = static_cast<std::uint64_t>(st.st_size);
  // A file read in one or two blocks gains nothing from a larger read-ahead.
  if (sequential && size_ > kAdviseAbove) ::posix_fadvise(fd_.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  return "";
}

std::string ReadOnlyFile::OpenInFolder(int folderFd, const std::string& name, std::uint64_t size) {
  Close();
  UniqueFd fd(::openat(folderFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
  if (!fd) return SystemErrorText(errno);
  fd_ = std::move(fd);
  size_ = size;
  if (size_ > kAdviseAbove) ::posix_fadvise(fd_.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  return "";
}

std::string ReadOnlyFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t length) const {
  if (!fd_) return SystemErrorText(EBADF);
  auto* out = static_cast<char*>(buffer);
  while (length > 0) {
    ssize_t n = ::pread(fd_.get(), out, length, static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return SystemErrorText(errno);
    }
    if (n == 0) return "unexpected end of file";
    out += n;
    offset += static_cast<std::uint64_t>(n);
    length -= static_cast<std::size_t>(n);
  }
  return "";
}

}  // namespace twinex::platform
