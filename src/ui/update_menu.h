#pragma once
// The update and desktop-integration commands of the main window's menu, the checks at program
// start, and the package that is opened once the program has ended.
#include <string>

#include "settings/window_settings.h"

class QMenu;
class QWidget;

namespace twinex {
class Session;
}

namespace twinex::ui {

class UiBridge;

// Where the commands work: the main window (closed when the user chooses to install) and the
// snapshot of the window sections that it writes back when it closes.
struct UpdateHost {
  QWidget* window;
  Session& session;
  UiBridge& bridge;
  WindowSettings& windowSettings;
};

// "Nach Updates suchen", "Nach einer Betaversion suchen", "Internet Update...", and the
// commands that write and remove the file managers' context-menu entries.
void AddUpdateCommands(QMenu* menu, const UpdateHost& host);
// The automatic release and beta checks, for a start without a command line to act on.
void RunStartupUpdateChecks(const UpdateHost& host);
// The update window, modal; with `check` its version check starts at once.
void ShowUpdateDialog(const UpdateHost& host, bool check);

// The package the user chose to install; opened with the desktop's installer when the program
// has ended ("" for none).
std::string& PendingPackage();
void OpenPendingPackage();

}  // namespace twinex::ui
