#pragma once
// The update window: installed and available version, the changes, the download folder, the
// proxy settings, and the download with progress and cancel.
#include <QDialog>
#include <memory>

#include "presenters/update_window_presenter.h"
#include "settings/window_settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace twinex {
class Session;
}

namespace twinex::ui {

class UiBridge;

class UpdateDialog : public QDialog {
  Q_OBJECT
 public:
  UpdateDialog(Session& session, UiBridge& bridge, WindowSettings& windowSettings, QWidget* parent = nullptr);
  ~UpdateDialog() override;

  // Fetches the version file (and the changes) without blocking the window.
  void StartCheck();
  // "Download" / "Abbrechen".
  void DownloadOrCancel();
  const UpdateWindowPresenter& presenter() const { return presenter_; }

 signals:
  // The user wants the program to end and the package opened.
  void installRequested(QString package);

 protected:
  void done(int result) override;

 private:
  struct Transfer;
  void Show();
  void ReadFields();
  void Poll();
  void Finished(const update::DownloadOutcome& outcome);

  Session& session_;
  UiBridge& bridge_;
  WindowSettings& windowSettings_;
  UpdateWindowPresenter presenter_;
  std::shared_ptr<Transfer> transfer_;
  QLabel* installed_;
  QLabel* internet_;
  QPlainTextEdit* changes_;
  QLineEdit* folder_;
  QCheckBox* useProxy_;
  QLineEdit* host_;
  QLineEdit* port_;
  QLineEdit* user_;
  QLineEdit* password_;
  QCheckBox* autoCheck_;
  QPushButton* check_;
  QPushButton* download_;
  QProgressBar* bar_;
  QLabel* progress_;
  QLabel* status_;
  QTimer* timer_;
};

}  // namespace twinex::ui
