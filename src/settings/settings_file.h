#pragma once
// Reading and writing the main window's settings (search settings, source folders, filters and
// program options) to the settings file or a profile (UTF-16LE INI).
#include <string>
#include <string_view>

#include "settings/program_options.h"
#include "settings/search_settings.h"
#include "settings/source_folders.h"

namespace twinex {

// The settings file of the program (config4.ini); set once at start-up.
void SetSettingsFilePath(const std::string& path);
const std::string& SettingsFilePath();

// The folders that some defaults and the portable adjustment refer to; set once at start-up.
// Left empty (as in tests), those defaults stay empty and nothing is adjusted.
struct SettingsFolders {
  std::string programFolder;
  std::string userDataFolder;
  std::string tempFolder;  // the program's default temp folder
  bool portable = false;
};
void SetSettingsFolders(const SettingsFolders& folders);
const SettingsFolders& GetSettingsFolders();

// ProfileGetItemWide: a value stored empty reads as the default; one extra pair of quotes that
// writing added is removed. An empty file means the settings file.
std::string ProfileGetItemWide(std::string_view section, std::string_view key, std::string_view def,
                               const std::string& file = "");
// ProfilePutItemWide: trims when asked, protects a quoted value with one more pair of quotes,
// always encloses in quotes. Returns the error text ("" on success); with logErrors a failure
// also goes to the debug log.
std::string ProfilePutItemWide(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& file = "", bool logErrors = false, bool trim = false);
std::string ProfileDeleteSection(std::string_view section, const std::string& file = "");

struct MainSettings {
  SearchSettings search;
  SourcesAndFilters sources;
  ProgramOptions options;
  bool operator==(const MainSettings&) const = default;
};

// EinstellungenLaden: the method, criteria, ContentCompare and ContentComparePercent are read
// only with loadSearchSelection; source folders are left as they are with skipSourceFolders.
void EinstellungenLaden(MainSettings& settings, const std::string& file, bool skipSourceFolders,
                        bool loadSearchSelection, bool reportProgress = false);
// EinstellungenSpeichern: writes every field (one file write). Keys of section "DupVerz" that
// this build does not know are carried over, so a newer build's options survive.
std::string EinstellungenSpeichern(const MainSettings& settings, const std::string& file);

// The paths that follow the program folder in portable mode: a temp folder equal to the stored
// default temp folder becomes the current one, a sound file in the stored sound folder moves to
// the current sound folder.
void ApplyPortableAdjustment(MainSettings& settings, const SettingsFolders& folders);
// The first load of a settings file without the UnicodeSupport key switches it on for display
// languages that need it and stores that. True when it did.
bool ApplyUnicodeSupportDefault(MainSettings& settings, int languageCode, const std::string& file = "");

}  // namespace twinex
