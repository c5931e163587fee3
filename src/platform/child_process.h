#pragma once
// A program run as a child whose standard output is read while it runs, so that a caller can
// honour a stop, bound what it accepts and kill the child midway. No shell: every argument,
// a path with spaces or a leading "-" too, reaches the program as one argument.
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

namespace twinex::platform {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();  // kills a child still running and reaps it
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the program (looked up in PATH) with standard input from /dev/null. Returns "" or
  // the reason it could not start.
  std::string Start(const std::vector<std::string>& argv);
  // Reads the next bytes of standard output: >0 bytes read, 0 at its end, -1 when nothing came
  // within timeoutMs (the caller may look at its stop button and ask again), -2 on an error.
  long Read(char* buffer, std::size_t size, int timeoutMs);
  // Ends the child at once.
  void Kill();
  // Holds the child still (while its run is paused) and lets it go on; no effect once it ended.
  void Pause();
  void Resume();
  // Waits for the child: its exit code, or -1 when it ended by a signal or was never started.
  int Wait();
  // The first part of what the child wrote to standard error, on one line.
  std::string ErrorText() const;

 private:
  void DrainErrors();

  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string errText_;
};

}  // namespace twinex::platform
