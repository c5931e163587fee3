#pragma once
// The export window: which files, the format, the separator, the file list and open-afterwards
// switches (remembered in section "ExportList"), then the save dialog and the session's export.
#include <QDialog>
#include <functional>
#include <string>

#include "app/session.h"
#include "presenters/export_window_presenter.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace twinex::ui {

class UiBridge;

class ExportWindow : public QDialog {
  Q_OBJECT
 public:
  // Asks for the file to write, starting from the suggested one; "" cancels.
  using TargetChooser = std::function<std::string(const std::string& suggested, const std::string& filter)>;

  ExportWindow(Session& session, UiBridge& bridge, ExportColumns columns, QWidget* parent = nullptr);

  ExportWindowPresenter& presenter() { return presenter_; }
  void SetTargetChooser(TargetChooser chooser) { chooseTarget_ = std::move(chooser); }
  void Refresh();
  // The OK button. The window closes after an export that was written.
  ExportOutcome Export();

 protected:
  void done(int result) override;

 private:
  void ReadFields();

  Session& session_;
  UiBridge& bridge_;
  ExportWindowPresenter presenter_;
  TargetChooser chooseTarget_;
  QButtonGroup* which_;
  QButtonGroup* format_;
  QButtonGroup* separator_;
  QLineEdit* custom_;
  QCheckBox* fileList_;
  QCheckBox* open_;
};

}  // namespace twinex::ui
