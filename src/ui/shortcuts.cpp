#include "ui/shortcuts.h"

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
constexpr int kMaxStored = 200;

}  // namespace

QKeySequence Shortcuts::Key(ShortcutId id) const {
  for (const Command& c : kCommands) {
    if (c.id != id) continue;
    auto at = keys.find(c.name);
    return at != keys.end() ? at->second : QKeySequence(c.defaultKey);
  }
  return {};
}

Shortcuts LoadShortcuts(const WindowSettings& settings) {
  Shortcuts s;
  for (int n = 1; n <= kMaxStored; ++n) {
    const std::string id = settings.Get("Shortcuts", "ID" + std::to_string(n));
    if (id.empty()) break;
    s.keys[id] = QKeySequence(Q(settings.Get("Shortcuts", "Key" + std::to_string(n))));
  }
  return s;
}

}  // namespace twinex::ui
