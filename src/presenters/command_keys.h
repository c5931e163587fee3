#pragma once
// The commands a user can give a key of their own, with their default keys, and the stored
// form of section "Shortcuts": numbered pairs "ID1"/"Key1", "ID2"/"Key2", … that end at the
// first missing ID. A command without a stored pair keeps its default key.
#include <map>
#include <string>
#include <vector>

#include "settings/window_settings.h"

namespace twinex {

struct CommandKey {
  std::string command;     // the ID stored in "Shortcuts"
  std::string caption;     // what the shortcuts window shows
  std::string defaultKey;  // portable key text ("Ctrl+Shift+D"), "" for none
};

// The main window's and the result window's commands, in menu order.
std::vector<CommandKey> ConfigurableCommands();
std::string ShortcutsWindowTitle();
std::string ShortcutsMenuText();
std::string CommandColumnTitle();
std::string KeyColumnTitle();
std::string RestoreDefaultKeysText();

// Stored keys by command ID (an empty key removes a default).
std::map<std::string, std::string> ReadStoredKeys(const WindowSettings& settings);
// Stores only the keys that differ from their defaults; earlier pairs past the new end are
// cleared so that they do not come back.
void StoreKeys(WindowSettings& settings, const std::map<std::string, std::string>& keys);
// The key a command has now: its stored key, else its default.
std::string KeyOf(const std::map<std::string, std::string>& stored, const std::string& command,
                  const std::string& defaultKey);
// Two commands that would share one key; "" when every key is unique.
std::string KeyClash(const std::map<std::string, std::string>& keysByCommand);

}  // namespace twinex
