#pragma once
// The result window: runs one search on the session's worker and shows it live (step caption,
// counters, current folder, elapsed time, progress bar), with pause/resume, stop (button and
// Escape, after the question) and skip; afterwards the grid over the result and the search log.
#include <QMainWindow>
#include <future>

#include "app/session.h"
#include "presenters/result_window_presenter.h"
#include "settings/window_settings.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeView;

namespace twinex {
class Session;
}

class QMenu;

namespace twinex::ui {

class ExportWindow;
class FileManagerWindow;
class PreviewPane;
class ResultCommands;
class ResultModel;
class RowActions;
class UiBridge;

class ResultWindow : public QMainWindow {
  Q_OBJECT
 public:
  ResultWindow(Session& session, UiBridge& bridge, WindowSettings& windowSettings, ExportColumns columns,
               QWidget* parent = nullptr);
  ~ResultWindow() override;

  void StartSearch();
  bool Running() const { return presenter_.running(); }
  // The controls, for the window's buttons, keys and tests.
  void TogglePause();
  void Stop();  // asks first
  void Skip();
  // Ends a running search without a question and waits for its closing steps.
  void StopAndWait();

  ResultModel& model() { return *model_; }
  QTreeView& grid() { return *grid_; }
  PreviewPane& preview() { return *preview_; }
  const ResultWindowPresenter& presenter() const { return presenter_; }
  QString StatusText() const;
  QString LogText() const;
  // Shows the result's name in the title (after a save or a load).
  void RefreshTitle();
  // The grid header's menu: one check item per file column.
  void FillColumnMenu(QMenu& menu);
  // Shows the session's result as it is now (after a search, a load or a file action).
  void ShowResult();
  // The file manager and export windows over the result, and saving it under a name.
  FileManagerWindow* OpenFileManager();
  ExportWindow* OpenExportWindow();
  bool SaveResultAs(const std::string& name);
  // The selection, removal and option commands of the menus and tool bar.
  ResultCommands& commands() { return *commands_; }
  // Asks for the name (the current one offered) and saves.
  void AskAndSave();
  // The grid's context menu with the actions on single files.
  RowActions& rowActions() { return *rowActions_; }

 signals:
  void searchFinished();
  // The window closed; its search log is the last search's log now.
  void closed();
  void resultSaved();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Poll();
  void ShowRunState();
  void ShowCounters();
  void ExpandGroups();
  // The header's menu: which columns the grid shows (stored in "Optionen").
  void ChooseColumns(const QPoint& at);

  Session& session_;
  UiBridge& bridge_;
  WindowSettings& windowSettings_;
  ResultWindowPresenter presenter_;
  ResultModel* model_;
  QTreeView* grid_;
  PreviewPane* preview_;
  QLabel* step_;
  QLabel* elapsed_;
  QLabel* files_;
  QLabel* duplicates_;
  QLabel* groups_;
  QLabel* folder_;
  QLabel* extraction_;
  QProgressBar* bar_;
  QPushButton* pause_;
  QPushButton* stop_;
  QPushButton* skip_;
  QLabel* status_[3];
  QPlainTextEdit* log_;
  QTimer* timer_;
  ResultCommands* commands_;
  RowActions* rowActions_;
  std::future<SearchReport> search_;
};

}  // namespace twinex::ui
