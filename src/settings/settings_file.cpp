#include "settings/settings_file.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <variant>

#include "platform/ini_file.h"
#include "platform/text.h"

namespace twinex {
namespace {

std::string& SettingsPathStore() {
  static std::string path;
  return path;
}

std::string ResolveFile(const std::string& file) { return file.empty() ? SettingsFilePath() : file; }

bool Quoted(std::string_view v) { return v.size() > 1 && v.front() == '"' && v.back() == '"'; }

}  // namespace

void SetSettingsFilePath(const std::string& path) { SettingsPathStore() = path; }
const std::string& SettingsFilePath() { return SettingsPathStore(); }

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
  if (path.empty()) return "WritePrivateProfileStringW: no settings file";
  // The debug log does not exist yet; with logErrors the caller gets the text to log.
  (void)logErrors;
  return platform::IniWrite(path, section, key, v);
}

std::string ProfileDeleteSection(std::string_view section, const std::string& file) {
  const std::string path = ResolveFile(file);
  if (path.empty()) return "WritePrivateProfileStringW: no settings file";
  return platform::IniDeleteSection(path, section);
}

// ---------------------------------------------------------------------------------------------
// The keys of the main window's settings: one table that both loading and saving walk.

namespace {

using FieldRef = std::variant<bool*, int*, std::string*, double*>;
using Accessor = std::function<FieldRef(MainSettings&)>;

// How a text is stored beyond plain quoting.
enum class Form {
  Plain,
  ColonWrapped,  // ":" + text + ":", so that blanks at either end survive hand editing
  StarPrefixed,  // "*" + text, so that a leading blank survives
};

struct KeyRule {
  std::string section;
  std::string key;
  Accessor field;
  bool searchSelection = false;  // read only when the search selection is loaded
  bool keepWhenMissing = false;  // a missing key leaves the current value (read with "-2")
  Form form = Form::Plain;
  std::string def;  // the default in its stored form, taken from a default MainSettings
};

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

// False when the stored text is no value of the field's type (the default is taken then).
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
  std::vector<KeyRule> Finish() {
    MainSettings defaults;
    for (KeyRule& r : rules_) r.def = Encode(r.field(defaults), r.form);
    return std::move(rules_);
  }

 private:
  std::vector<KeyRule> rules_;
};

std::vector<KeyRule> BuildTable() {
  using S = SearchSettings;
  TableBuilder t;
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

  auto db = [&t](const char* key, bool SearchSettings::*member) {
    t.Add("database", key, [member](MainSettings& m) -> FieldRef { return &(m.search.*member); });
  };
  db("usedb", &S::usedb);
  db("usedbcontent", &S::usedbcontent);
  db("usedbpic", &S::usedbpic);
  db("usedbaudio", &S::usedbaudio);
  db("checksize", &S::checksize);
  db("checkdate", &S::checkdate);

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
  return t.Finish();
}

const std::vector<KeyRule>& Table() {
  static const std::vector<KeyRule> table = BuildTable();
  return table;
}

// The numbered list sections are rewritten whole, so that no row of a longer old list survives.
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

std::vector<FilterRow> ReadFilterList(const std::string& file, const char* section) {
  std::vector<FilterRow> rows;
  for (std::size_t n = 0;; ++n) {
    std::string text = ProfileGetItemWide(section, Numbered("F", n), "", file);
    if (text.empty()) break;
    Filter_Add_to_List(rows, text, ReadFlag(file, section, Numbered("C", n), false));
  }
  return rows;
}

}  // namespace

void EinstellungenLaden(MainSettings& settings, const std::string& file, bool skipSourceFolders,
                        bool loadSearchSelection, bool reportProgress) {
  // Each loaded folder is shown on the start-up window by the front end, not here.
  (void)reportProgress;
  const std::string path = ResolveFile(file);
  if (path.empty()) return;
  platform::IniBatch batch(path);  // one parse of the file for all reads

  for (const KeyRule& r : Table()) {
    if (r.searchSelection && !loadSearchSelection) continue;
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

  ApplyLoadInvariants(settings.search);
  ApplyLoadInvariants(settings.sources);
  NormalizeAllFields(settings.search);
}

std::string EinstellungenSpeichern(const MainSettings& settings, const std::string& file) {
  const std::string path = ResolveFile(file);
  if (path.empty()) return "WritePrivateProfileStringW: no settings file";
  // The accessors hand out references, so they work on a copy of the settings.
  MainSettings s = settings;
  platform::IniBatch batch(path);
  std::string error;
  auto note = [&error](std::string e) {
    if (error.empty()) error = std::move(e);
  };
  // Section "DupVerz" is not cleared: it also holds program options that other parts keep there.
  for (const char* section : kListSections) note(ProfileDeleteSection(section, path));
  for (const KeyRule& r : Table()) note(ProfilePutItemWide(r.section, r.key, Encode(r.field(s), r.form), path));

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
  auto writeFilters = [&](const char* section, const std::vector<FilterRow>& rows) {
    std::size_t k = 0;
    for (const FilterRow& r : rows) {
      if (r.text.empty()) continue;
      note(ProfilePutItemWide(section, Numbered("F", k), r.text, path));
      note(ProfilePutItemWide(section, Numbered("C", k), r.ticked ? "1" : "0", path));
      ++k;
    }
  };
  writeFilters("DupFilter", s.sources.fileFilters);
  writeFilters("DupFilterOrdner", s.sources.folderFilters);

  note(batch.Commit());
  return error;
}

}  // namespace twinex
