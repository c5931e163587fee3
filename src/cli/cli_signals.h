#pragma once
// Ctrl-C, SIGTERM and SIGHUP ask the running work to stop instead of ending the process in the
// middle of a write: the run removes its temporary file, logs that it was cancelled and sums up.
// A second signal of the same kind ends the process as usual.

namespace twinex {
class RunControl;
class Session;
}  // namespace twinex

namespace twinex::cli {

// While it lives, the signals stop the session's work (or the one control's run); then the
// default handling is back, before the session or control can go away.
class StopSignalScope {
 public:
  explicit StopSignalScope(Session& session);
  explicit StopSignalScope(RunControl& control);
  ~StopSignalScope();
  StopSignalScope(const StopSignalScope&) = delete;
  StopSignalScope& operator=(const StopSignalScope&) = delete;
};

}  // namespace twinex::cli
