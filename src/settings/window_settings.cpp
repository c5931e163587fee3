#include "settings/window_settings.h"

#include "platform/ini_file.h"
#include "platform/text.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"

namespace twinex {
namespace {

using settings_keys::Home;
using settings_keys::KeyRule;

bool Same(std::string_view a, std::string_view b) { return platform::EqualsNoCase(a, b); }

std::string Resolve(const std::string& file) { return file.empty() ? SettingsFilePath() : file; }

}  // namespace

std::string SettingDefault(std::string_view section, std::string_view key) {
  for (const KeyRule& r : settings_keys::Table())
    if (!r.key.empty() && Same(r.section, section) && Same(r.key, key)) return r.def;
  return "";
}

std::string ReadSetting(std::string_view section, std::string_view key, const std::string& file) {
  return ProfileGetItemWide(section, key, SettingDefault(section, key), file);
}

std::string StoreSetting(WindowSettings& settings, std::string_view section, std::string_view key,
                         const std::string& value, const std::string& file) {
  settings.Set(section, key, value);
  return ProfilePutItemWide(section, key, value, file);
}

std::string WindowSettings::Get(std::string_view section, std::string_view key) const {
  for (const Entry& e : entries_)
    if (Same(e.section, section) && Same(e.key, key)) return e.value;
  return SettingDefault(section, key);
}

void WindowSettings::Set(std::string_view section, std::string_view key, std::string value) {
  for (Entry& e : entries_) {
    if (Same(e.section, section) && Same(e.key, key)) {
      e.value = std::move(value);
      return;
    }
  }
  entries_.push_back({std::string(section), std::string(key), std::move(value)});
}

WindowSettings LoadWindowSettings(const std::string& file) {
  WindowSettings s;
  const std::string path = Resolve(file);
  if (path.empty()) return s;
  platform::IniBatch batch(path);
  for (const KeyRule& r : settings_keys::Table()) {
    if (r.home != Home::OwnWindow) continue;
    if (!r.key.empty()) {
      s.Set(r.section, r.key, ProfileGetItemWide(r.section, r.key, r.def, path));
      continue;
    }
    for (const std::string& key : platform::IniSectionKeys(path, r.section))
      s.Set(r.section, key, ProfileGetItemWide(r.section, key, "", path));
  }
  return s;
}

void ReloadSection(WindowSettings& settings, std::string_view section, const std::string& file) {
  const std::string path = Resolve(file);
  if (path.empty()) return;
  for (const std::string& key : platform::IniSectionKeys(path, section))
    settings.Set(section, key, ProfileGetItemWide(section, key, "", path));
}

std::string SaveWindowSettings(const WindowSettings& settings, const std::string& file) {
  const std::string path = Resolve(file);
  if (path.empty()) return "WritePrivateProfileStringW: no settings file";
  platform::IniBatch batch(path);
  std::string error;
  for (const auto& e : settings.entries()) {
    std::string err = ProfilePutItemWide(e.section, e.key, e.value, path);
    if (error.empty()) error = err;
  }
  std::string err = batch.Commit();
  return error.empty() ? err : error;
}

}  // namespace twinex
