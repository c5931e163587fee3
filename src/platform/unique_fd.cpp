#include "platform/unique_fd.h"

#include <unistd.h>

#include <cerrno>

namespace twinex::platform {

void UniqueFd::Reset(int fd) noexcept {
  if (fd_ >= 0 && fd_ != fd) ::close(fd_);
  fd_ = fd;
}

int UniqueFd::Close() noexcept {
  const int rc = fd_ >= 0 ? ::close(fd_) : 0;
  fd_ = -1;
  return rc;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace twinex::platform
