#pragma once
// The session's ports for the desktop program. The worker thread calls them; each call reaches
// the window thread as a queued signal, and a question waits on the worker until the window
// thread has shown it as a modal dialog and has the answer.
#include <QObject>
#include <QString>
#include <functional>
#include <mutex>

#include "app/session.h"
#include "presenters/live_groups.h"

namespace twinex::ui {

class UiBridge : public QObject,
                 public SearchObserver,
                 public ActionObserver,
                 public Prompt,
                 public SessionListener {
  Q_OBJECT
 public:
  using Answerer = std::function<PromptAnswer(const PromptMessage&)>;
  explicit UiBridge(QObject* parent = nullptr);

  // Who answers questions on the window thread (a message box unless replaced, as tests do).
  void SetAnswerer(Answerer answerer) { answerer_ = std::move(answerer); }
  SessionPorts Ports() { return {*this, *this, *this, this}; }
  // The latest progress (the signal only says that it changed, so bursts collapse).
  SearchProgress LatestProgress() const;
  void ResetProgress();
  // The latest progress of a file action, likewise.
  ActionProgress LatestActionProgress() const;

  void OnLog(const std::string& text, bool isError) override;
  void OnStep(const std::string& caption) override;
  void OnProgress(const SearchProgress& progress) override;
  void OnProgress(const ActionProgress& progress) override;
  void OnExtraction(const ExtractionProgress& progress) override;
  bool WantsLiveGroups() const override { return true; }
  void OnGroupsChanged(const ResultTree& result, const std::vector<ResultGroup>& groups) override;
  // The batches handed over since the last call, oldest first.
  std::vector<GroupHandOver> TakeGroupBatches();
  void OnPaused(bool paused) override;
  void OnUnexpectedError(const std::string& where, const std::string& error) override;
  PromptAnswer Ask(const PromptMessage& message) override;
  void OnGroupsAdded(std::size_t first, std::size_t count) override;
  void OnRowsChanged() override;
  void OnSelectionChanged(const ResultCounters& counters) override;
  void OnError(const WorkError& error) override;

 signals:
  void logLine(QString text, bool isError);
  void stepChanged(QString caption);
  void progressChanged();
  void actionProgressChanged();
  void pausedChanged(bool paused);
  void extractionChanged(QString label);  // "" when the extraction has ended
  void groupsAdded();
  void liveGroupsChanged();  // batches wait in TakeGroupBatches
  void rowsChanged();
  void selectionChanged();
  void unexpectedError(QString text);

 private:
  Answerer answerer_;
  mutable std::mutex progressLock_;
  SearchProgress progress_;
  ActionProgress actionProgress_;
  std::mutex batchesLock_;
  std::vector<GroupHandOver> batches_;
};

// The message box of a question, on the window thread.
PromptAnswer ShowMessageBox(const PromptMessage& message);

}  // namespace twinex::ui
