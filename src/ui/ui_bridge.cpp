#include "ui/ui_bridge.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <utility>

#include "search/archive_access.h"
#include "ui/qt_text.h"

namespace twinex::ui {

UiBridge::UiBridge(QObject* parent) : QObject(parent), answerer_(&ShowMessageBox) {}

SearchProgress UiBridge::LatestProgress() const {
  std::lock_guard<std::mutex> hold(progressLock_);
  return progress_;
}

void UiBridge::ResetProgress() {
  std::lock_guard<std::mutex> hold(progressLock_);
  progress_ = {};
}

void UiBridge::OnLog(const std::string& text, bool isError) { emit logLine(Q(text), isError); }
void UiBridge::OnStep(const std::string& caption) { emit stepChanged(Q(caption)); }

void UiBridge::OnProgress(const SearchProgress& progress) {
  {
    std::lock_guard<std::mutex> hold(progressLock_);
    progress_ = progress;
  }
  emit progressChanged();
}

void UiBridge::OnProgress(const ActionProgress& progress) {
  {
    std::lock_guard<std::mutex> hold(progressLock_);
    actionProgress_ = progress;
  }
  emit actionProgressChanged();
}

ActionProgress UiBridge::LatestActionProgress() const {
  std::lock_guard<std::mutex> hold(progressLock_);
  return actionProgress_;
}
void UiBridge::OnPaused(bool paused) { emit pausedChanged(paused); }
void UiBridge::OnGroupsChanged(const ResultTree& result, const std::vector<ResultGroup>& groups) {
  bool wasEmpty = false;
  {
    std::lock_guard<std::mutex> hold(batchesLock_);
    wasEmpty = batches_.empty();
    batches_.push_back({result.captionType, result.display, groups});
  }
  // One signal per burst: the window takes every waiting batch at once.
  if (wasEmpty) emit liveGroupsChanged();
}

std::vector<GroupHandOver> UiBridge::TakeGroupBatches() {
  std::lock_guard<std::mutex> hold(batchesLock_);
  return std::exchange(batches_, {});
}

void UiBridge::OnExtraction(const ExtractionProgress& progress) { emit extractionChanged(Q(ExtractionLabel(progress))); }

void UiBridge::OnUnexpectedError(const std::string& where, const std::string& error) {
  emit unexpectedError(Q(where + ": " + error));
}

PromptAnswer UiBridge::Ask(const PromptMessage& message) {
  if (QThread::currentThread() == thread()) return answerer_(message);
  PromptAnswer answer = SafeAnswer(message.buttons);
  QMetaObject::invokeMethod(this, [&] { answer = answerer_(message); }, Qt::BlockingQueuedConnection);
  return answer;
}

void UiBridge::OnGroupsAdded(std::size_t, std::size_t) { emit groupsAdded(); }
void UiBridge::OnRowsChanged() { emit rowsChanged(); }
void UiBridge::OnSelectionChanged(const ResultCounters&) { emit selectionChanged(); }
void UiBridge::OnError(const WorkError& error) { emit unexpectedError(Q(error.job + ": " + error.message)); }

PromptAnswer ShowMessageBox(const PromptMessage& message) {
  struct ButtonSet {
    PromptButtons buttons;
    QMessageBox::StandardButtons standard;
  };
  static const ButtonSet kButtons[] = {
      {PromptButtons::Ok, QMessageBox::Ok},
      {PromptButtons::OkCancel, QMessageBox::Ok | QMessageBox::Cancel},
      {PromptButtons::YesNo, QMessageBox::Yes | QMessageBox::No},
      {PromptButtons::YesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
  };
  static const QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Information, QMessageBox::Warning,
                                             QMessageBox::Question, QMessageBox::Critical};
  QMessageBox box(kIcons[static_cast<int>(message.icon)], Q(message.title.empty() ? std::string("Twinex") : message.title),
                  Q(message.Text()), kButtons[static_cast<int>(message.buttons)].standard, QApplication::activeWindow());
  if (message.timeoutSeconds > 0) {
    // A box that closes itself answers with its first button, as if pressed.
    const bool ok = message.buttons == PromptButtons::Ok || message.buttons == PromptButtons::OkCancel;
    QAbstractButton* first = box.button(ok ? QMessageBox::Ok : QMessageBox::Yes);
    QTimer::singleShot(message.timeoutSeconds * 1000, &box, [first] { first->click(); });
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return PromptAnswer::Ok;
    case QMessageBox::Yes: return PromptAnswer::Yes;
    case QMessageBox::No: return PromptAnswer::No;
    default: return SafeAnswer(message.buttons);
  }
}

}  // namespace twinex::ui
