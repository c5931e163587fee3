#include "app/instance_lock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace twinex {

InstanceLock::~InstanceLock() { Release(); }

bool InstanceLock::Acquire(const std::string& path) { return lock_.TryLock(path, platform::LockMode::Shared); }

void InstanceLock::Release() { lock_.Unlock(); }

bool IsInstanceRunning(const std::string& path) { return platform::LockFile::IsHeldElsewhere(path, true); }

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
