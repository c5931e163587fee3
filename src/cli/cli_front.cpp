#include "cli/cli_front.h"

#include <unistd.h>

#include "app/log_line.h"
#include "platform/number_format.h"
#include "search/archive_access.h"
#include "platform/text.h"

namespace twinex::cli {
namespace {

const char* AnswerName(PromptAnswer a) {
  switch (a) {
    case PromptAnswer::Yes:
      return "yes";
    case PromptAnswer::No:
      return "no";
    case PromptAnswer::Cancel:
      return "cancel";
    case PromptAnswer::Ok:
      break;
  }
  return "ok";
}

PromptAnswer FromFlag(int answer, PromptButtons buttons) {
  if (answer == 0 || buttons == PromptButtons::Ok) return SafeAnswer(buttons);
  bool yes = answer > 0;
  if (buttons == PromptButtons::OkCancel) return yes ? PromptAnswer::Ok : PromptAnswer::Cancel;
  return yes ? PromptAnswer::Yes : PromptAnswer::No;
}

}  // namespace

std::string ForTerminal(std::string text) { return platform::ReplaceAll(std::move(text), "\r\n", "\n"); }

PromptAnswer CliPrompt::Ask(const PromptMessage& message) {
  std::string text = ForTerminal(message.Text());
  PromptAnswer a = FromFlag(answer_, message.buttons);
  if (message.buttons == PromptButtons::Ok) {
    std::fprintf(stderr, "%s\n", text.c_str());
  } else {
    const char* how = answer_ == 0 ? " (no --yes/--no given: taking the answer that loses nothing)" : "";
    std::fprintf(stderr, "%s\n-> answered %s%s\n", text.c_str(), AnswerName(a), how);
  }
  return a;
}

CliObserver::CliObserver(std::string logFile) : logFile_(std::move(logFile)) {
  interactive_ = isatty(STDERR_FILENO) == 1;
}

void CliObserver::ClearProgressLine() {
  if (!progressShown_) return;
  std::fputs("\r\033[K", stderr);
  progressShown_ = false;
}

void CliObserver::OnLog(const std::string& text, bool isError) {
  std::string line = FormatLogLine(text, isError);
  if (logFile_.empty() || logFile_ == "-") {
    FILE* out = logFile_.empty() ? stderr : stdout;
    if (out == stderr) ClearProgressLine();
    std::fprintf(out, "%s\n", ForTerminal(line).c_str());
    std::fflush(out);
    return;
  }
  std::string err = AppendLogLine(logFile_, line);
  if (!err.empty() && logError_.empty()) {
    logError_ = err;
    std::fprintf(stderr, "twinex-cli: cannot write the log file %s: %s\n", logFile_.c_str(), err.c_str());
  }
}

void CliObserver::OnStep(const std::string& caption) {
  ClearProgressLine();
  std::fprintf(stderr, "%s\n", ForTerminal(caption).c_str());
}

void CliObserver::OnProgress(const SearchProgress& p) {
  if (!interactive_) return;
  std::string line = p.counting ? "... " + platform::FormatCount(p.filesTotal)
                                : platform::FormatCount(p.filesChecked) + " / " + platform::FormatCount(p.filesTotal) +
                                      "  " + platform::FormatCount(p.duplicates);
  std::fprintf(stderr, "\r\033[K%s  %s", line.c_str(), platform::DisplayText(p.currentFolder).substr(0, 80).c_str());
  std::fflush(stderr);
  progressShown_ = true;
}

void CliObserver::OnExtraction(const ExtractionProgress& p) {
  if (!interactive_) return;
  std::fprintf(stderr, "\r\033[K%s", ForTerminal(ExtractionLabel(p)).c_str());
  std::fflush(stderr);
  progressShown_ = !p.finished;
}

void CliObserver::OnPaused(bool paused) {
  ClearProgressLine();
  std::fprintf(stderr, paused ? "paused\n" : "resumed\n");
}

}  // namespace twinex::cli
