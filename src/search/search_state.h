#pragma once
// Process-wide run control of a search. The controls of any front end write these, every long
// loop polls them; atomics stand in for the single window thread's plain globals.
#include <atomic>

namespace twinex {

enum SearchStateValue : int {
  kStateRunning = 0,  // running or idle
  kStatePaused = 1,
  kStateStop = 3,     // stop requested
  kStateSkip = 4,     // skip the current file's comparison
};

enum SearchStopReasonValue : int {
  kStopNone = 0,
  kStopUser = 5,
  kStopMaxDuplicates = 6,
  kStopMemoryLimit = 7,
  kStopOutOfMemory = 8,
};

extern std::atomic<int> SearchState;
extern std::atomic<int> SearchStopReason;

// Requests the stop with a reason (keeps the first reason when several arrive).
void RequestStop(int reason);

}  // namespace twinex
