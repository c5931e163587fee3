#pragma once
// Reading and writing the search settings, source folders and filters to a settings file or
// profile (UTF-16LE INI).
#include <string>
#include <string_view>

#include "settings/search_settings.h"
#include "settings/source_folders.h"

namespace twinex {

// The settings file of the program (config4.ini); set once at start-up.
void SetSettingsFilePath(const std::string& path);
const std::string& SettingsFilePath();

// ProfileGetItemWide: a value stored empty reads as the default; one extra pair of quotes that
// writing added is removed. An empty file means the settings file.
std::string ProfileGetItemWide(std::string_view section, std::string_view key, std::string_view def,
                               const std::string& file = "");
// ProfilePutItemWide: trims when asked, protects a quoted value with one more pair of quotes,
// always encloses in quotes. Returns the error text ("" on success).
std::string ProfilePutItemWide(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& file = "", bool logErrors = false, bool trim = false);
std::string ProfileDeleteSection(std::string_view section, const std::string& file = "");

struct MainSettings {
  SearchSettings search;
  SourcesAndFilters sources;
  bool operator==(const MainSettings&) const = default;
};

// EinstellungenLaden: the method, criteria, ContentCompare and ContentComparePercent are read
// only with loadSearchSelection; source folders are left as they are with skipSourceFolders.
void EinstellungenLaden(MainSettings& settings, const std::string& file, bool skipSourceFolders,
                        bool loadSearchSelection, bool reportProgress = false);
// EinstellungenSpeichern: writes every field (one file write).
std::string EinstellungenSpeichern(const MainSettings& settings, const std::string& file);

}  // namespace twinex
