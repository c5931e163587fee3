#include "presenters/main_window_presenter.h"

#include <algorithm>

#include "platform/file_system.h"
#include "settings/filters.h"

namespace twinex {

namespace {

using G = OptionGroup;

template <std::string SearchSettings::*F>
std::string& Field(SearchSettings& s) {
  return s.*F;
}
template <int I>
std::string& Buffer(SearchSettings& s) {
  return s.CompareBuffer[I];
}
template <int I>
std::string NormalizeBuffer(const std::string& t) {
  return NormalizeCompareBuffer(I, t);
}
std::string PictureListText(int position) { return PictureAlgorithmText(kPictureAlgorithmListOrder[static_cast<std::size_t>(position)]); }

}  // namespace

const std::vector<BoolOption>& BoolOptions() {
  using S = SearchSettings;
  static const std::vector<BoolOption> kOptions = {
      {&S::CompareFileEndFirst, TextRef{22100, "Vergleiche zuerst einen Datenblock am Ende der beiden Dateien"}, G::Content},
      {&S::IgnoreMP3Tags, TextRef{11105, "ID3-Tags von MP3-Dateien ignorieren"}, G::Content},
      {&S::IgnoreFlacMetadata, TextRef{11106, "Metadaten von FLAC-Dateien ignorieren"}, G::Content},
      {&S::IgnoreExif, TextRef{11107, "Metadaten von JPEG/CR2-Dateien ignorieren"}, G::Content},
      {&S::DontCompareHardlinks, TextRef{11108, "Keine Hardlinks inhaltlich vergleichen"}, G::Hardlinks},
      {&S::IgnoreTime, TextRef{11101, "Uhrzeit ignorieren"}, G::Dates},
      {&S::IgnoreSeconds, TextRef{11102, "Sekunden ignorieren"}, G::Dates},
      {&S::IgnoreChars, TextRef{11103, "Ignoriere bestimmte Zeichen im Dateinamen:"}, G::FileName},
      {&S::IgnoreText, TextRef{11104, "Ignoriere bestimmte Zeichenketten im Dateinamen:"}, G::FileName},
      {&S::SimiliarImagesOnlySameFileName, TextRef{3577, "Dateiname"}, G::Pictures},
      {&S::SimiliarImagesOnlySameFileType, TextRef{3576, "Dateiendung"}, G::Pictures},
      {&S::SimiliarImagesOnlySameDimension, TextRef{10030, "Höhe und Breite"}, G::Pictures},
      {&S::SimiliarImagesOnlySameFormat, TextRef{10031, "Bildausrichtung"}, G::Pictures},
      {&S::SimiliarImagesOnlySameRatio, TextRef{10032, "Seitenverhältnis"}, G::Pictures},
      {&S::SimiliarImagesRotateFlip, TextRef{11113, "Bildveränderungen erkennen (langsamer)"}, G::Pictures},
      {&S::SimilarAudioOnlySameFileType, TextRef{22110, "Vergleiche nur Dateien mit der gleichen Dateiendung"}, G::Music},
      {&S::AudioOnlySameFileName, TextRef{3577, "Dateiname"}, G::TrackLength},
      {&S::AudioOnlySameFileType, TextRef{3576, "Dateiendung"}, G::TrackLength},
      {&S::NullByte, TextRef{22101, "Dateien mit 0 Byte ignorieren"}, G::General},
      {&S::NTFSordner,
       TextRef{22102, "Keine Ordner (NTFS-Abzweigungspunkte) durchsuchen, welche auf andere Ordner verweisen"}, G::General},
      {&S::Prio, TextRef{22103, "CPU-Priorität von Twinex auf Niedrig setzen"}, G::General},
      {&S::RemoveGroupsDupsNotInsideAllSources,
       TextRef{22104, "Alle Gruppen entfernen, bei welchen die Dateien in einer Gruppe nicht in allen Quellordnern vorhanden sind"},
       G::General},
      {&S::CancelSearchMaxDup, TextRef{22105, "Suche abbrechen, wenn eine bestimmte Anzahl von Duplikaten gefunden wurde"},
       G::General},
      {&S::LogFilesWithNoDups, TextRef{22106, "Dateien ohne Duplikate im Protokoll auflisten"}, G::General},
      {&S::ShowOnlyFilesWithoutDups, TextRef{22107, "Nur Dateien ohne Duplikate im Suchergebnis anzeigen"}, G::General},
      {&S::LogStatistic, TextRef{22108, "Alle x Minuten die Suchstatistik der Fortschrittsanzeige protokollieren"},
       G::General},
      {&S::FilterVerwendenBest, TextRef{22109, "Verwendung der Datei- und Ordnerfilter bestätigen"}, G::General},
  };
  return kOptions;
}

const std::vector<TextOption>& TextOptions() {
  using S = SearchSettings;
  static const std::vector<TextOption> kOptions = {
      {TextRef{11111, "Übereinstimmung"}, G::ContentPercent, &Field<&S::ContentComparePercent>,
       &NormalizeContentComparePercent},
      {TextRef{22121, "Startwert"}, G::Content, &Buffer<0>, &NormalizeBuffer<0>},
      {TextRef{22122, "Maximalwert"}, G::Content, &Buffer<1>, &NormalizeBuffer<1>},
      {TextRef{22123, "Schrittgröße"}, G::Content, &Buffer<2>, &NormalizeBuffer<2>},
      {TextRef{22124, "Größe des Datenblocks am Ende"}, G::Content, &Buffer<3>, &NormalizeBuffer<3>},
      {TextRef{22125, "Anzahl der Zeichen"}, G::FirstChars, &Field<&S::FileNameCompareOnlyFirstCharsCount>,
       &NormalizeFileNameCompareOnlyFirstCharsCount},
      {TextRef{22135, "Zeichen"}, G::FileName, &Field<&S::IgnoreCharsText>, nullptr},
      {TextRef{22136, "Zeichenketten"}, G::FileName, &Field<&S::IgnoreTextText>, nullptr},
      {TextRef{11111, "Übereinstimmung"}, G::SimilarNames, &Field<&S::PartialFilenameComparePercent>,
       &NormalizePartialFilenameComparePercent},
      {TextRef{11094, "Trennzeichen"}, G::SimilarNames, &Field<&S::PartialFilenameCompareMethodDelimiterChars>, nullptr},
      {TextRef{11111, "Übereinstimmung"}, G::Pictures, &Field<&S::SimilarPicsMatchPercent>,
       &NormalizeSimilarPicsMatchPercent},
      {TextRef{11112, "Bildbereich"}, G::Pictures, &Field<&S::SimiliarImagesCompareSourceWH>,
       &NormalizeSimiliarImagesCompareSourceWH},
      {TextRef{11111, "Übereinstimmung"}, G::Music, &Field<&S::SimilarAudioMatchPercent>,
       &NormalizeSimilarAudioMatchPercent},
      {TextRef{11114, "Analysierte Sekunden"}, G::Music, &Field<&S::SimilarAudioSeconds>, &NormalizeSimilarAudioSeconds},
      {TextRef{11115, "Abweichung in Sekunden"}, G::TrackLength, &Field<&S::AudioSeconds>, &NormalizeAudioSeconds},
      {TextRef{22126, "Anzahl der Duplikate"}, G::General, &Field<&S::CancelSearchMaxDupCount>,
       &NormalizeCancelSearchMaxDupCount},
      {TextRef{22127, "Minuten"}, G::General, &Field<&S::LogStatisticMinutes>, &NormalizeLogStatisticMinutes},
  };
  return kOptions;
}

const std::vector<ChoiceOption>& ChoiceOptions() {
  using S = SearchSettings;
  static const std::vector<ChoiceOption> kOptions = {
      {TextRef{11092, "Inhaltsvergleich"}, G::Content, &S::ContentCompare, 6, &ContentCompareText},
      {TextRef{22128, "Dateinamen vergleichen"}, G::FileName, &S::FileNameCompareMethod, 5, &FileNameCompareMethodText},
      {TextRef{11093, "Vergleichsmethode"}, G::SimilarNames, &S::PartialFilenameCompareMethod, 8,
       &PartialFilenameCompareMethodText},
      {TextRef{11109, "Algorithmus"}, G::Pictures, &S::SimiliarImagesAlgo, 10, &PictureListText,
       &kPictureAlgorithmListOrder},
      {TextRef{22130, "Genauigkeit"}, G::Pictures, &S::SimilarPicsChecksumOptionIndex, 2, &SimilarPicsChecksumOptionText},
      {TextRef{11112, "Bildbereich"}, G::Pictures, &S::SimiliarImagesCompareSource, 5, &SimiliarImagesCompareSourceText},
      {TextRef{11109, "Algorithmus"}, G::Music, &S::SimilarAudioAlgo, 4, &SimilarAudioAlgoText},
      {TextRef{22129, "Vergleich zwischen Quellordnern"}, G::General, &S::SourceFolderCompareMode, 4,
       &SourceFolderCompareModeText},
  };
  return kOptions;
}

bool SearchMethodAvailable(int method) { return method == kMethodProperties || method == kMethodHardlinks; }

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
  if (position < 0 || position >= c.count) return;
  search().*(c.field) = c.codes ? (*c.codes)[static_cast<std::size_t>(position)] : position;
  ClearOptionsNotInForce(search());
}

int MainWindowPresenter::ChoicePosition(std::size_t option) const {
  const ChoiceOption& c = ChoiceOptions().at(option);
  const int stored = settings_.search.*(c.field);
  if (!c.codes) return std::clamp(stored, 0, c.count - 1);
  auto at = std::find(c.codes->begin(), c.codes->end(), stored);
  return at == c.codes->end() ? 0 : static_cast<int>(at - c.codes->begin());
}

void MainWindowPresenter::SetBool(std::size_t option, bool on) {
  const BoolOption& b = BoolOptions().at(option);
  // A box that is not in force keeps its cleared state.
  search().*(b.field) = on && Enabled(b.group);
}

std::string MainWindowPresenter::LeaveText(std::size_t option, const std::string& typed) {
  const TextOption& t = TextOptions().at(option);
  std::string& stored = t.text(search());
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
  }
  return false;
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
