#include "settings/settings_keys.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/text.h"

namespace twinex::settings_keys {
namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

std::string FormatDate(double d) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);  // shortest text that reads back exactly
  return ec == std::errc() ? std::string(buf, end) : "0";
}

bool& ExtensionTick(std::vector<PictureExtension>& list, const std::string& ext) {
  for (PictureExtension& e : list)
    if (e.ext == ext) return e.ticked;
  list.push_back({ext, false});
  return list.back().ticked;
}

class TableBuilder {
 public:
  KeyRule& Add(std::string section, std::string key, Accessor field) {
    KeyRule& r = rules_.emplace_back();
    r.section = std::move(section);
    r.key = std::move(key);
    r.field = std::move(field);
    return r;
  }
  template <typename T>
  KeyRule& Search(std::string key, T SearchSettings::*member) {
    return Add("DupVerz", std::move(key), [member](MainSettings& m) -> FieldRef { return &(m.search.*member); });
  }
  template <typename T>
  KeyRule& Option(std::string section, std::string key, T ProgramOptions::*member) {
    return Add(std::move(section), std::move(key),
               [member](MainSettings& m) -> FieldRef { return &(m.options.*member); });
  }
  // Numbered keys of an array field: prefix + index + suffix.
  template <typename T, std::size_t N>
  void SearchArray(const std::string& prefix, std::array<T, N> SearchSettings::*member, const std::string& suffix,
                   int firstNumber, bool searchSelection = false) {
    for (std::size_t i = 0; i < N; ++i) {
      Add("DupVerz", prefix + std::to_string(firstNumber + static_cast<int>(i)) + suffix,
          [member, i](MainSettings& m) -> FieldRef { return &(m.search.*member)[i]; })
          .searchSelection = searchSelection;
    }
  }
  // Keys of a window's own section, with the default the window reads them with ("" when the
  // window decides).
  void Kept(const std::string& section, std::initializer_list<std::pair<const char*, const char*>> keys) {
    for (const auto& [key, def] : keys) {
      KeyRule& r = rules_.emplace_back();
      r.section = section;
      r.key = key;
      r.home = Home::OwnWindow;
      r.def = def;
    }
  }
  // A window section whose keys are numbered or named after each window: kept whole.
  void KeptSection(const std::string& section) { Kept(section, {{"", ""}}); }

  std::vector<KeyRule> Finish() {
    MainSettings defaults;
    for (KeyRule& r : rules_)
      if (r.field) r.def = Encode(r.field(defaults), r.form);
    return std::move(rules_);
  }

 private:
  std::vector<KeyRule> rules_;
};

void AddSearchSettings(TableBuilder& t) {
  using S = SearchSettings;
  // The search selection: taken from a file only when the caller asks for it.
  t.Search("SearchMethod", &S::SearchMethod).searchSelection = true;
  t.SearchArray("Suchkriterien", &S::Suchkriterien, "", 0, true);
  t.Search("ContentCompare", &S::ContentCompare).searchSelection = true;
  t.Search("ContentComparePercent", &S::ContentComparePercent).searchSelection = true;

  t.Search("CompareFileEndFirst", &S::CompareFileEndFirst);
  t.SearchArray("CompareBuffer", &S::CompareBuffer, "", 0);
  t.Search("IgnoreMP3Tags", &S::IgnoreMP3Tags);
  t.Search("IgnoreFlacMetadata", &S::IgnoreFlacMetadata);
  t.Search("IgnoreExif", &S::IgnoreExif);
  t.Search("DontCompareHardlinks", &S::DontCompareHardlinks);
  t.Search("IgnoreTime", &S::IgnoreTime);
  t.Search("IgnoreSeconds", &S::IgnoreSeconds);

  t.Search("FileNameCompareMethod", &S::FileNameCompareMethod);
  t.Search("FileNameCompareOnlyFirstCharsCount", &S::FileNameCompareOnlyFirstCharsCount);
  t.Search("IgnoreChars", &S::IgnoreChars);
  t.Search("IgnoreCharsText", &S::IgnoreCharsText).form = Form::ColonWrapped;
  t.Search("IgnoreText", &S::IgnoreText);
  t.Search("IgnoreTextText", &S::IgnoreTextText).form = Form::ColonWrapped;

  t.Search("PartialFilenameCompareMethod", &S::PartialFilenameCompareMethod);
  t.Search("PartialFilenameComparePercent", &S::PartialFilenameComparePercent);
  t.Search("PartialFilenameCompareMethodDelimiterChars", &S::PartialFilenameCompareMethodDelimiterChars).form =
      Form::StarPrefixed;

  t.Search("SimiliarImagesAlgo", &S::SimiliarImagesAlgo);
  t.Search("SimilarPicsMatchPercent", &S::SimilarPicsMatchPercent);
  t.Search("SimilarPicsThumbSizeIndex", &S::SimilarPicsThumbSizeIndex);
  t.Search("SimilarPicsChecksumBitsIndex", &S::SimilarPicsChecksumBitsIndex);
  t.Search("SimilarPicsChecksumOptionIndex", &S::SimilarPicsChecksumOptionIndex);
  t.Search("SimiliarImagesCompareSource", &S::SimiliarImagesCompareSource);
  t.Search("SimiliarImagesCompareSourceWH", &S::SimiliarImagesCompareSourceWH);
  t.Search("SimiliarImagesOnlySameFileName", &S::SimiliarImagesOnlySameFileName);
  t.Search("SimiliarImagesOnlySameFileType", &S::SimiliarImagesOnlySameFileType);
  t.Search("SimiliarImagesOnlySameDimension", &S::SimiliarImagesOnlySameDimension);
  t.Search("SimiliarImagesOnlySameFormat", &S::SimiliarImagesOnlySameFormat);
  t.Search("SimiliarImagesOnlySameRatio", &S::SimiliarImagesOnlySameRatio);
  t.Search("SimiliarImagesRotateFlip", &S::SimiliarImagesRotateFlip);
  t.SearchArray("SimiliarImagesRotateFlip", &S::SimiliarImagesRotateFlipN, "", 0);

  t.Search("SimilarAudioAlgo", &S::SimilarAudioAlgo);
  t.Search("SimilarAudioMatchPercent", &S::SimilarAudioMatchPercent);
  t.Search("SimilarAudioSeconds", &S::SimilarAudioSeconds);
  t.Search("SimilarAudioOnlySameFileType", &S::SimilarAudioOnlySameFileType);
  t.Search("AudioSeconds", &S::AudioSeconds);
  t.Search("AudioOnlySameFileName", &S::AudioOnlySameFileName);
  t.Search("AudioOnlySameFileType", &S::AudioOnlySameFileType);

  t.Search("SourceFolderCompareMode", &S::SourceFolderCompareMode);
  t.Search("NullByte", &S::NullByte);
  t.Search("NTFSordner", &S::NTFSordner);
  t.Search("WOW64", &S::WOW64);
  t.Search("Prio", &S::Prio);
  t.Search("RemoveGroupsDupsNotInsideAllSources", &S::RemoveGroupsDupsNotInsideAllSources);
  t.Search("CancelSearchMaxDup", &S::CancelSearchMaxDup);
  t.Search("CancelSearchMaxDupCount", &S::CancelSearchMaxDupCount);
  t.Search("LogFilesWithNoDups", &S::LogFilesWithNoDups);
  t.Search("ShowOnlyFilesWithoutDups", &S::ShowOnlyFilesWithoutDups);
  t.Search("LogStatistic", &S::LogStatistic);
  t.Search("LogStatisticMinutes", &S::LogStatisticMinutes);
  t.Search("FilterVerwendenBest", &S::FilterVerwendenBest);

  t.Search("ScanArchives", &S::ScanArchives);
  t.SearchArray("", &S::ScanArchive, "ScanArchive", 1);  // keyed by the item code 1..16
  t.Search("TempFolder", &S::TempFolder);
  t.Search("TempFolderOrig", &S::TempFolderOrig);
  t.Search("DeleteTempFilesAfterCreateChecksum", &S::DeleteTempFilesAfterCreateChecksum);
  t.Search("LogPasswordProtectedFiles", &S::LogPasswordProtectedFiles);
  t.Search("ZipSizeFilter", &S::ZipSizeFilter);
  t.Search("ZipSizeFilterTyp", &S::ZipSizeFilterTyp);
  t.Search("ZipSizeFilterSize", &S::ZipSizeFilterSize);

  for (const PictureExtension& e : SearchSettings::DefaultPictureExtensions()) {
    const std::string ext = e.ext;
    t.Add("SimilarImageExtensions", ext, [ext](MainSettings& m) -> FieldRef {
       return &ExtensionTick(m.search.SimilarImageExtensions, ext);
     }).keepWhenMissing = true;
  }

  static const std::pair<const char*, bool S::*> kDatabase[] = {
      {"usedb", &S::usedb},         {"usedbcontent", &S::usedbcontent}, {"usedbpic", &S::usedbpic},
      {"usedbaudio", &S::usedbaudio}, {"checksize", &S::checksize},       {"checkdate", &S::checkdate}};
  for (const auto& [key, member] : kDatabase)
    t.Add("database", key, [member = member](MainSettings& m) -> FieldRef { return &(m.search.*member); });
}

void AddProgramOptions(TableBuilder& t) {
  using O = ProgramOptions;
  t.Option("DupVerz", "ProfileKeineQuellordner", &O::ProfileKeineQuellordner);
  t.Option("DupVerz", "ToolbarTheme", &O::ToolbarTheme);
  t.Option("DupVerz", "ToolbarThemeFontSize", &O::ToolbarThemeFontSize);
  t.Option("DupVerz", "ColorMode", &O::ColorMode);
  t.Option("DupVerz", "ColorModeFont", &O::ColorModeFont);
  t.Option("DupVerz", "ColorModeBG", &O::ColorModeBG);
  t.Option("DupVerz", "Kontextmenu", &O::Kontextmenu);
  t.Option("DupVerz", "ContextmenuOpt", &O::ContextmenuOpt);
  t.Option("DupVerz", "CheckNewVersion", &O::CheckNewVersion);
  t.Option("DupVerz", "CheckNewBetaVersion", &O::CheckNewBetaVersion);
  t.Option("DupVerz", "UnicodeSupport", &O::UnicodeSupport);
  t.Option("DupVerz", "DateFormat3", &O::DateFormat3);
  t.Option("DupVerz", "DefenderText", &O::DefenderText);
  t.Option("DupVerz", "ExternalPrgOpenFolder", &O::ExternalPrgOpenFolder);
  t.Option("DupVerz", "ExternalPrgOpenFolderText", &O::ExternalPrgOpenFolderText);
  t.Option("DupVerz", "ExternalPrgOpenFiles", &O::ExternalPrgOpenFiles);
  t.Option("DupVerz", "ExternalPrgOpenFilesText", &O::ExternalPrgOpenFilesText);
  t.Option("DupVerz", "LogDel", &O::LogDel);
  t.Option("DupVerz", "LogDelDays", &O::LogDelDays);
  t.Option("DupVerz", "ProgCompare", &O::ProgCompare);
  t.Option("DupVerz", "UseProgCompareWord", &O::UseProgCompareWord);
  t.Option("DupVerz", "ProgCompareWord", &O::ProgCompareWord);
  t.Option("DupVerz", "ExpandAllGroups", &O::ExpandAllGroups);
  t.Option("DupVerz", "ShowOwner", &O::ShowOwner);
  t.Option("DupVerz", "ShowPicWidthHeight", &O::ShowPicWidthHeight);
  t.Option("DupVerz", "ShowAudioProperties", &O::ShowAudioProperties);
  t.Option("DupVerz", "ShowAudioPropertiesExt", &O::ShowAudioPropertiesExt);
  t.Option("DupVerz", "ShowHardlinks", &O::ShowHardlinks);
  t.Option("DupVerz", "PlaySoundAfterSearch", &O::PlaySoundAfterSearch);
  t.Option("DupVerz", "SoundFileAfterSearch", &O::SoundFileAfterSearch);
  t.Option("DupVerz", "SoundFileAfterSearchOrig", &O::SoundFileAfterSearchOrig);

  t.Option("Optionen", "SelectedFilesBackgroundColor", &O::SelectedFilesBackgroundColor);
  t.Option("Optionen", "UserSelectedFilesBackgroundColor", &O::UserSelectedFilesBackgroundColor);
  t.Option("Optionen", "GroupBackColor", &O::GroupBackColor);
  t.Option("Optionen", "GroupTextColor", &O::GroupTextColor);
  t.Option("Optionen", "ArchiveFileTextColor", &O::ArchiveFileTextColor);
  t.Option("Optionen", "ReferenceFileTextColor", &O::ReferenceFileTextColor);
  t.Option("Optionen", "HardlinkTextColor", &O::HardlinkTextColor);

  t.Option("Start", "ShowWizard", &O::ShowWizard);
}

void AddSourcesAndFilters(TableBuilder& t) {
  auto src = [&t](const char* section, const char* key, FieldRef (*field)(SourcesAndFilters&)) {
    t.Add(section, key, [field](MainSettings& m) { return field(m.sources); });
  };
  using SF = SourcesAndFilters;
  src("Dateifilter", "Verwenden", [](SF& s) -> FieldRef { return &s.fileOptions.enabled; });
  src("DupFilter", "Filtertyp", [](SF& s) -> FieldRef { return &s.fileOptions.filterType; });
  src("DateiFilterPlatzhalter", "Aktiv", [](SF& s) -> FieldRef { return &s.fileOptions.wildcardsAsText; });
  src("DateiFilterGrossKlein", "Aktiv", [](SF& s) -> FieldRef { return &s.fileOptions.caseSensitive; });
  src("Ordnerfilter", "Verwenden", [](SF& s) -> FieldRef { return &s.folderOptions.enabled; });
  src("DupFilterOrdner", "Filtertyp", [](SF& s) -> FieldRef { return &s.folderOptions.filterType; });
  src("OrdnerFilterPlatzhalter", "Aktiv", [](SF& s) -> FieldRef { return &s.folderOptions.wildcardsAsText; });
  src("OrdnerFilterGrossKlein", "Aktiv", [](SF& s) -> FieldRef { return &s.folderOptions.caseSensitive; });
  src("OrdnerFilterUnterordner", "Aktiv", [](SF& s) -> FieldRef { return &s.folderOptions.subfoldersNotFiltered; });
  src("FilterFileDate", "Active", [](SF& s) -> FieldRef { return &s.dateActive; });
  src("FilterFileDate", "FilterType", [](SF& s) -> FieldRef { return &s.dateType; });
  src("FilterFileDate", "Date", [](SF& s) -> FieldRef { return &s.date; });
  src("FilterGrösse", "Aktiv", [](SF& s) -> FieldRef { return &s.sizeActive; });
  src("FilterGrösse", "Art", [](SF& s) -> FieldRef { return &s.size1.comparison; });
  src("FilterGrösse", "Typ", [](SF& s) -> FieldRef { return &s.size1.unit; });
  src("FilterGrösse", "Grösse", [](SF& s) -> FieldRef { return &s.size1.number; });
  src("FilterGrösse", "Aktiv2", [](SF& s) -> FieldRef { return &s.size2Active; });
  src("FilterGrösse", "Art2", [](SF& s) -> FieldRef { return &s.size2.comparison; });
  src("FilterGrösse", "Typ2", [](SF& s) -> FieldRef { return &s.size2.unit; });
  src("FilterGrösse", "Grösse2", [](SF& s) -> FieldRef { return &s.size2.number; });
}

// The sections of the other windows and of the program as a whole. The main window leaves them
// as they are; the windows read them with these defaults when they open.
void AddWindowSections(TableBuilder& t) {
  t.Kept("Optionen", {{"AutoColResize", ""},
                      {"AutoColResizeIgnoreHeader", ""},
                      {"AutoColResizeType", ""},
                      {"BeendenBestaetigen", ""},
                      {"BigToolbarIcons", ""},
                      {"ColumnAttr", "0"},
                      {"ColumnAudioBitRate", "0"},
                      {"ColumnAudioDuration", "0"},
                      {"ColumnAudioSamplingRate", "0"},
                      {"ColumnDateC", "0"},
                      {"ColumnDateM", "0"},
                      {"ColumnFilePath", "1"},
                      {"ColumnHardlinkID", "0"},
                      {"ColumnHardlinks", "0"},
                      {"ColumnOwner", "0"},
                      {"ColumnPicHeight", "0"},
                      {"ColumnPicWidth", "0"},
                      {"ColumnSimilar", "0"},
                      {"ColumnSize", "1"},
                      {"ColumnZipPath", "1"},
                      {"DateivorschauAktiv", ""},
                      {"FolderColumnIndex", ""},
                      {"FontName", "Segoe UI"},
                      {"Fontsize", ""},
                      {"FormatSize", ""},
                      {"FormatSizeDecimal", "1"},
                      {"HideToolbars", ""},
                      {"LoeschenBestaetigen", ""},
                      {"PreviewWindow", ""},
                      {"PreviewWindowTaskBar", ""},
                      {"PreviewWindowTopMost", ""},
                      {"ReportGridLines", "3"},
                      {"SearchAllColumns", ""},
                      {"SearchCaseSensitive", ""},
                      {"SearchExcludeSelectedFiles", ""},
                      {"SearchTextFilesOnly", ""},
                      {"SearchTextGroupFiles", ""},
                      {"SearchTextGroupOnly", ""},
                      {"SearchUseWildcards", ""},
                      {"SearchWrap", ""},
                      {"SelectionMode", ""},
                      {"ShowFilePropsInOneColumn", ""},
                      {"ShowInfoSymbols", ""},
                      {"ShowSystray", ""},
                      {"SplitterPosSR", ""},
                      {"ThumbnailSize", ""},
                      {"File_Moving_Path", ""},
                      {"File_Copying_Path", ""}});
  t.Kept("Aktionen", {{"Aktion", ""},
                      {"CloseFileManager", "0"},
                      {"CloseFileManagerType", "0"},
                      {"CreateSubfolder", "1"},
                      {"CreateSubfolderText", "\"%USERNAME%\\\"YYYY-MM-DD HH-NN-SS"},
                      {"DateienEntfernen", "1"},
                      {"DelEmptyFolders", "0"},
                      {"DeleteIfRecycleBinNotExist", "0"},
                      {"GroupAction", ""},
                      {"GruppenEntfernen", "0"},
                      {"IfErrorDontAskToAbort", "0"},
                      // A new settings file protects groups whose files are all selected.
                      {"IgnoreGroupsAllFilesSelected", "1"},
                      {"LogNoActions", "1"},
                      {"OptionHardlink", "0"},
                      {"OptionShortcut", "0"},
                      {"Ordner", ""},
                      {"Ordnerstruktur", "1"},
                      {"Rename", "DUPLIKAT %NAME%%EXT%"},
                      {"ReplaceFileWithSameName", "0"},
                      {"SecureDelete", "0"},
                      {"SecureHint", "1"},
                      {"SetFileSizeToZero", "0"}});
  t.Kept("ExportList", {{"Delimiter", ""},
                        {"DelimiterChars", ""},
                        {"FileFormat", ""},
                        {"OpenFile", ""},
                        {"SaveFileType", ""},
                        {"SaveOnlyFiles", ""},
                        {"LastSaveDir", ""},
                        {"LastSaveFileName", ""}});
  t.Kept("SelectDate",
         {{"CompareWith", "0"}, {"DateExact", ""}, {"DateType", "3"}, {"DateValue", "0"}, {"FilterTyp", "0"}});
  t.Kept("SelectSize", {{"FileSize", "0"}, {"FilterType", "0"}, {"SizeType", "0"}});
  t.Kept("SelectName", {{"name", ""}, {"namelist", ""}, {"UseUpperLowerCase", ""}});
  t.Kept("SelectPath", {{"path", ""}, {"pathlist", ""}, {"UseUpperLowerCase", ""}});
  t.KeptSection("Shortcuts");
  t.KeptSection("WindowPos");
  t.KeptSection("CBVS");
  t.Kept("Allgemein", {{"UseLangTxt", "0"}, {"Lang", "0"}, {"SourceGridLines", ""}});
  t.Kept("Start",
         {{"CheckNewVersionDate", "0"}, {"CheckNewBetaVersionDate", "0"}, {"FirstBib", ""}, {"FirstDrive", ""}});
  t.Kept("Update", {{"Dpath", "%TEMP%"},
                    {"PrgStartAutoCheck", ""},
                    {"UpdateShowGUI", ""},
                    {"UseProxy", "0"},
                    {"ProxyName", ""},
                    {"ProxyPort", "3128"},
                    {"ProxyUser", ""},
                    {"ProxyPW", ""},
                    // The update server's addresses; "%1" is the language ("de" or "en").
                    {"VersionURL", "https://updates.twinex.example/linux/version.txt"},
                    {"BetaVersionURL", "https://updates.twinex.example/linux/beta.txt"},
                    {"ChangesURL", "https://updates.twinex.example/linux/changes_%1.txt"},
                    {"DownloadURL", "https://updates.twinex.example/linux/"},
                    {"BetaPageURL", "https://updates.twinex.example/linux/beta_%1.html"}});
}

std::vector<KeyRule> BuildTable() {
  TableBuilder t;
  AddSearchSettings(t);
  AddProgramOptions(t);
  AddSourcesAndFilters(t);
  AddWindowSections(t);
  return t.Finish();
}

}  // namespace

const std::vector<KeyRule>& Table() {
  static const std::vector<KeyRule> table = BuildTable();
  return table;
}

bool IsKnownKey(std::string_view section, std::string_view key) {
  for (const KeyRule& r : Table())
    if (platform::EqualsNoCase(r.section, section) && (r.key.empty() || platform::EqualsNoCase(r.key, key)))
      return true;
  return false;
}

std::string Encode(FieldRef ref, Form form) {
  return std::visit(Overloaded{
                        [](bool* b) { return std::string(*b ? "1" : "0"); },
                        [](int* i) { return std::to_string(*i); },
                        [](double* d) { return FormatDate(*d); },
                        [form](std::string* s) {
                          switch (form) {
                            case Form::ColonWrapped:
                              return ":" + *s + ":";
                            case Form::StarPrefixed:
                              return "*" + *s;
                            case Form::Plain:
                              break;
                          }
                          return *s;
                        },
                    },
                    ref);
}

bool Decode(const std::string& stored, FieldRef ref, Form form) {
  return std::visit(Overloaded{
                        [&](bool* b) {
                          long long v = 0;
                          if (!platform::ParseLong(stored, v)) return false;
                          *b = v != 0;
                          return true;
                        },
                        [&](int* i) {
                          long long v = 0;
                          if (!platform::ParseLong(stored, v) || v < std::numeric_limits<int>::min() ||
                              v > std::numeric_limits<int>::max())
                            return false;
                          *i = static_cast<int>(v);
                          return true;
                        },
                        [&](double* d) {
                          double v = 0;
                          if (!platform::ParseDouble(stored, v) || !std::isfinite(v)) return false;
                          *d = v;
                          return true;
                        },
                        [&](std::string* s) {
                          if (form == Form::ColonWrapped && stored.size() >= 2 && stored.front() == ':' &&
                              stored.back() == ':')
                            *s = stored.substr(1, stored.size() - 2);
                          else if (form == Form::StarPrefixed && !stored.empty() && stored.front() == '*')
                            *s = stored.substr(1);
                          else
                            *s = stored;
                          return true;
                        },
                    },
                    ref);
}

}  // namespace twinex::settings_keys
