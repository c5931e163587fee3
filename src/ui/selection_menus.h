#pragma once
// The result window's commands after a search: the selection menu with the editing mode, the
// group filter and undo, the removal menu, file protection and the options (columns, colours,
// keys). The menus are built by looping over the presenters' tables; every command calls the
// session, off the window thread so that the questions it asks can be shown, and then
// refreshes the grid.
#include <QColor>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "presenters/selection_menu.h"

class QAction;
class QActionGroup;
class QDialog;
class QLabel;
class QMainWindow;
class QMenu;
class QToolBar;
class QTreeView;

namespace twinex {
class ResultWindowPresenter;
class Session;
class WindowSettings;
}  // namespace twinex

namespace twinex::ui {

class ResultModel;
class UiBridge;

class ResultCommands : public QObject {
  Q_OBJECT
 public:
  ResultCommands(QMainWindow& window, Session& session, UiBridge& bridge, ResultModel& model, QTreeView& grid,
                 ResultWindowPresenter& presenter, WindowSettings& windowSettings);

  // Adds the menus to the window's menu bar and a tool bar; `fillColumns` fills the column menu.
  void Install(std::function<void(QMenu&)> fillColumns);
  // Enables what the view admits now.
  void Refresh();
  bool Busy() const { return busy_; }

  // The commands, for keys and tests.
  QAction* Action(SelectToolId id) const;
  QAction* Action(RemovalId id) const;
  QAction* undoAction() const { return undo_; }
  QAction* ModeAction(int mode) const;
  QAction* GroupFilterAction(int checkState) const;
  // The protection switches of the result's source folders (the menu fills them when shown).
  std::vector<QAction*> ProtectionActions();
  QAction* ColourAction(std::size_t option) const;
  QAction* shortcutsAction() const { return shortcuts_; }
  QAction* markAllAction() const { return markAll_; }
  // The last count or message a command reported.
  const QString& lastMessage() const { return lastMessage_; }
  // Undoes the last `count` actions.
  void UndoLast(std::size_t count = 1);

  // What the commands ask the user; dialogs unless replaced (tests answer them).
  std::function<bool(QDialog&)> runDialog;
  std::function<QString(const QString& title, const QString& label, const QString& text, bool* ok)> askText;
  std::function<QString(const QString& title)> askFolder;
  std::function<QColor(const QColor& initial, const QString& title)> askColour;

 signals:
  // The rows of the result changed (a removal): the grid was shown again.
  void rowsRemoved();

 private:
  struct Feedback;
  ResultViewState ViewState() const;
  ViewPick Pick() const;
  // Takes the view's unfolded and highlighted groups into the result and the selection.
  void SyncView();
  void RunSelect(const SelectMenuEntry& entry);
  void RunRemoval(const RemovalMenuEntry& entry);
  // Fill in what a command asks for; false when the user cancelled.
  bool AskSelectInput(const SelectMenuEntry& entry, const QString& title, SelectRequest& request);
  bool AskNumber(SelectAsk ask, const QString& title, long& value);
  bool AskFolder(const QString& title, std::string& folder);
  // Runs `work` on a helper thread, showing the wait text with a progress bar that can cancel.
  void RunAway(const QString& waitText, const std::function<void(Feedback&)>& work);
  void Report(const QString& message, bool asBox);
  void ApplyGroupFilter();
  void ApplyKeys();
  void FillUndoMenu(QMenu& menu);
  // "Alle Dateien markieren": highlights every file row, no check mark changes.
  void MarkAllFiles();
  void FillProtectionMenu();
  void ChooseColour(std::size_t option);
  void ColoursChanged();
  void EditShortcuts();

  QMainWindow& window_;
  Session& session_;
  UiBridge& bridge_;
  ResultModel& model_;
  QTreeView& grid_;
  ResultWindowPresenter& presenter_;
  WindowSettings& windowSettings_;
  bool busy_ = false;
  int mode_ = 0;
  bool filtered_ = false;  // rows were hidden by the group filter
  QString lastMessage_;
  std::map<SelectToolId, QAction*> select_;
  std::map<RemovalId, QAction*> remove_;
  std::map<QAction*, std::string> commands_;  // action -> its name in "Shortcuts"
  std::vector<QAction*> modes_;
  std::vector<QAction*> filter_;
  std::vector<QAction*> colours_;
  std::vector<QAction*> resultMenus_;  // enabled whenever a finished result is idle
  QMenu* protection_ = nullptr;
  QAction* undo_ = nullptr;
  QAction* shortcuts_ = nullptr;
  QAction* markAll_ = nullptr;
  QLabel* message_ = nullptr;
};

}  // namespace twinex::ui
