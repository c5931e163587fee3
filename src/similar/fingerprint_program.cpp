#include "similar/fingerprint_program.h"

#include <charconv>
#include <limits>

#include "platform/process.h"
#include "platform/run_control.h"
#include "settings/translate.h"

namespace twinex::similar {
namespace {

std::string g_program = "fpcalc";
constexpr const char* kPackage = "libchromaprint-tools";
// A fingerprint of the longest analysis is a few hundred kilobytes of text; more than this is
// not a fingerprint program talking.
constexpr std::size_t kMaxOutput = 16u << 20;

// Blanks, tabs and line ends around a text.
std::string TrimAll(std::string_view s) {
  const std::size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string_view::npos) return "";
  return std::string(s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1));
}

std::string ExitCode(int exitCode) { return "exit:" + std::to_string(exitCode); }
std::string ExitText(int exitCode) { return " (" + ExitCode(exitCode) + ")"; }

bool ParseNumber(std::string_view text, std::int32_t& value) {
  const std::string piece = TrimAll(text);
  long long v = 0;
  const auto [end, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), v);
  // Unsigned output of the same bits is taken as well.
  if (ec != std::errc() || end != piece.data() + piece.size() || v < std::numeric_limits<std::int32_t>::min() ||
      v > static_cast<long long>(std::numeric_limits<std::uint32_t>::max()))
    return false;
  value = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
  return true;
}

}  // namespace

void SetFingerprintProgram(const std::string& program) { g_program = program; }
const std::string& FingerprintProgram() { return g_program; }

std::string FingerprintProgramRefusal() {
  if (!platform::FindProgram(g_program).empty()) return "";
  return z_Translate(18084, "Das Programm '%1' wurde nicht gefunden (Paket '%2').", {g_program, kPackage});
}

std::vector<std::string> FingerprintArguments(const std::string& program, int algorithm, int seconds,
                                              const std::string& path) {
  return {program, "-raw", "-signed", "-plain", "-algorithm", std::to_string(algorithm), "-length",
          std::to_string(seconds), path};
}

FingerprintAnswer ParseFingerprintOutput(std::string_view output, int exitCode) {
  FingerprintAnswer a;
  if (TrimAll(output).empty()) {
    a.error = z_Translate(11160, "Bei der Audioanalyse ist ein unerwarteter Fehler aufgetreten: %1", {ExitCode(exitCode)});
    return a;
  }
  if (const std::size_t at = output.find("ERROR:"); at != std::string_view::npos) {
    std::string text(output.substr(at + 6));
    for (char& c : text)
      if (c == '\n' || c == '\r') c = ' ';
    a.error = TrimAll(text) + ExitText(exitCode);
    a.kind = output.find("Empty fingerprint") != std::string_view::npos ? FingerprintAnswer::kEmpty : FingerprintAnswer::kFailed;
    return a;
  }
  const std::string trimmed = TrimAll(output);
  std::string_view rest = trimmed;
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    const std::string_view piece = rest.substr(0, comma);
    std::int32_t value = 0;
    if (!TrimAll(piece).empty()) {
      if (!ParseNumber(piece, value)) {
        a.fingerprint.clear();
        break;
      }
      a.fingerprint.push_back(value);
    }
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  if (a.fingerprint.empty()) {
    a.error = z_Translate(11161, "Es konnte keine Prüfsumme gefunden werden: %1",
                          {TrimAll(output.substr(0, 200))});
    return a;
  }
  a.kind = FingerprintAnswer::kMade;
  return a;
}

std::string FingerprintJob::Start(const std::vector<std::string>& argv, std::chrono::milliseconds timeLimit) {
  limit_ = timeLimit;
  started_ = std::chrono::steady_clock::now();
  // Standard error carries the program's "ERROR:" answers; it is read with the output.
  startError_ = child_.Start(argv);
  if (!startError_.empty()) done_ = failed_ = true;
  return startError_;
}

bool FingerprintJob::Poll(int waitMs) {
  if (done_) return true;
  char buffer[4096];
  const long n = child_.Read(buffer, sizeof buffer, isPaused_ ? 0 : waitMs);
  if (n > 0) {
    output_.append(buffer, static_cast<std::size_t>(n));
    if (output_.size() > kMaxOutput) {
      child_.Kill();
      done_ = failed_ = true;
    }
  } else if (n == 0 || n == -2) {
    done_ = true;
  }
  if (!done_ && !isPaused_ && std::chrono::steady_clock::now() - started_ - paused_ >= limit_) {
    child_.Kill();
    done_ = timedOut_ = true;
  }
  return done_;
}

void FingerprintJob::Pause() {
  if (done_ || isPaused_) return;
  child_.Pause();
  isPaused_ = true;
  pausedAt_ = std::chrono::steady_clock::now();
}

void FingerprintJob::Resume() {
  if (!isPaused_) return;
  child_.Resume();
  isPaused_ = false;
  paused_ += std::chrono::steady_clock::now() - pausedAt_;
}

void FingerprintJob::Abandon() {
  child_.Kill();
  done_ = abandoned_ = true;
}

FingerprintAnswer FingerprintJob::Finish() {
  const int exitCode = child_.Wait();
  FingerprintAnswer a;
  if (abandoned_) {
    a.kind = FingerprintAnswer::kGivenUp;
  } else if (timedOut_) {
    a.error = z_Translate(11164, "Das Programm '%1' hat nach %2 Sekunden nicht geantwortet und wurde beendet.",
                          {FingerprintProgram(), std::to_string(limit_.count() / 1000)});
  } else if (!startError_.empty()) {
    a.error = z_Translate(11160, "Bei der Audioanalyse ist ein unerwarteter Fehler aufgetreten: %1", {startError_});
  } else if (failed_) {
    a.error = z_Translate(11160, "Bei der Audioanalyse ist ein unerwarteter Fehler aufgetreten: %1", {ExitCode(exitCode)});
  } else {
    std::string all = output_;
    if (const std::string errors = child_.ErrorText(); !errors.empty()) all += (all.empty() ? "" : "\n") + errors;
    a = ParseFingerprintOutput(all, exitCode);
  }
  return a;
}

FingerprintAnswer MakeFingerprint(const std::vector<std::string>& argv, RunControl& run, std::chrono::milliseconds timeLimit) {
  FingerprintJob job;
  job.Start(argv, timeLimit);
  while (!job.Poll(100)) {
    if (run.State() == kStateRunning) continue;
    if (run.Paused()) {
      job.Pause();
      run.WaitWhilePaused();
      job.Resume();
    }
    if (run.State() != kStateRunning && !run.ContinueAfterBlock()) job.Abandon();
  }
  return job.Finish();
}

}  // namespace twinex::similar
