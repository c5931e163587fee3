#pragma once
// The main window's choices for what follows a search: a sound, and standby or hibernation.
class QMenu;

namespace twinex {
class Session;
}

namespace twinex::ui {

void AddAfterSearchCommands(QMenu* menu, Session& session);

}  // namespace twinex::ui
