#pragma once
// The keyboard shortcuts of the window commands, stored in section "Shortcuts" as numbered
// pairs ("ID1"/"Key1", …); a command without a stored pair keeps its default key.
#include <QKeySequence>
#include <map>
#include <string>

#include "settings/window_settings.h"

namespace twinex::ui {

enum class ShortcutId { StartSearch, AddFolder, Quit };

class Shortcuts {
 public:
  QKeySequence Key(ShortcutId id) const;
  QKeySequence Key(const std::string& command, const std::string& defaultKey) const;
  std::map<std::string, std::string> stored;  // command name -> key text
};

Shortcuts LoadShortcuts(const WindowSettings& settings);

}  // namespace twinex::ui
