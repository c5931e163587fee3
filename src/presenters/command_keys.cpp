#include "presenters/command_keys.h"

#include "presenters/selection_menu.h"
#include "results/selection_undo.h"
#include "settings/translate.h"

namespace twinex {

namespace {
constexpr int kMaxStored = 200;
constexpr const char* kSection = "Shortcuts";
}  // namespace

std::vector<CommandKey> ConfigurableCommands() {
  std::vector<CommandKey> out = {
      {"SearchStart", z_Translate(22201, "Suche starten"), "F5"},
      {"AddFolder", z_Translate(22165, "Ordner hinzufügen..."), "Ctrl+O"},
      {"Exit", z_Translate(22202, "Beenden"), "Ctrl+Q"},
      {"Undo", UndoList::CommandCaption(), "Ctrl+Z"},
  };
  for (const SelectMenuEntry& e : SelectMenuEntries()) out.push_back({e.command, SelectEntryText(e), e.defaultKey});
  out.push_back({"MarkAllFiles", MarkAllFilesText(), ""});
  for (const RemovalMenuEntry& e : RemovalMenuEntries()) out.push_back({e.command, RemovalEntryText(e), e.defaultKey});
  return out;
}

std::string ShortcutsWindowTitle() { return z_Translate(22331, "Tastenkombinationen"); }
std::string ShortcutsMenuText() { return z_Translate(22332, "Tastenkombinationen..."); }
std::string CommandColumnTitle() { return z_Translate(22333, "Befehl"); }
std::string KeyColumnTitle() { return z_Translate(22334, "Tastenkombination"); }
std::string RestoreDefaultKeysText() { return z_Translate(22335, "Standard wiederherstellen"); }

std::map<std::string, std::string> ReadStoredKeys(const WindowSettings& settings) {
  std::map<std::string, std::string> keys;
  for (int n = 1; n <= kMaxStored; ++n) {
    const std::string id = settings.Get(kSection, "ID" + std::to_string(n));
    if (id.empty()) break;
    keys[id] = settings.Get(kSection, "Key" + std::to_string(n));
  }
  return keys;
}

void StoreKeys(WindowSettings& settings, const std::map<std::string, std::string>& keys) {
  std::map<std::string, std::string> defaults;
  for (const CommandKey& c : ConfigurableCommands()) defaults[c.command] = c.defaultKey;
  int n = 0;
  for (const auto& [command, key] : keys) {
    auto d = defaults.find(command);
    if (d != defaults.end() && d->second == key) continue;
    if (++n > kMaxStored) break;
    settings.Set(kSection, "ID" + std::to_string(n), command);
    settings.Set(kSection, "Key" + std::to_string(n), key);
  }
  // Pairs of an earlier, longer list would be read back after the new end.
  for (int m = n + 1; m <= kMaxStored && !settings.Get(kSection, "ID" + std::to_string(m)).empty(); ++m) {
    settings.Set(kSection, "ID" + std::to_string(m), "");
    settings.Set(kSection, "Key" + std::to_string(m), "");
  }
}

std::string KeyOf(const std::map<std::string, std::string>& stored, const std::string& command,
                  const std::string& defaultKey) {
  auto at = stored.find(command);
  return at != stored.end() ? at->second : defaultKey;
}

std::string KeyClash(const std::map<std::string, std::string>& keysByCommand) {
  std::map<std::string, std::string> captions, owner;
  for (const CommandKey& c : ConfigurableCommands()) captions[c.command] = c.caption;
  for (const auto& [command, key] : keysByCommand) {
    if (key.empty()) continue;
    auto [at, fresh] = owner.emplace(key, command);
    if (!fresh)
      return z_Translate(22336, "Die Tastenkombination %1 ist zweimal vergeben: %2 und %3.",
                         {key, captions[at->second], captions[command]});
  }
  return "";
}

}  // namespace twinex
