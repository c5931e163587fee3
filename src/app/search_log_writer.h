#pragma once
// Writes what a search reports into the program's log files (the temporary search log and, for
// the separator at its start, the general log) and passes everything on to the front end.
#include "search/search_observer.h"

namespace twinex {

class SearchLogWriter : public SearchObserver {
 public:
  explicit SearchLogWriter(SearchObserver& next) : next_(next) {}
  void OnLog(const std::string& text, bool isError) override;
  void OnGeneralLog(const std::string& text) override;
  void OnStep(const std::string& caption) override { next_.OnStep(caption); }
  void OnProgress(const SearchProgress& progress) override { next_.OnProgress(progress); }
  void OnPaused(bool paused) override { next_.OnPaused(paused); }
  void OnExtraction(const ExtractionProgress& progress) override { next_.OnExtraction(progress); }
  bool WantsLiveGroups() const override { return next_.WantsLiveGroups(); }
  void OnGroupsChanged(const ResultTree& result, const std::vector<ResultGroup>& groups) override {
    next_.OnGroupsChanged(result, groups);
  }
  void OnUnexpectedError(const std::string& where, const std::string& error) override;

 private:
  SearchObserver& next_;
};

}  // namespace twinex
