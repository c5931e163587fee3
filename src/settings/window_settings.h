#pragma once
// The sections that belong to the other windows and to the program as a whole (result window
// options, file manager, export, selection dialogs, shortcuts, window positions, language,
// update). A window reads its keys when it opens and writes them back when it closes; the
// defaults come from the same key table as the main window's settings.
#include <string>
#include <string_view>
#include <vector>

namespace twinex {

// The default a window reads the key with ("" when the table gives none or does not know it).
std::string SettingDefault(std::string_view section, std::string_view key);
// ProfileGetItemWide with the table's default.
std::string ReadSetting(std::string_view section, std::string_view key, const std::string& file = "");

class WindowSettings;
// Writes one key to the file at once and into the snapshot too, so that writing the snapshot
// back when the program ends keeps the new value; returns the write error or "".
std::string StoreSetting(WindowSettings& settings, std::string_view section, std::string_view key,
                         const std::string& value, const std::string& file = "");

// A snapshot of every key of those sections: the table's keys with their stored values or
// defaults, and every key present in the sections kept whole ("Shortcuts", "WindowPos", "CBVS").
class WindowSettings {
 public:
  struct Entry {
    std::string section;
    std::string key;
    std::string value;
  };
  // The stored value, else the table's default.
  std::string Get(std::string_view section, std::string_view key) const;
  void Set(std::string_view section, std::string_view key, std::string value);
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

WindowSettings LoadWindowSettings(const std::string& file = "");
// Takes the section's keys as the file holds them now into the snapshot, after a window wrote
// them itself, so that writing the snapshot back later does not bring old values back.
void ReloadSection(WindowSettings& settings, std::string_view section, const std::string& file = "");
// Writes every entry back (one file write); returns the first error or "".
std::string SaveWindowSettings(const WindowSettings& settings, const std::string& file = "");

}  // namespace twinex
