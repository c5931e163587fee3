#pragma once
// The question on closing the result window whether to save the result, with its countdown and
// "do not show again" box. The countdown's texts and answer come from its presenter.
#include <QDialog>
#include <functional>

#include "presenters/close_question.h"

class QCheckBox;
class QLabel;
class QTimer;

namespace twinex {
class Session;
class WindowSettings;
}

namespace twinex::ui {

class CloseQuestionDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CloseQuestionDialog(QWidget* parent = nullptr, int seconds = CloseQuestion::kSeconds);

  CloseAnswer answer() const { return answer_; }
  bool dontAskAgain() const;
  // One second of the countdown (the dialog's timer calls it; tests call it themselves).
  void Tick();
  QString CountdownText() const;
  void Answer(CloseAnswer answer);

 private:
  CloseQuestion question_;
  CloseAnswer answer_ = CloseQuestion::TimeoutAnswer();
  QLabel* countdown_;
  QCheckBox* dontAsk_;
  QTimer* timer_;
};

// Asks, when the options want it, whether to save the result before its window closes; save
// gets the answer Yes and does the saving.
// A window closed a second time (it is hidden already) does not ask again.
void AskToSaveOnClose(QWidget* parent, Session& session, WindowSettings& windowSettings,
                      const std::function<void()>& save);

}  // namespace twinex::ui
