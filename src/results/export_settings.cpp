// The export window's stored choices, the visible columns, and the captions of the choices.
#include <string>

#include "platform/ini_file.h"
#include "platform/text.h"
#include "results/export.h"
#include "results/export_columns.h"
#include "settings/settings_file.h"
#include "settings/translate.h"

namespace twinex {
namespace {

constexpr const char* kSection = "ExportList";

// A stored choice outside its range (an edited or foreign file) reads as the default.
int ReadChoice(const std::string& file, const char* key, int def, int max) {
  long long v = 0;
  if (!platform::ParseLong(ProfileGetItemWide(kSection, key, std::to_string(def), file), v)) return def;
  return (v >= 0 && v <= max) ? static_cast<int>(v) : def;
}

bool ReadFlag(const std::string& file, const char* section, const char* key, bool def) {
  long long v = 0;
  if (!platform::ParseLong(ProfileGetItemWide(section, key, def ? "1" : "0", file), v)) return def;
  return v != 0;
}

}  // namespace

ExportSettings LoadExportSettings(const std::string& file, const std::string& defaultSaveDir) {
  const ExportSettings def;
  ExportSettings s;
  s.Delimiter = ReadChoice(file, "Delimiter", def.Delimiter, kSeparatorCustom);
  s.DelimiterChars = ProfileGetItemWide(kSection, "DelimiterChars", "", file);
  s.FileFormat = ReadChoice(file, "FileFormat", def.FileFormat, kExportXlsx);
  s.SaveFileType = ReadChoice(file, "SaveFileType", def.SaveFileType, kExportUnselected);
  s.SaveOnlyFiles = ReadFlag(file, kSection, "SaveOnlyFiles", def.SaveOnlyFiles);
  s.OpenFile = ReadFlag(file, kSection, "OpenFile", def.OpenFile);
  s.LastSaveDir = ProfileGetItemWide(kSection, "LastSaveDir", defaultSaveDir, file);
  s.LastSaveFileName = ProfileGetItemWide(kSection, "LastSaveFileName", "", file);
  return s;
}

std::string SaveExportSettings(const ExportSettings& s, const std::string& file) {
  const std::pair<const char*, std::string> items[] = {
      {"Delimiter", std::to_string(s.Delimiter)},
      {"DelimiterChars", s.DelimiterChars},
      {"FileFormat", std::to_string(s.FileFormat)},
      {"SaveFileType", std::to_string(s.SaveFileType)},
      {"SaveOnlyFiles", s.SaveOnlyFiles ? "1" : "0"},
      {"OpenFile", s.OpenFile ? "1" : "0"},
      {"LastSaveDir", s.LastSaveDir},
      {"LastSaveFileName", s.LastSaveFileName},
  };
  // One write of the settings file instead of one per key.
  platform::IniBatch batch(file.empty() ? SettingsFilePath() : file);
  for (const auto& [key, value] : items) {
    std::string error = ProfilePutItemWide(kSection, key, value, file);
    if (!error.empty()) return error;
  }
  return batch.Commit();
}

ExportColumns LoadExportColumns(const std::string& file) {
  ExportColumns columns;
  for (const exporting::FileColumn& c : exporting::FileColumnTable())
    columns.*c.visible = ReadFlag(file, "Optionen", c.settingKey, columns.*c.visible);
  return columns;
}

ExportRequest MakeExportRequest(const ExportSettings& settings, const ExportColumns& columns,
                                const std::string& target) {
  ExportRequest r;
  r.target = target;
  r.format = settings.FileFormat;
  r.which = settings.SaveFileType;
  r.separator = settings.Delimiter;
  r.customSeparator = settings.DelimiterChars;
  r.fileListOnly = settings.SaveOnlyFiles;
  r.columns = columns;
  return r;
}

std::string ExportSeparatorText(int separator, const std::string& customSeparator) {
  switch (separator) {
    case kSeparatorComma: return ",";
    case kSeparatorTab: return "\t";
    case kSeparatorBlank: return " ";
    // Without a separator the fields would run together and could not be split again.
    case kSeparatorCustom: return customSeparator.empty() ? ";" : customSeparator;
    default: return ";";
  }
}

std::string ExportSeparatorCaption(int separator) {
  static const TextRef kCaptions[] = {TextRef{15040, "Komma"}, TextRef{15041, "Semikolon"},
                                      TextRef{15042, "Tabulator"}, TextRef{15043, "Leerzeichen"},
                                      TextRef{15044, "Benutzerdefiniert"}};
  return (separator >= 0 && separator <= kSeparatorCustom) ? z_Translate(kCaptions[separator]) : "";
}

std::string ExportWhichCaption(int which) {
  switch (which) {
    case kExportSelected: return z_Translate(15002, "Ausgewählte Dateien");
    case kExportUnselected: return z_Translate(15003, "Nicht ausgewählte Dateien");
    default: return z_Translate(15001, "Alle Dateien");
  }
}

std::string ExportFileExtension(int format) {
  switch (format) {
    case kExportCsv: return "csv";
    case kExportXlsx: return "xlsx";
    default: return "txt";
  }
}

}  // namespace twinex
