#include "app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>

namespace twinex {

InstanceLock::~InstanceLock() { Release(); }

bool InstanceLock::Acquire(const std::string& path) {
  Release();
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  if (flock(fd, LOCK_SH | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void InstanceLock::Release() {
  // The file stays: deleting it would let another process lock a fresh file while a third
  // still holds the old one.
  if (fd_ < 0) return;
  flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

bool IsInstanceRunning(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;  // never locked; an unreadable file counts as gone
  bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);  // also drops the probe's own lock
  return held;
}

bool WaitWhileInstanceRuns(const std::string& path, int maxSeconds, const std::function<void(int)>& sleep) {
  const std::time_t start = std::time(nullptr);
  while (IsInstanceRunning(path)) {
    if (std::time(nullptr) - start >= maxSeconds) return false;
    if (sleep)
      sleep(500);
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  return true;
}

}  // namespace twinex
