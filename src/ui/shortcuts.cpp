#include "ui/shortcuts.h"

#include "presenters/command_keys.h"
#include "ui/qt_text.h"

namespace twinex::ui {

namespace {

struct Command {
  ShortcutId id;
  const char* name;
  const char* defaultKey;
};
constexpr Command kCommands[] = {
    {ShortcutId::StartSearch, "SearchStart", "F5"},
    {ShortcutId::AddFolder, "AddFolder", "Ctrl+O"},
    {ShortcutId::Quit, "Exit", "Ctrl+Q"},
};

}  // namespace

QKeySequence Shortcuts::Key(ShortcutId id) const {
  for (const Command& c : kCommands)
    if (c.id == id) return Key(c.name, c.defaultKey);
  return {};
}

QKeySequence Shortcuts::Key(const std::string& command, const std::string& defaultKey) const {
  return QKeySequence(Q(KeyOf(stored, command, defaultKey)), QKeySequence::PortableText);
}

Shortcuts LoadShortcuts(const WindowSettings& settings) {
  Shortcuts s;
  s.stored = ReadStoredKeys(settings);
  return s;
}

}  // namespace twinex::ui
