#include "platform/lock_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/unique_fd.h"

namespace twinex::platform {
namespace {

constexpr auto kRetry = std::chrono::milliseconds(20);

int FlockMode(LockMode mode) { return mode == LockMode::Shared ? LOCK_SH : LOCK_EX; }

}  // namespace

LockFile::~LockFile() { Unlock(); }

LockFile::LockFile(LockFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

LockFile& LockFile::operator=(LockFile&& other) noexcept {
  if (this != &other) {
    Unlock();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

bool LockFile::TryLock(const std::string& path, LockMode mode) {
  return Lock(path, mode, [] { return false; }).empty();
}

std::string LockFile::Lock(const std::string& path, LockMode mode, const std::function<bool()>& keepWaiting) {
  Unlock();
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (!fd) return std::string("open: ") + std::strerror(errno);
  for (;;) {
    if (::flock(fd.get(), FlockMode(mode) | LOCK_NB) == 0) {
      fd_ = fd.Release();
      return "";
    }
    if (errno != EWOULDBLOCK && errno != EINTR) return std::string("flock: ") + std::strerror(errno);
    if (!keepWaiting()) return "lock: given up";
    std::this_thread::sleep_for(kRetry);
  }
}

void LockFile::Unlock() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

bool LockFile::IsHeldElsewhere(const std::string& path, bool anyHolder) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return false;  // never locked; an unreadable file counts as free
  // A separate open file description conflicts even with a lock held by this very process.
  // Closing the probe releases whatever it got.
  return ::flock(fd.get(), (anyHolder ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

}  // namespace twinex::platform
