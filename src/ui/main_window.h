#pragma once
// The main window: source folders (button, drag and drop, command line) with their flags, the
// search method with the options the presenter puts in force, the filter lists with their
// checks, the profiles, the log pane and "Suche starten", which opens the result window.
#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

#include "presenters/main_window_presenter.h"
#include "settings/window_settings.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTableWidget;

namespace twinex {
class Session;
}

namespace twinex::ui {

class ResultWindow;
class SavedResultsPage;
class UiBridge;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(Session& session, UiBridge& bridge, QWidget* parent = nullptr);
  ~MainWindow() override;

  MainWindowPresenter& presenter() { return presenter_; }
  // Applies the program's command line; true when it named something to search (the search has
  // started then).
  bool ApplyCommandLine(const std::string& rawCommandLine);
  // The automatic checks for a new release and beta, for a start without a command line.
  void RunStartupUpdateChecks();
  // "Suche starten": the result window, or null when the start checks refused.
  ResultWindow* StartSearch();
  ResultWindow* resultWindow() { return result_.get(); }
  // Opens a saved result in a new result window; null when it could not be loaded (the
  // session has shown why).
  ResultWindow* OpenSavedResult(const std::string& name);
  SavedResultsPage& savedResults() { return *savedResults_; }

  // Commands behind the dialogs (the dialogs only ask for the names).
  std::string AddSourceFolder(const std::string& path);
  bool SaveProfile(const std::string& name);
  bool LoadProfile(const std::string& name);
  bool RenameProfile(const std::string& from, const std::string& to);
  bool DeleteProfile(const std::string& name);
  bool CommentProfile(const std::string& name, const std::string& comment);
  std::vector<std::string> ProfileNames() const;
  // The user's language file: made from the English one, and switched on or off for the next start.
  bool CreateUserLanguageFile();
  void UseUserLanguageFile(bool on);

  // Shows the settings again (after a load); writes the window's keys back on closing.
  void Refresh();
  QString LogPaneText() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The option boxes of one page; their controls are added once every page exists.
  QWidget* BuildOptionPage(int page);
  void BuildOptionControls();
  void RefreshOptions();
  QWidget* BuildFilterPage(bool folders);
  QWidget* BuildProfilePage();
  void BuildMenus();
  void RefreshSources();
  void RefreshFilters();
  void RefreshProfiles();
  void ShowLastSearchLog();
  // A result window in place of the last one (whose log joins the general log first).
  ResultWindow* NewResultWindow();
  void Tell(const std::string& message);

  Session& session_;
  UiBridge& bridge_;
  MainSettings& settings_;
  MainWindowPresenter presenter_;
  WindowSettings windowSettings_;
  bool refreshing_ = false;

  QComboBox* method_ = nullptr;
  QLabel* methodNote_ = nullptr;
  QAction* startAction_ = nullptr;
  QAction* useLanguageFile_ = nullptr;
  std::vector<QCheckBox*> criteria_;
  std::vector<std::pair<QGroupBox*, OptionGroup>> boxes_;
  std::vector<QCheckBox*> bools_;
  std::vector<QLineEdit*> texts_;
  std::vector<QComboBox*> choices_;
  QFormLayout* forms_[kOptionGroupCount] = {};
  QDateEdit* exclusionDate_ = nullptr;
  QTableWidget* sources_ = nullptr;
  QListWidget* filters_[2] = {nullptr, nullptr};
  QLineEdit* filterEdit_[2] = {nullptr, nullptr};
  QLabel* filterError_[2] = {nullptr, nullptr};
  // Checks the typed filter text again (the filter options change what is valid).
  std::function<void()> checkFilterText_[2];
  QListWidget* profiles_ = nullptr;
  SavedResultsPage* savedResults_ = nullptr;
  QLabel* logHeading_ = nullptr;
  QPlainTextEdit* logPane_ = nullptr;
  std::unique_ptr<ResultWindow> result_;
};

}  // namespace twinex::ui
