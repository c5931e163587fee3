#pragma once
// The saved search results: the main window's list (load, rename, delete, show the search log,
// the comment edited in place) and the save window of the result window.
#include <QWidget>
#include <functional>
#include <string>

#include "app/session.h"
#include "presenters/saved_results_presenter.h"

class QPushButton;
class QTreeWidget;

namespace twinex::ui {

class UiBridge;

class SavedResultsPage : public QWidget {
  Q_OBJECT
 public:
  using Loader = std::function<void(const std::string& name)>;
  SavedResultsPage(Session& session, UiBridge& bridge, Loader load, QWidget* parent = nullptr);

  SavedResultsPresenter& presenter() { return presenter_; }
  QTreeWidget& list() { return *list_; }
  void Refresh();
  // The commands behind the buttons (the buttons only ask for the names).
  void Choose(const std::string& name);
  void Load();
  bool Rename(const std::string& newName);
  bool Delete();
  bool SaveComment(const std::string& name, const std::string& comment);

 private:
  void Run(SavedResultCommand command);
  void ShowEnabled();
  void Tell(const std::string& message);

  Session& session_;
  UiBridge& bridge_;
  Loader load_;
  SavedResultsPresenter presenter_;
  QTreeWidget* list_;
  std::vector<std::pair<SavedResultCommand, QPushButton*>> buttons_;
  bool refreshing_ = false;
};

// The save window: asks "Dateiname für das Suchergebnis:" (starting with the result's name);
// "" when cancelled.
std::string AskResultName(QWidget* parent, const std::string& preset);
// Saves the result under the name (the session asks before a result of the name is replaced)
// and shows why it failed.
SaveResultOutcome SaveResultNamed(Session& session, UiBridge& bridge, const std::string& name);

}  // namespace twinex::ui
