#pragma once
// Process-level facts: memory use for the memory watch, priority, the executable's folder,
// environment variables and lock files standing in for named mutexes.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/lock_file.h"  // the lock files standing in for named mutexes

namespace twinex::platform {

std::uint64_t ResidentMemoryBytes();   // from /proc/self/statm
std::uint64_t PhysicalMemoryBytes();
void SetLowPriority();                 // nice 19 for the calling thread
std::string ExecutablePath();
std::string GetEnv(const std::string& name);  // empty when unset

// Runs a program (looked up in PATH) with the arguments, waits for it and returns "" when it
// exits with 0, otherwise the reason: what it wrote to standard error, else its exit status.
[[nodiscard]] std::string RunProgram(const std::vector<std::string>& argv);
// The same, for callers that tell exit codes apart: returns the exit code (0 success; -1 when the
// program could not be started or ended by a signal) and puts RunProgram's text into `reason`.
// With `output`, standard output and standard error of the program are collected there.
int RunProgramStatus(const std::vector<std::string>& argv, std::string& reason, std::string* output = nullptr);
// Full path of a program found in PATH (or the path itself when it names one); "" when missing.
std::string FindProgram(const std::string& name);

// Requests standby (suspend) or hibernation; returns an error text or "".
[[nodiscard]] std::string RequestPowerState(bool hibernate);

}  // namespace twinex::platform
