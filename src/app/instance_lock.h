#pragma once
// Lock files that mark a running instance for installers and restarts. Every instance holds
// them shared, so a second instance is not refused and the mark stays while any instance runs.
#include <functional>
#include <string>

#include "platform/lock_file.h"

namespace twinex {

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  // Creates the file when missing and holds it shared; false when that fails.
  bool Acquire(const std::string& path);
  void Release();
  bool Held() const { return lock_.Locked(); }

 private:
  platform::LockFile lock_;
};

// True while some process holds the lock file (shared or exclusive).
bool IsInstanceRunning(const std::string& path);

// Waits while another process holds the lock: a check every 500 ms, for at most maxSeconds
// whole seconds from the start of the wait. Returns true when the lock was free in time.
bool WaitWhileInstanceRuns(const std::string& path, int maxSeconds = 6,
                           const std::function<void(int milliseconds)>& sleep = {});

}  // namespace twinex
