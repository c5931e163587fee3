#include "presenters/main_window_presenter.h"

#include <algorithm>
#include <utility>

#include "platform/date_time.h"

#include "platform/file_system.h"
#include "settings/filters.h"

namespace twinex {

namespace {

using G = OptionGroup;
using S = SearchSettings;
using SF = SourcesAndFilters;

// Accessors of one setting, so each table row names its field once.
template <auto F>
auto& SearchField(MainSettings& m) {
  return m.search.*F;
}
template <auto F>
auto& SourceField(MainSettings& m) {
  return m.sources.*F;
}
// A field of a part of the source settings: a filter list's options or a size bound.
template <auto Part, auto F>
auto& In(MainSettings& m) {
  return (m.sources.*Part).*F;
}
template <int I>
std::string& Buffer(MainSettings& m) {
  return m.search.CompareBuffer[I];
}
template <std::size_t I>
bool& ArchiveType(MainSettings& m) {
  return m.search.ScanArchive[I];
}
template <int I>
std::string NormalizeBuffer(const std::string& t) {
  return NormalizeCompareBuffer(I, t);
}

// List texts: by position alone, from a table of texts, or from the settings.
template <std::string (*F)(int)>
std::string ByPosition(const SearchSettings&, int position) {
  return F(position);
}
template <const auto& Table>
std::string FromTable(const SearchSettings&, int position) {
  return position >= 0 && position < static_cast<int>(std::size(Table)) ? OptionCaption(Table[position]) : "";
}
std::string PictureListText(int position) { return PictureAlgorithmText(kPictureAlgorithmListOrder[static_cast<std::size_t>(position)]); }
std::string PictureSizeText(const SearchSettings& s, int position) {
  return PictureCompareSizeText(s.SimiliarImagesAlgo, position);
}

constexpr TextRef kSizeUnits[] = {{0, "Bytes"}, {0, "KB"}, {0, "MB"}, {0, "GB"}, {0, "TB"}};
constexpr TextRef kSizeComparisons[] = {{11095, "kleiner als"}, {11096, "größer als"}};
constexpr TextRef kDateTypes[] = {{11097, "geändert vor dem"}, {11098, "geändert nach dem"},
                                  {11099, "erstellt vor dem"}, {11100, "erstellt nach dem"}};
constexpr TextRef kFilterTypes[] = {{22195, "Inklusive"}, {22196, "Exklusive"}};
// The archive types in the order of their item codes (code = position + 1).
constexpr const char* kArchiveTypes[kArchiveTypeCount] = {"zip", "rar", "7z",  "iso", "cab", "tar", "gz",  "ePub",
                                                          "cbr", "nrg", "lzh", "lha", "arj", "cbz", "cb7", "cbt"};

template <std::size_t... I>
void AddArchiveTypes(std::vector<BoolOption>& options, std::index_sequence<I...>) {
  (options.push_back({&ArchiveType<I>, TextRef{0, kArchiveTypes[I]}, G::ArchiveOptions}), ...);
}

}  // namespace

std::string OptionCaption(const TextRef& caption) { return caption.no == 0 ? caption.german : z_Translate(caption); }

const std::vector<BoolOption>& BoolOptions() {
  using FO = FilterListOptions;
  static const std::vector<BoolOption> kOptions = [] {
    std::vector<BoolOption> v = {
        {&SearchField<&S::CompareFileEndFirst>, TextRef{22100, "Vergleiche zuerst einen Datenblock am Ende der beiden Dateien"}, G::Content},
        {&SearchField<&S::IgnoreMP3Tags>, TextRef{11105, "ID3-Tags von MP3-Dateien ignorieren"}, G::Content},
        {&SearchField<&S::IgnoreFlacMetadata>, TextRef{11106, "Metadaten von FLAC-Dateien ignorieren"}, G::Content},
        {&SearchField<&S::IgnoreExif>, TextRef{11107, "Metadaten von JPEG/CR2-Dateien ignorieren"}, G::Content},
        {&SearchField<&S::DontCompareHardlinks>, TextRef{11108, "Keine Hardlinks inhaltlich vergleichen"}, G::Hardlinks},
        {&SearchField<&S::IgnoreTime>, TextRef{11101, "Uhrzeit ignorieren"}, G::Dates},
        {&SearchField<&S::IgnoreSeconds>, TextRef{11102, "Sekunden ignorieren"}, G::Dates},
        {&SearchField<&S::IgnoreChars>, TextRef{11103, "Ignoriere bestimmte Zeichen im Dateinamen:"}, G::FileName},
        {&SearchField<&S::IgnoreText>, TextRef{11104, "Ignoriere bestimmte Zeichenketten im Dateinamen:"}, G::FileName},
        {&SearchField<&S::SimiliarImagesOnlySameFileName>, TextRef{3577, "Dateiname"}, G::Pictures},
        {&SearchField<&S::SimiliarImagesOnlySameFileType>, TextRef{3576, "Dateiendung"}, G::Pictures},
        {&SearchField<&S::SimiliarImagesOnlySameDimension>, TextRef{10030, "Höhe und Breite"}, G::Pictures},
        {&SearchField<&S::SimiliarImagesOnlySameFormat>, TextRef{10031, "Bildausrichtung"}, G::Pictures},
        {&SearchField<&S::SimiliarImagesOnlySameRatio>, TextRef{10032, "Seitenverhältnis"}, G::Pictures},
        {&SearchField<&S::SimiliarImagesRotateFlip>, TextRef{11113, "Bildveränderungen erkennen (langsamer)"}, G::Pictures},
        {&SearchField<&S::SimilarAudioOnlySameFileType>, TextRef{22110, "Vergleiche nur Dateien mit der gleichen Dateiendung"}, G::Music},
        {&SearchField<&S::AudioOnlySameFileName>, TextRef{3577, "Dateiname"}, G::TrackLength},
        {&SearchField<&S::AudioOnlySameFileType>, TextRef{3576, "Dateiendung"}, G::TrackLength},
        {&SearchField<&S::NullByte>, TextRef{22101, "Dateien mit 0 Byte ignorieren"}, G::General},
        {&SearchField<&S::NTFSordner>,
         TextRef{22102, "Keine Ordner (NTFS-Abzweigungspunkte) durchsuchen, welche auf andere Ordner verweisen"}, G::General},
        {&SearchField<&S::Prio>, TextRef{22103, "CPU-Priorität von Twinex auf Niedrig setzen"}, G::General},
        {&SearchField<&S::RemoveGroupsDupsNotInsideAllSources>,
         TextRef{22104, "Alle Gruppen entfernen, bei welchen die Dateien in einer Gruppe nicht in allen Quellordnern vorhanden sind"},
         G::General},
        {&SearchField<&S::CancelSearchMaxDup>, TextRef{22105, "Suche abbrechen, wenn eine bestimmte Anzahl von Duplikaten gefunden wurde"},
         G::General},
        {&SearchField<&S::LogFilesWithNoDups>, TextRef{22106, "Dateien ohne Duplikate im Protokoll auflisten"}, G::General},
        {&SearchField<&S::ShowOnlyFilesWithoutDups>, TextRef{22107, "Nur Dateien ohne Duplikate im Suchergebnis anzeigen"}, G::General},
        {&SearchField<&S::LogStatistic>, TextRef{22108, "Alle x Minuten die Suchstatistik der Fortschrittsanzeige protokollieren"},
         G::General},
        {&SearchField<&S::FilterVerwendenBest>, TextRef{22109, "Verwendung der Datei- und Ordnerfilter bestätigen"}, G::General},
        {&SearchField<&S::ScanArchives>, TextRef{11116, "Archive mit den folgenden Dateiendungen durchsuchen:"}, G::Archives},
    };
    AddArchiveTypes(v, std::make_index_sequence<kArchiveTypeCount>());
    const std::vector<BoolOption> rest = {
        {&SearchField<&S::DeleteTempFilesAfterCreateChecksum>,
         TextRef{22149, "Temporäre Dateien nach dem Erstellen Ihrer Prüfsumme löschen"}, G::ArchiveOptions},
        {&SearchField<&S::LogPasswordProtectedFiles>, TextRef{22151, "Passwortgeschützte Dateien protokollieren"}, G::ArchiveOptions},
        {&SearchField<&S::ZipSizeFilter>, TextRef{11117, "Dateien ab einer bestimmten Größe nicht entpacken:"}, G::ArchiveOptions},
        {&SearchField<&S::usedb>, TextRef{11091, "Datenbank verwenden"}, G::Database},
        {&SearchField<&S::usedbcontent>, TextRef{22156, "Datenbank-Prüfsummen für den Dateiinhalt verwenden"}, G::DatabaseOptions},
        {&SearchField<&S::usedbpic>, TextRef{22157, "Datenbank-Prüfsummen für Bilder verwenden"}, G::DatabaseOptions},
        {&SearchField<&S::usedbaudio>, TextRef{22158, "Datenbank-Prüfsummen für Musik verwenden"}, G::DatabaseOptions},
        {&SearchField<&S::checksize>, TextRef{22159, "Prüfsumme neu erstellen, wenn sich die Dateigröße unterscheidet"},
         G::DatabaseOptions},
        {&SearchField<&S::checkdate>, TextRef{22172, "Prüfsumme neu erstellen, wenn sich das Änderungsdatum unterscheidet"},
         G::DatabaseOptions},
        {&SourceField<&SF::dateActive>, TextRef{22174, "Dateien anhand Ihrem Datum ausschließen:"}, G::Exclusions},
        {&SourceField<&SF::sizeActive>, TextRef{22175, "Dateien anhand Ihrer Größe ausschließen:"}, G::Exclusions},
        {&SourceField<&SF::size2Active>, TextRef{22176, "Zweite Bedingung"}, G::SizeFilter},
        {&In<&SF::fileOptions, &FO::enabled>, TextRef{22177, "Dateifilter verwenden"}, G::FileFilterOptions},
        {&In<&SF::fileOptions, &FO::wildcardsAsText>, TextRef{22179, "Platzhalter im Filter als Text behandeln"}, G::FileFilterOptions},
        {&In<&SF::fileOptions, &FO::caseSensitive>, TextRef{22192, "Groß- und Kleinschreibung der Filter berücksichtigen"},
         G::FileFilterOptions},
        {&In<&SF::folderOptions, &FO::enabled>, TextRef{22178, "Ordnerfilter verwenden"}, G::FolderFilterOptions},
        {&In<&SF::folderOptions, &FO::wildcardsAsText>, TextRef{22179, "Platzhalter im Filter als Text behandeln"}, G::FolderFilterOptions},
        {&In<&SF::folderOptions, &FO::caseSensitive>, TextRef{22192, "Groß- und Kleinschreibung der Filter berücksichtigen"},
         G::FolderFilterOptions},
        {&In<&SF::folderOptions, &FO::subfoldersNotFiltered>, TextRef{22193, "Unterordner nicht filtern"}, G::FolderFilterOptions},
    };
    v.insert(v.end(), rest.begin(), rest.end());
    return v;
  }();
  return kOptions;
}

const std::vector<TextOption>& TextOptions() {
  static const std::vector<TextOption> kOptions = {
      {TextRef{11111, "Übereinstimmung"}, G::ContentPercent, &SearchField<&S::ContentComparePercent>,
       &NormalizeContentComparePercent},
      {TextRef{22121, "Startwert"}, G::Content, &Buffer<0>, &NormalizeBuffer<0>},
      {TextRef{22122, "Maximalwert"}, G::Content, &Buffer<1>, &NormalizeBuffer<1>},
      {TextRef{22123, "Schrittgröße"}, G::Content, &Buffer<2>, &NormalizeBuffer<2>},
      {TextRef{22124, "Größe des Datenblocks am Ende"}, G::Content, &Buffer<3>, &NormalizeBuffer<3>},
      {TextRef{22125, "Anzahl der Zeichen"}, G::FirstChars, &SearchField<&S::FileNameCompareOnlyFirstCharsCount>,
       &NormalizeFileNameCompareOnlyFirstCharsCount},
      {TextRef{22135, "Zeichen"}, G::FileName, &SearchField<&S::IgnoreCharsText>, nullptr},
      {TextRef{22136, "Zeichenketten"}, G::FileName, &SearchField<&S::IgnoreTextText>, nullptr},
      {TextRef{11111, "Übereinstimmung"}, G::SimilarNames, &SearchField<&S::PartialFilenameComparePercent>,
       &NormalizePartialFilenameComparePercent},
      {TextRef{11094, "Trennzeichen"}, G::SimilarNames, &SearchField<&S::PartialFilenameCompareMethodDelimiterChars>, nullptr},
      {TextRef{11111, "Übereinstimmung"}, G::Pictures, &SearchField<&S::SimilarPicsMatchPercent>,
       &NormalizeSimilarPicsMatchPercent},
      {TextRef{11112, "Bildbereich"}, G::Pictures, &SearchField<&S::SimiliarImagesCompareSourceWH>,
       &NormalizeSimiliarImagesCompareSourceWH},
      {TextRef{11111, "Übereinstimmung"}, G::Music, &SearchField<&S::SimilarAudioMatchPercent>,
       &NormalizeSimilarAudioMatchPercent},
      {TextRef{11114, "Analysierte Sekunden"}, G::Music, &SearchField<&S::SimilarAudioSeconds>, &NormalizeSimilarAudioSeconds},
      {TextRef{11115, "Abweichung in Sekunden"}, G::TrackLength, &SearchField<&S::AudioSeconds>, &NormalizeAudioSeconds},
      {TextRef{22126, "Anzahl der Duplikate"}, G::General, &SearchField<&S::CancelSearchMaxDupCount>,
       &NormalizeCancelSearchMaxDupCount},
      {TextRef{22127, "Minuten"}, G::General, &SearchField<&S::LogStatisticMinutes>, &NormalizeLogStatisticMinutes},
      {TextRef{22148, "Temporärer Ordner"}, G::ArchiveOptions, &SearchField<&S::TempFolder>, nullptr},
      {TextRef{22153, "Größe"}, G::ArchiveOptions, &SearchField<&S::ZipSizeFilterSize>, &NormalizeZipSizeFilterSize},
      {TextRef{22153, "Größe"}, G::SizeFilter, &In<&SF::size1, &SizeBound::number>, &NormalizeSizeBoundNumber},
      {TextRef{22153, "Größe"}, G::SecondSize, &In<&SF::size2, &SizeBound::number>, &NormalizeSizeBoundNumber},
  };
  return kOptions;
}

const std::vector<ChoiceOption>& ChoiceOptions() {
  using FO = FilterListOptions;
  static const std::vector<ChoiceOption> kOptions = {
      {TextRef{11092, "Inhaltsvergleich"}, G::Content, &SearchField<&S::ContentCompare>, 6, &ByPosition<ContentCompareText>},
      {TextRef{22128, "Dateinamen vergleichen"}, G::FileName, &SearchField<&S::FileNameCompareMethod>, 5,
       &ByPosition<FileNameCompareMethodText>},
      {TextRef{11093, "Vergleichsmethode"}, G::SimilarNames, &SearchField<&S::PartialFilenameCompareMethod>, 8,
       &ByPosition<PartialFilenameCompareMethodText>},
      {TextRef{11109, "Algorithmus"}, G::Pictures, &SearchField<&S::SimiliarImagesAlgo>, 10, &ByPosition<PictureListText>,
       &kPictureAlgorithmListOrder},
      {TextRef{22138, "Vergleichsgröße"}, G::Pictures, &SearchField<&S::SimilarPicsThumbSizeIndex>, 10, &PictureSizeText},
      {TextRef{22139, "Hash-Größe"}, G::Pictures, &SearchField<&S::SimilarPicsChecksumBitsIndex>, 2,
       &ByPosition<PictureHashBitsText>},
      {TextRef{22130, "Genauigkeit"}, G::Pictures, &SearchField<&S::SimilarPicsChecksumOptionIndex>, 2,
       &ByPosition<SimilarPicsChecksumOptionText>},
      {TextRef{11112, "Bildbereich"}, G::Pictures, &SearchField<&S::SimiliarImagesCompareSource>, 5,
       &ByPosition<SimiliarImagesCompareSourceText>},
      {TextRef{11109, "Algorithmus"}, G::Music, &SearchField<&S::SimilarAudioAlgo>, 4, &ByPosition<SimilarAudioAlgoText>},
      {TextRef{22129, "Vergleich zwischen Quellordnern"}, G::General, &SearchField<&S::SourceFolderCompareMode>, 4,
       &ByPosition<SourceFolderCompareModeText>},
      {TextRef{22152, "Einheit"}, G::ArchiveOptions, &SearchField<&S::ZipSizeFilterTyp>, 5, &FromTable<kSizeUnits>},
      {TextRef{22199, "Bedingung"}, G::DateFilter, &SourceField<&SF::dateType>, 4, &FromTable<kDateTypes>},
      {TextRef{22154, "Vergleich"}, G::SizeFilter, &In<&SF::size1, &SizeBound::comparison>, 2, &FromTable<kSizeComparisons>},
      {TextRef{22152, "Einheit"}, G::SizeFilter, &In<&SF::size1, &SizeBound::unit>, 5, &FromTable<kSizeUnits>},
      {TextRef{22154, "Vergleich"}, G::SecondSize, &In<&SF::size2, &SizeBound::comparison>, 2, &FromTable<kSizeComparisons>},
      {TextRef{22152, "Einheit"}, G::SecondSize, &In<&SF::size2, &SizeBound::unit>, 5, &FromTable<kSizeUnits>},
      {TextRef{22194, "Filterart"}, G::FileFilterOptions, &In<&SF::fileOptions, &FO::filterType>, 2, &FromTable<kFilterTypes>},
      {TextRef{22194, "Filterart"}, G::FolderFilterOptions, &In<&SF::folderOptions, &FO::filterType>, 2,
       &FromTable<kFilterTypes>},
  };
  return kOptions;
}

bool SearchMethodAvailable(int method) { return method == kMethodProperties || method == kMethodHardlinks; }

bool UserLanguageFileOn(const WindowSettings& windowSettings) {
  return windowSettings.Get("Allgemein", "UseLangTxt") == "1";
}

std::string SwitchUserLanguageFile(WindowSettings& windowSettings, bool on) {
  if (UserLanguageFileOn(windowSettings) == on) return "";
  windowSettings.Set("Allgemein", "UseLangTxt", on ? "1" : "0");
  return z_Translate(22213, "Die Änderung wird beim nächsten Start von Twinex wirksam.");
}

void MainWindowPresenter::SetMethod(int method) {
  search().SearchMethod = (method >= 0 && method <= 5) ? method : 0;
  ClearOptionsNotInForce(search());
}

void MainWindowPresenter::SetCriterion(int criterion, bool on) {
  if (criterion < 0 || criterion >= 7) return;
  search().Suchkriterien[static_cast<std::size_t>(criterion)] = on;
  ClearOptionsNotInForce(search());
}

void MainWindowPresenter::SetChoice(std::size_t option, int position) {
  const ChoiceOption& c = ChoiceOptions().at(option);
  if (position < 0 || position >= static_cast<int>(ChoiceItems(option).size())) return;
  c.value(settings_) = c.codes ? (*c.codes)[static_cast<std::size_t>(position)] : position;
  ClearOptionsNotInForce(search());
  // A list that depends on this choice may have lost the entry it showed.
  ApplyLoadInvariants(search());
}

std::vector<std::string> MainWindowPresenter::ChoiceItems(std::size_t option) const {
  const ChoiceOption& c = ChoiceOptions().at(option);
  std::vector<std::string> items;
  for (int k = 0; k < c.count; ++k) {
    std::string text = c.itemText(settings_.search, k);
    if (text.empty()) break;
    items.push_back(std::move(text));
  }
  return items;
}

int MainWindowPresenter::ChoicePosition(std::size_t option) const {
  const ChoiceOption& c = ChoiceOptions().at(option);
  const int stored = c.value(settings_);
  if (!c.codes) return std::clamp(stored, 0, std::max(0, static_cast<int>(ChoiceItems(option).size()) - 1));
  auto at = std::find(c.codes->begin(), c.codes->end(), stored);
  return at == c.codes->end() ? 0 : static_cast<int>(at - c.codes->begin());
}

void MainWindowPresenter::SetBool(std::size_t option, bool on) {
  const BoolOption& b = BoolOptions().at(option);
  // A box that is not in force keeps its cleared state.
  b.flag(settings_) = on && Enabled(b.group);
}

std::string MainWindowPresenter::LeaveText(std::size_t option, const std::string& typed) {
  const TextOption& t = TextOptions().at(option);
  std::string& stored = t.text(settings_);
  stored = t.normalize ? t.normalize(typed) : typed;
  return stored;
}

bool MainWindowPresenter::Enabled(OptionGroup group) const {
  const SearchSettings& s = settings_.search;
  const OptionsInForce f = GetOptionsInForce(s);
  const bool properties = s.SearchMethod == kMethodProperties;
  const bool fileName = properties && s.Suchkriterien[kCritName];
  switch (group) {
    case G::General: return true;
    case G::Criteria: return properties;
    case G::Content: return f.contentOptions;
    case G::ContentPercent: return f.contentPercent;
    case G::Dates: return f.dateOptions;
    case G::Hardlinks: return f.dontCompareHardlinks;
    case G::FileName: return fileName;
    case G::FirstChars: return fileName && f.firstCharsCount;
    case G::SimilarNames: return s.SearchMethod == kMethodSimilarNames;
    case G::Pictures: return s.SearchMethod == kMethodSimilarPictures;
    case G::Music: return s.SearchMethod == kMethodSimilarMusic;
    case G::TrackLength: return s.SearchMethod == kMethodTrackLength;
    case G::ArchiveOptions: return s.ScanArchives;
    case G::DatabaseOptions: return s.usedb;
    case G::DateFilter: return settings_.sources.dateActive;
    case G::SizeFilter: return settings_.sources.sizeActive;
    case G::SecondSize: return settings_.sources.sizeActive && settings_.sources.size2Active;
    case G::Archives:
    case G::Database:
    case G::Exclusions:
    case G::FileFilterOptions:
    case G::FolderFilterOptions: return true;
  }
  return false;
}

std::array<int, 3> MainWindowPresenter::ExclusionDate() const {
  const double date = settings_.sources.date > 0 ? settings_.sources.date : platform::Now();
  int y, m, d, hh, mm, ss;
  platform::SplitDate(date, y, m, d, hh, mm, ss);
  return {y, m, d};
}

void MainWindowPresenter::SetExclusionDate(int year, int month, int day) {
  settings_.sources.date = platform::MakeDate(year, month, day);
}

std::string MainWindowPresenter::MethodNote() const {
  if (SearchMethodAvailable(settings_.search.SearchMethod)) return "";
  return z_Translate(22134, "Diese Suchmethode ist in dieser Version noch nicht verfügbar.");
}

bool MainWindowPresenter::StartEnabled() const { return SearchMethodAvailable(settings_.search.SearchMethod); }

std::string MainWindowPresenter::AddSourceFolder(const std::string& path) {
  const std::string full = platform::AbsolutePath(path);
  if (path.empty() || !platform::ExistFolder(full))
    return z_Translate(22131, "Der Ordner '%1' existiert nicht.", {path});
  if (!Folder_Add_to_List(settings_.sources.sources, full))
    return z_Translate(22132, "Der Ordner '%1' ist bereits in der Liste vorhanden.", {full});
  return "";
}

void MainWindowPresenter::RemoveSourceFolder(std::size_t row) {
  auto& list = settings_.sources.sources;
  if (row < list.size()) list.erase(list.begin() + static_cast<std::ptrdiff_t>(row));
}

std::vector<FilterRow>& MainWindowPresenter::Filters(bool folders) {
  return folders ? settings_.sources.folderFilters : settings_.sources.fileFilters;
}

std::string MainWindowPresenter::FilterError(bool folders, const std::string& text) const {
  if (text.empty()) return z_Translate(22133, "Bitte geben Sie einen Filtertext ein.");
  const FilterListOptions& o = folders ? settings_.sources.folderOptions : settings_.sources.fileOptions;
  if (!o.wildcardsAsText && !ValidateFilterWildcards(text, false, nullptr))
    return z_Translate(10004, "Die Verwendung der Platzhalter im Filtertext '%1' ist ungültig!", {text});
  return "";
}

std::string MainWindowPresenter::AddFilter(bool folders, const std::string& text) {
  std::string error = FilterError(folders, text);
  if (error.empty() && !Filter_Add_to_List(Filters(folders), text, true))
    error = z_Translate(22137, "Der Filter '%1' ist bereits in der Liste vorhanden.", {text});
  return error;
}

void MainWindowPresenter::RemoveFilter(bool folders, std::size_t row) {
  auto& list = Filters(folders);
  if (row < list.size()) list.erase(list.begin() + static_cast<std::ptrdiff_t>(row));
}

}  // namespace twinex
