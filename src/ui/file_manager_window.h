#pragma once
// The file manager window: the action and its options (remembered in the settings file), the
// run on the session's worker with its questions, progress, cancel at any moment, and the
// summary with the action's log lines.
#include <QDialog>
#include <future>
#include <vector>

#include "app/session.h"
#include "presenters/file_manager_presenter.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace twinex::ui {

class UiBridge;

class FileManagerWindow : public QDialog {
  Q_OBJECT
 public:
  FileManagerWindow(Session& session, UiBridge& bridge, QWidget* parent = nullptr);
  ~FileManagerWindow() override;

  FileManagerPresenter& presenter() { return presenter_; }
  // Shows the presenter's settings and state in the controls.
  void Refresh();
  // The OK button: starts the run (it goes on after the call; runFinished tells its end).
  void Start();
  // "Abbrechen" while it runs (the run stops after the current file), else closes.
  void CancelOrClose();
  bool Running() const { return run_.valid(); }
  QString LogText() const;

 signals:
  // The result may change from now on: views over it must let go of it until runFinished.
  void runStarted();
  void runFinished();

 protected:
  // Escape, the title bar's close and "Abbrechen": stops a run, else stores the settings and closes.
  void reject() override;

 private:
  void ReadFields();
  void Poll();

  Session& session_;
  UiBridge& bridge_;
  FileManagerPresenter presenter_;
  QButtonGroup* actions_;
  QButtonGroup* groups_;
  QLineEdit* folder_;
  QPushButton* browse_;
  QLineEdit* subfolder_;
  QLineEdit* rename_;
  std::vector<QCheckBox*> options_;
  QCheckBox* closeAfter_;
  QComboBox* closeType_;
  QLabel* refusal_;
  QLabel* action_;
  QLabel* current_;
  QLabel* done_;
  QLabel* elapsed_;
  QProgressBar* bar_;
  QPlainTextEdit* log_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QTimer* timer_;
  std::future<FileManagerOutcome> run_;
};

}  // namespace twinex::ui
