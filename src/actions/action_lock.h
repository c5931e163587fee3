#pragma once
// The lock file that file actions of all processes share ("TwinexActions.lock" in the data
// folder). Each file step holds it from its keep check to its last change, so that two
// processes can never both see the other's copy as kept and then both remove their own.
#include <string>

#include "platform/lock_file.h"
#include "platform/run_control.h"

namespace twinex {

inline constexpr const char* kActionLockName = "TwinexActions.lock";

// Takes the lock for one step, waiting while another process holds it; no lock path: nothing to
// take. "" once held; the reason otherwise (the run was stopped meanwhile, or the file failed).
[[nodiscard]] std::string LockFileStep(platform::LockFile& lock, const std::string& lockPath, RunControl* run);
// The error line for a lock that could not be taken.
std::string LockFailureText(const std::string& lockPath, const std::string& error);

}  // namespace twinex
