#pragma once
// The result grid's context menu with the actions on single files. What it offers comes from the
// row menu presenter; each action is one session call on the worker, with the window thread
// serving its questions.
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "presenters/row_menu.h"

class QMenu;
class QModelIndex;
class QPoint;
class QTreeView;
class QWidget;

namespace twinex {
class Session;
class WindowSettings;
}

namespace twinex::ui {

class ResultModel;

class RowActions : public QObject {
  Q_OBJECT
 public:
  // Asks the user for a text (a folder, a file name); an empty answer cancels.
  using Chooser = std::function<QString(const QString& start)>;

  // busy: a search runs and the result is not the user's yet.
  RowActions(QTreeView& grid, ResultModel& model, Session& session, WindowSettings& windowSettings,
             std::function<bool()> busy, QWidget* window);

  // Tests answer the folder and name questions themselves.
  void SetFolderChooser(Chooser chooser) { chooseFolder_ = std::move(chooser); }
  void SetNameChooser(Chooser chooser) { chooseName_ = std::move(chooser); }

  std::vector<RowMenuItem> ItemsAt(const QModelIndex& at) const;
  void FillMenu(QMenu& menu, const QModelIndex& at);
  // Runs the command for the row; false when nothing ran (disabled, or the user gave no folder
  // or name).
  bool Run(RowCommand command, const QModelIndex& at);

 signals:
  void fileManagerWanted();
  // The grid must let go of the result while the worker changes it.
  void runStarted();
  void runFinished();

 private:
  void ShowMenu(const QPoint& at);

  QTreeView& grid_;
  ResultModel& model_;
  Session& session_;
  WindowSettings& windowSettings_;
  std::function<bool()> busy_;
  QWidget* window_;
  Chooser chooseFolder_;
  Chooser chooseName_;
};

}  // namespace twinex::ui
