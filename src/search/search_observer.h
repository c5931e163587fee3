#pragma once
// What a running search tells its front end: log lines, step captions, progress, the folder
// being walked. The GUI marshals these to its thread, the command line prints them, tests
// record them.
#include <cstdint>
#include <string>
#include <vector>

namespace twinex {

struct ResultGroup;
class ResultTree;

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

// An extraction that has run for a while: what is being unpacked and how far it got.
struct ExtractionProgress {
  std::string member;   // the path inside the archive
  std::string archive;
  std::uint64_t size = 0;
  std::uint64_t done = 0;
  bool finished = false;  // the labels can go
  int Percent() const { return size ? static_cast<int>(done * 100 / size) : 0; }
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
  // "Entpacke Datei..." with its labels, once an extraction has run longer than a moment.
  virtual void OnExtraction(const ExtractionProgress& /*progress*/) {}
  // Whether the front end shows groups while they form. When it does, copies of the groups that
  // were opened or grew are handed over with the progress (the result itself belongs to the
  // search's thread until the search ends).
  virtual bool WantsLiveGroups() const { return false; }
  // Groups opened or grown since the last hand-over, in the order they were opened; the result
  // they belong to is only lent for the call (its caption type and display).
  virtual void OnGroupsChanged(const ResultTree& /*result*/, const std::vector<ResultGroup>& /*groups*/) {}
  // The search pauses (true) or resumes (false).
  virtual void OnPaused(bool /*paused*/) {}
  // The search ended on an unexpected error (where it happened, the error); the program's
  // error record is written from here.
  virtual void OnUnexpectedError(const std::string& /*where*/, const std::string& /*error*/) {}
};

}  // namespace twinex
