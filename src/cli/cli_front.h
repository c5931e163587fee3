#pragma once
// How the command line answers questions and shows what a search reports.
#include <cstdio>
#include <string>

#include "actions/file_manager.h"
#include "search/search_observer.h"
#include "settings/prompt.h"

namespace twinex::cli {

// Answers from --yes / --no; without either, takes the answer that loses nothing and says so.
class CliPrompt : public Prompt {
 public:
  explicit CliPrompt(int answer) : answer_(answer) {}
  PromptAnswer Ask(const PromptMessage& message) override;

 private:
  int answer_;
};

class CliObserver : public SearchObserver {
 public:
  // logFile: empty → standard error, "-" → standard output, else a UTF-16LE log file.
  explicit CliObserver(std::string logFile);
  void OnLog(const std::string& text, bool isError) override;
  void OnStep(const std::string& caption) override;
  void OnProgress(const SearchProgress& progress) override;
  void OnExtraction(const ExtractionProgress& progress) override;
  void OnPaused(bool paused) override;
  const std::string& logError() const { return logError_; }

 private:
  void ClearProgressLine();
  std::string logFile_;
  std::string logError_;
  bool progressShown_ = false;
  bool interactive_ = false;
};

// The log lines of a file action on the terminal (or the --log file), beside the search's.
class CliActionLog : public ActionObserver {
 public:
  explicit CliActionLog(SearchObserver& terminal) : terminal_(terminal) {}
  void OnLog(const std::string& text, bool isError) override { terminal_.OnLog(text, isError); }

 private:
  SearchObserver& terminal_;
};

// Text for a terminal: CR LF line breaks of messages become plain line breaks.
std::string ForTerminal(std::string text);

}  // namespace twinex::cli
