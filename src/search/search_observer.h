#pragma once
// What a running search tells its front end: log lines, step captions, progress, the folder
// being walked. The GUI marshals these to its thread, the command line prints them, tests
// record them.
#include <cstdint>
#include <string>

namespace twinex {

struct SearchProgress {
  std::int64_t elapsedSeconds = 0;
  std::uint64_t filesChecked = 0;
  std::uint64_t filesTotal = 0;      // 0 while unknown
  std::uint64_t archivesFound = 0;
  std::uint64_t archivesTotal = 0;
  std::uint64_t duplicates = 0;
  std::uint64_t groups = 0;
  bool counting = false;             // the counting walk is running
  std::string currentFolder;
};

class SearchObserver {
 public:
  virtual ~SearchObserver() = default;
  // One line of the search log (without timestamp); error lines are marked.
  virtual void OnLog(const std::string& /*text*/, bool /*isError*/) {}
  // One line of the general log (the separator written when a search starts).
  virtual void OnGeneralLog(const std::string& /*text*/) {}
  // "%1 von %2 - <step>" captions and other status texts.
  virtual void OnStep(const std::string& /*caption*/) {}
  // At most about once a second during the walks.
  virtual void OnProgress(const SearchProgress& /*progress*/) {}
  // The search pauses (true) or resumes (false).
  virtual void OnPaused(bool /*paused*/) {}
  // The search ended on an unexpected error (where it happened, the error); the program's
  // error record is written from here.
  virtual void OnUnexpectedError(const std::string& /*where*/, const std::string& /*error*/) {}
};

}  // namespace twinex
