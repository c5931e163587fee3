#pragma once
// Process-level facts: memory use for the memory watch, priority, the executable's folder,
// environment variables and lock files standing in for named mutexes.
#include <cstdint>
#include <string>
#include <vector>

namespace twinex::platform {

std::uint64_t ResidentMemoryBytes();   // from /proc/self/statm
std::uint64_t PhysicalMemoryBytes();
void SetLowPriority();                 // nice 19 for the calling thread
std::string ExecutablePath();
std::string GetEnv(const std::string& name);  // empty when unset

// An flock-held lock file ("the mutex exists" = another process holds the lock).
class LockFile {
 public:
  LockFile() = default;
  ~LockFile();
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;
  // Takes the lock without waiting; false when another process holds it (or the file fails).
  bool TryLock(const std::string& path);
  void Unlock();
  bool Locked() const { return fd_ >= 0; }
  // True when some process holds the lock on path (probes without keeping it).
  static bool IsHeldElsewhere(const std::string& path);

 private:
  int fd_ = -1;
};

// Runs a program (looked up in PATH) with the arguments, waits for it and returns "" when it
// exits with 0, otherwise the reason: what it wrote to standard error, else its exit status.
std::string RunProgram(const std::vector<std::string>& argv);
// The same, for callers that tell exit codes apart: returns the exit code (0 success; -1 when the
// program could not be started or ended by a signal) and puts RunProgram's text into `reason`.
// With `output`, standard output and standard error of the program are collected there.
int RunProgramStatus(const std::vector<std::string>& argv, std::string& reason, std::string* output = nullptr);
// Full path of a program found in PATH (or the path itself when it names one); "" when missing.
std::string FindProgram(const std::string& name);

// Requests standby (suspend) or hibernation; returns an error text or "".
std::string RequestPowerState(bool hibernate);

}  // namespace twinex::platform
