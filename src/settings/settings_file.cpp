#include "settings/settings_file.h"

#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/text.h"
#include "settings/debug_trace.h"
#include "settings/settings_keys.h"

namespace twinex {
namespace {

using settings_keys::Decode;
using settings_keys::Encode;
using settings_keys::FieldRef;
using settings_keys::Form;
using settings_keys::Home;
using settings_keys::KeyRule;

std::string& SettingsPathStore() {
  static std::string path;
  return path;
}

SettingsFolders& FoldersStore() {
  static SettingsFolders folders;
  return folders;
}

std::string ResolveFile(const std::string& file) { return file.empty() ? SettingsFilePath() : file; }

bool Quoted(std::string_view v) { return v.size() > 1 && v.front() == '"' && v.back() == '"'; }

std::string SoundFolder(const SettingsFolders& f) { return f.programFolder + "/sound/"; }

}  // namespace

void SetSettingsFilePath(const std::string& path) { SettingsPathStore() = path; }
const std::string& SettingsFilePath() { return SettingsPathStore(); }

void SetSettingsFolders(const SettingsFolders& folders) { FoldersStore() = folders; }
const SettingsFolders& GetSettingsFolders() { return FoldersStore(); }

std::string ProfileGetItemWide(std::string_view section, std::string_view key, std::string_view def,
                               const std::string& file) {
  const std::string path = ResolveFile(file);
  if (path.empty()) return std::string(def);
  std::string v = platform::IniRead(path, section, key, def);
  if (v.empty()) return std::string(def);
  // The platform took off the pair that writing always adds; a second pair protected a value
  // that was quoted itself.
  if (Quoted(v)) v = v.substr(1, v.size() - 2);
  return v;
}

std::string ProfilePutItemWide(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& file, bool logErrors, bool trim) {
  std::string v = trim ? platform::Trim(value) : std::string(value);
  if (Quoted(v)) v = "\"" + v + "\"";
  v = "\"" + v + "\"";  // keeps leading and trailing blanks
  const std::string path = ResolveFile(file);
  // Without a file the write would land in the working folder.
  std::string error = path.empty() ? "WritePrivateProfileStringW: no settings file"
                                   : platform::IniWrite(path, section, key, v);
  if (!error.empty() && logErrors) {
    DebugTrace("ERROR: " + error);
    DebugTrace("WRITEW: " + std::string(section) + " , " + std::string(key) + " , " + std::string(value) + " , " +
               path);
  }
  return error;
}

std::string ProfileDeleteSection(std::string_view section, const std::string& file) {
  const std::string path = ResolveFile(file);
  if (path.empty()) return "WritePrivateProfileStringW: no settings file";
  return platform::IniDeleteSection(path, section);
}

// ---------------------------------------------------------------------------------------------
// The main window's settings: the key table, then the numbered lists.

namespace {

// Sections rewritten whole, so that no row of a longer old list and no stale key survives.
constexpr const char* kListSections[] = {"Ordnerlist", "DupFilter", "DupFilterOrdner"};

std::string Numbered(const char* key, std::size_t n) { return key + std::to_string(n); }

bool ReadFlag(const std::string& file, const char* section, const std::string& key, bool def) {
  bool value = def;
  Decode(ProfileGetItemWide(section, key, def ? "1" : "0", file), &value, Form::Plain);
  return value;
}

// Rows: "V" path, "A" ticked, "U" with subfolders, "P" file protection, "T" drive-type text.
// A row whose tick key is lost comes back unticked, so it is not searched by surprise.
std::vector<SourceFolder> ReadSourceList(const std::string& file) {
  std::vector<SourceFolder> rows;
  for (std::size_t n = 0;; ++n) {
    SourceFolder f;
    f.path = ProfileGetItemWide("Ordnerlist", Numbered("V", n), "", file);
    if (f.path.empty()) break;
    f.ticked = ReadFlag(file, "Ordnerlist", Numbered("A", n), false);
    f.includeSubfolders = ReadFlag(file, "Ordnerlist", Numbered("U", n), true);
    f.fileProtection = ReadFlag(file, "Ordnerlist", Numbered("P", n), false);
    f.driveType = ProfileGetItemWide("Ordnerlist", Numbered("T", n), "", file);
    rows.push_back(std::move(f));
  }
  return rows;
}

void MergeSourceList(std::vector<SourceFolder>& list, const std::vector<SourceFolder>& loaded) {
  for (const SourceFolder& f : loaded) {
    int at = Folder_Find_in_List(list, f.path);
    if (at < 0) {
      if (!Folder_Add_to_List(list, f.path, f.ticked, f.includeSubfolders)) continue;
      at = static_cast<int>(list.size()) - 1;
    }
    SourceFolder& row = list[static_cast<std::size_t>(at)];
    row.ticked = f.ticked;
    row.includeSubfolders = f.includeSubfolders;
    row.fileProtection = f.fileProtection;
    // The stored type tells more than the mount table when the drive is not attached now.
    if (!f.driveType.empty()) row.driveType = f.driveType;
  }
}

// Text and check-mark pairs: "F"n / "C"n for filters, "D"n / "C"n for extension lists.
std::vector<std::pair<std::string, bool>> ReadTickedList(const std::string& file, const char* section,
                                                         const char* textKey) {
  std::vector<std::pair<std::string, bool>> rows;
  for (std::size_t n = 0;; ++n) {
    std::string text = ProfileGetItemWide(section, Numbered(textKey, n), "", file);
    if (text.empty()) break;
    rows.emplace_back(std::move(text), ReadFlag(file, section, Numbered("C", n), false));
  }
  return rows;
}

std::vector<FilterRow> ReadFilterList(const std::string& file, const char* section) {
  std::vector<FilterRow> rows;
  for (auto& [text, ticked] : ReadTickedList(file, section, "F")) Filter_Add_to_List(rows, text, ticked);
  return rows;
}

std::vector<ExtensionRow> ReadExtensionList(const std::string& file, const char* section) {
  std::vector<ExtensionRow> rows;
  for (auto& [text, ticked] : ReadTickedList(file, section, "D")) rows.push_back({std::move(text), ticked});
  return rows;
}

// Defaults that depend on where the program runs are filled in after reading.
void ApplyFolderDefaults(ProgramOptions& o, const SettingsFolders& folders) {
  if (o.DefenderText.empty()) o.DefenderText = folders.userDataFolder;
  if (o.SoundFileAfterSearch.empty() && !folders.programFolder.empty())
    o.SoundFileAfterSearch = SoundFolder(folders) + "4.mp3";
}

bool SamePath(const std::string& a, const std::string& b) {
  return platform::StripTrailingSlash(a) == platform::StripTrailingSlash(b);
}

}  // namespace

void ApplyPortableAdjustment(MainSettings& m, const SettingsFolders& folders) {
  if (!folders.portable) return;
  SearchSettings& s = m.search;
  if (!s.TempFolder.empty() && !s.TempFolderOrig.empty() && !folders.tempFolder.empty() &&
      SamePath(s.TempFolder, s.TempFolderOrig))
    s.TempFolder = folders.tempFolder;
  ProgramOptions& o = m.options;
  if (!o.SoundFileAfterSearch.empty() && !o.SoundFileAfterSearchOrig.empty() && !folders.programFolder.empty() &&
      SamePath(platform::ParentFolder(o.SoundFileAfterSearch), o.SoundFileAfterSearchOrig))
    o.SoundFileAfterSearch = SoundFolder(folders) + platform::FileNameOf(o.SoundFileAfterSearch);
}

bool ApplyUnicodeSupportDefault(MainSettings& settings, int languageCode, const std::string& file) {
  const std::string path = ResolveFile(file);
  if (path.empty() || ProfileGetItemWide("DupVerz", "UnicodeSupport", "-2", path) != "-2") return false;
  if (!UnicodeSupportByDefault(languageCode)) return false;
  settings.options.UnicodeSupport = true;
  ProfilePutItemWide("DupVerz", "UnicodeSupport", "1", path, true);
  return true;
}

void EinstellungenLaden(MainSettings& settings, const std::string& file, bool skipSourceFolders,
                        bool loadSearchSelection, bool reportProgress) {
  // Each loaded folder is shown on the start-up window by the front end, not here.
  (void)reportProgress;
  const std::string path = ResolveFile(file);
  if (path.empty()) return;
  platform::IniBatch batch(path);  // one parse of the file for all reads

  for (const KeyRule& r : settings_keys::Table()) {
    if (r.home != Home::MainWindow || (r.searchSelection && !loadSearchSelection)) continue;
    const FieldRef ref = r.field(settings);
    if (r.keepWhenMissing) {
      const std::string v = ProfileGetItemWide(r.section, r.key, "-2", path);
      if (v != "-2") Decode(v, ref, r.form);
      continue;
    }
    if (!Decode(ProfileGetItemWide(r.section, r.key, r.def, path), ref, r.form)) Decode(r.def, ref, r.form);
  }

  if (!skipSourceFolders) MergeSourceList(settings.sources.sources, ReadSourceList(path));
  settings.sources.fileFilters = ReadFilterList(path, "DupFilter");
  settings.sources.folderFilters = ReadFilterList(path, "DupFilterOrdner");
  for (std::size_t i = 0; i < kPreviewListSections.size(); ++i)
    settings.options.previewLists[i] = ReadExtensionList(path, kPreviewListSections[i]);

  ApplyLoadInvariants(settings.search);
  ApplyLoadInvariants(settings.sources);
  NormalizeAllFields(settings.search);
  settings.options.LogDelDays = NormalizeLogDelDays(settings.options.LogDelDays);
  ApplyFolderDefaults(settings.options, GetSettingsFolders());
  ApplyPortableAdjustment(settings, GetSettingsFolders());
}

std::string EinstellungenSpeichern(const MainSettings& settings, const std::string& file) {
  const std::string path = ResolveFile(file);
  if (path.empty()) return "WritePrivateProfileStringW: no settings file";
  // The accessors hand out references, so they work on a copy of the settings.
  MainSettings s = settings;
  const SettingsFolders& folders = GetSettingsFolders();
  if (!folders.tempFolder.empty()) s.search.TempFolderOrig = folders.tempFolder;
  if (!folders.programFolder.empty()) s.options.SoundFileAfterSearchOrig = SoundFolder(folders);

  platform::IniBatch batch(path);
  std::string error;
  auto note = [&error](std::string e) {
    if (error.empty()) error = std::move(e);
  };

  // "DupVerz" is rewritten whole; what a newer build keeps there is carried over as it stands.
  std::vector<std::pair<std::string, std::string>> foreign;
  for (const std::string& key : platform::IniSectionKeys(path, "DupVerz"))
    if (!settings_keys::IsKnownKey("DupVerz", key)) foreign.emplace_back(key, platform::IniRead(path, "DupVerz", key, ""));
  note(ProfileDeleteSection("DupVerz", path));
  for (const char* section : kListSections) note(ProfileDeleteSection(section, path));
  for (const char* section : kPreviewListSections) note(ProfileDeleteSection(section, path));

  for (const KeyRule& r : settings_keys::Table())
    if (r.home == Home::MainWindow) note(ProfilePutItemWide(r.section, r.key, Encode(r.field(s), r.form), path));
  for (const auto& [key, value] : foreign) note(platform::IniWrite(path, "DupVerz", key, "\"" + value + "\""));

  // Rows without text would end the list early when it is read back, so they are left out.
  std::size_t n = 0;
  for (const SourceFolder& f : s.sources.sources) {
    if (f.path.empty()) continue;
    note(ProfilePutItemWide("Ordnerlist", Numbered("V", n), f.path, path));
    note(ProfilePutItemWide("Ordnerlist", Numbered("A", n), f.ticked ? "1" : "0", path));
    note(ProfilePutItemWide("Ordnerlist", Numbered("U", n), f.includeSubfolders ? "1" : "0", path));
    note(ProfilePutItemWide("Ordnerlist", Numbered("P", n), f.fileProtection ? "1" : "0", path));
    note(ProfilePutItemWide("Ordnerlist", Numbered("T", n), f.driveType, path));
    ++n;
  }
  auto writeTicked = [&](const char* section, const char* textKey, const std::string& text, bool ticked,
                         std::size_t& k) {
    if (text.empty()) return;
    note(ProfilePutItemWide(section, Numbered(textKey, k), text, path));
    note(ProfilePutItemWide(section, Numbered("C", k), ticked ? "1" : "0", path));
    ++k;
  };
  std::size_t k = 0;
  for (const FilterRow& r : s.sources.fileFilters) writeTicked("DupFilter", "F", r.text, r.ticked, k);
  k = 0;
  for (const FilterRow& r : s.sources.folderFilters) writeTicked("DupFilterOrdner", "F", r.text, r.ticked, k);
  for (std::size_t i = 0; i < kPreviewListSections.size(); ++i) {
    k = 0;
    for (const ExtensionRow& r : s.options.previewLists[i])
      writeTicked(kPreviewListSections[i], "D", r.ext, r.ticked, k);
  }

  note(batch.Commit());
  return error;
}

}  // namespace twinex
