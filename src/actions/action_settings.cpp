#include "actions/action_settings.h"

#include <utility>
#include <vector>

#include "platform/ini_file.h"
#include "platform/text.h"
#include "settings/settings_file.h"

namespace twinex {
namespace {

constexpr const char* kSection = "Aktionen";

struct Flag {
  const char* key;
  bool FileManagerSettings::*field;
};

const Flag kFlags[] = {
    {"IgnoreGroupsAllFilesSelected", &FileManagerSettings::IgnoreGroupsAllFilesSelected},
    {"Ordnerstruktur", &FileManagerSettings::Ordnerstruktur},
    {"CreateSubfolder", &FileManagerSettings::CreateSubfolder},
    {"ReplaceFileWithSameName", &FileManagerSettings::ReplaceFileWithSameName},
    {"OptionHardlink", &FileManagerSettings::OptionHardlink},
    {"OptionShortcut", &FileManagerSettings::OptionShortcut},
    {"SetFileSizeToZero", &FileManagerSettings::SetFileSizeToZero},
    {"SecureDelete", &FileManagerSettings::SecureDelete},
    {"DeleteIfRecycleBinNotExist", &FileManagerSettings::DeleteIfRecycleBinNotExist},
    {"SecureHint", &FileManagerSettings::SecureHint},
    {"LogNoActions", &FileManagerSettings::LogNoActions},
    {"DelEmptyFolders", &FileManagerSettings::DelEmptyFolders},
    {"IfErrorDontAskToAbort", &FileManagerSettings::IfErrorDontAskToAbort},
    {"DateienEntfernen", &FileManagerSettings::DateienEntfernen},
    {"GruppenEntfernen", &FileManagerSettings::GruppenEntfernen},
    {"CloseFileManager", &FileManagerSettings::CloseFileManager},
};

struct Text {
  const char* key;
  std::string FileManagerSettings::*field;
};

const Text kTexts[] = {
    {"Ordner", &FileManagerSettings::Ordner},
    {"CreateSubfolderText", &FileManagerSettings::CreateSubfolderText},
    {"Rename", &FileManagerSettings::Rename},
};

int ReadNumber(const std::string& file, const char* key, int def, int max) {
  long long v = 0;
  if (!platform::ParseLong(ProfileGetItemWide(kSection, key, std::to_string(def), file), v)) return def;
  return (v >= 0 && v <= max) ? static_cast<int>(v) : def;
}

}  // namespace

FileManagerSettings LoadFileManagerSettings(const std::string& file) {
  FileManagerSettings s;
  s.Aktion = static_cast<FileAction>(ReadNumber(file, "Aktion", static_cast<int>(s.Aktion), 4));
  s.GroupAction = ReadNumber(file, "GroupAction", s.GroupAction, 1);
  s.CloseFileManagerType = ReadNumber(file, "CloseFileManagerType", s.CloseFileManagerType, 1);
  for (const Flag& f : kFlags) s.*f.field = ReadNumber(file, f.key, s.*f.field ? 1 : 0, 1) != 0;
  for (const Text& t : kTexts) s.*t.field = ProfileGetItemWide(kSection, t.key, s.*t.field, file);
  return s;
}

std::string SaveFileManagerSettings(const FileManagerSettings& s, const std::string& file) {
  std::vector<std::pair<const char*, std::string>> items = {
      {"Aktion", std::to_string(static_cast<int>(s.Aktion))},
      {"GroupAction", std::to_string(s.GroupAction)},
      {"CloseFileManagerType", std::to_string(s.CloseFileManagerType)},
  };
  for (const Flag& f : kFlags) items.emplace_back(f.key, s.*f.field ? "1" : "0");
  for (const Text& t : kTexts) items.emplace_back(t.key, s.*t.field);
  platform::IniBatch batch(file.empty() ? SettingsFilePath() : file);
  for (const auto& [key, value] : items) {
    if (std::string error = ProfilePutItemWide(kSection, key, value, file); !error.empty()) return error;
  }
  return batch.Commit();
}

}  // namespace twinex
