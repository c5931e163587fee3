#pragma once
// Stop, pause and skip for one run: a search, a file action, a database job or an export. The
// front end that starts a run keeps its control and writes to it from any thread (a stop
// button, Ctrl-C, a test); the run's loops read it. Each run has its own, so two result
// windows are stopped apart. Everything is a lock-free atomic, so a signal handler may call
// RequestStop.
#include <atomic>

namespace twinex {

enum RunStateValue : int {
  kStateRunning = 0,  // running or idle
  kStatePaused = 1,
  kStateStop = 3,     // stop requested
  kStateSkip = 4,     // give up the current file's comparison
};

// Why a run stopped early. The numbers are the search log's and error report's.
enum StopReasonValue : int {
  kStopNone = 0,
  kStopUser = 5,
  kStopMaxDuplicates = 6,
  kStopMemoryLimit = 7,
  kStopOutOfMemory = 8,
  kStopFailed = 9,  // the run ended on an error of its own
};

class RunControl {
 public:
  // Keeps the first reason when several arrive.
  void RequestStop(int reason = kStopUser) noexcept;
  bool StopRequested() const noexcept { return state_.load(std::memory_order_relaxed) == kStateStop; }
  int StopReason() const noexcept { return reason_.load(std::memory_order_relaxed); }
  int State() const noexcept { return state_.load(std::memory_order_relaxed); }

  void Pause() noexcept;
  void Resume() noexcept;
  bool Paused() const noexcept { return State() == kStatePaused; }
  void RequestSkip() noexcept;

  // Waits while paused; false once a stop is requested.
  bool WaitWhilePaused() const;
  // The question a long read asks after each block: waits while paused; false on a stop or a
  // skip (the skip is used up, so only the current file is given up).
  bool ContinueAfterBlock();
  // Idle again with no reason, for the next run on the same control.
  void Reset() noexcept;

 private:
  // Pause, resume and skip never overwrite a stop.
  void SetUnlessStopped(int value) noexcept;

  std::atomic<int> state_{kStateRunning};
  std::atomic<int> reason_{kStopNone};
};

static_assert(std::atomic<int>::is_always_lock_free, "RunControl is written from signal handlers");

}  // namespace twinex
