#pragma once
// The outside fingerprint program: run as a child without a shell (the path is one argument),
// its answer read from standard output and standard error together, and turned into a
// fingerprint, an "empty fingerprint" answer (too little sound) or an error text.
//
// Time limit: a child that has run for kFingerprintTimeLimit (paused time not counted) is
// ended and the file is reported as failed. Decoding the few seconds of audio a fingerprint
// needs takes well under a second on any file that decodes at all, so only a hung program
// meets the limit.
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/child_process.h"

namespace twinex {
class RunControl;
}

namespace twinex::similar {

inline constexpr std::chrono::seconds kFingerprintTimeLimit{120};

// The program looked up in PATH ("fpcalc"); tests put a stand-in in its place.
void SetFingerprintProgram(const std::string& program);
const std::string& FingerprintProgram();
// Why the similar-music method cannot run: the program is missing. "" when it is there.
std::string FingerprintProgramRefusal();

struct FingerprintAnswer {
  enum Kind { kMade, kEmpty, kFailed, kGivenUp } kind = kFailed;
  std::vector<std::int32_t> fingerprint;
  std::string error;  // for kEmpty and kFailed: the program's message or ours
};

// The program's arguments for one file.
std::vector<std::string> FingerprintArguments(const std::string& program, int algorithm, int seconds,
                                              const std::string& path);
// Reads the program's whole output and exit code.
FingerprintAnswer ParseFingerprintOutput(std::string_view output, int exitCode);

// One run of the program, polled by its owner so that several may run side by side.
class FingerprintJob {
 public:
  FingerprintJob() = default;
  FingerprintJob(const FingerprintJob&) = delete;
  FingerprintJob& operator=(const FingerprintJob&) = delete;

  // "" or why the program could not start.
  std::string Start(const std::vector<std::string>& argv, std::chrono::milliseconds timeLimit = kFingerprintTimeLimit);
  // Reads what the child wrote, waiting up to waitMs; true once the child is done (its output
  // ended, or the time limit ended it).
  bool Poll(int waitMs);
  bool Done() const { return done_; }
  void Pause();
  void Resume();
  // Ends the child; its answer is "given up".
  void Abandon();
  // The answer, once Done(); waits for the child's exit code.
  FingerprintAnswer Finish();

 private:
  platform::ChildProcess child_;
  std::string output_;
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::duration paused_{};
  std::chrono::steady_clock::time_point pausedAt_;
  std::chrono::milliseconds limit_{kFingerprintTimeLimit};
  bool done_ = false;
  bool isPaused_ = false;
  bool timedOut_ = false;
  bool abandoned_ = false;
  bool failed_ = false;
  std::string startError_;
};

// Runs the program for one file and waits for it, pausing it while the run is paused; a stop
// or a skip ends it (given up).
FingerprintAnswer MakeFingerprint(const std::vector<std::string>& argv, RunControl& run,
                                  std::chrono::milliseconds timeLimit = kFingerprintTimeLimit);

}  // namespace twinex::similar
