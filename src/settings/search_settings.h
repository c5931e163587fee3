#pragma once
// The complete set of choices that drive one search, with their storage keys (section
// "DupVerz" unless noted) and defaults. Text fields stay text, as the user typed them; the
// normalisation functions correct them when the user leaves a field.
#include <array>
#include <string>
#include <vector>

namespace twinex {

enum SearchMethodIndex : int {
  kMethodProperties = 0,
  kMethodSimilarNames = 1,
  kMethodSimilarPictures = 2,
  kMethodSimilarMusic = 3,
  kMethodTrackLength = 4,
  kMethodHardlinks = 5,
};

enum CriterionIndex : int {
  kCritName = 0,
  kCritExtension = 1,
  kCritSize = 2,
  kCritContent = 3,
  kCritModified = 4,
  kCritCreated = 5,
  kCritAttributes = 6,
};

inline constexpr int kArchiveTypeCount = 16;
inline constexpr int kRotateFlipCount = 7;

// One picture extension of section "SimilarImageExtensions" with its check mark.
struct PictureExtension {
  std::string ext;
  bool ticked = false;
  bool operator==(const PictureExtension&) const = default;
};

struct SearchSettings {
  int SearchMethod = 0;
  std::array<bool, 7> Suchkriterien{};  // Suchkriterien0..6

  // Content comparison.
  int ContentCompare = 2;
  std::string ContentComparePercent = "100";
  bool CompareFileEndFirst = true;
  std::array<std::string, 4> CompareBuffer{"16384", "32768", "16384", "32768"};  // CompareBuffer0..3
  bool IgnoreMP3Tags = false;
  bool IgnoreFlacMetadata = false;
  bool IgnoreExif = false;
  bool DontCompareHardlinks = false;

  // Date criteria.
  bool IgnoreTime = false;
  bool IgnoreSeconds = false;

  // File-name criterion.
  int FileNameCompareMethod = 0;
  std::string FileNameCompareOnlyFirstCharsCount = "5";
  bool IgnoreChars = false;
  std::string IgnoreCharsText;
  bool IgnoreText = false;
  std::string IgnoreTextText;

  // Similar file names.
  int PartialFilenameCompareMethod = 0;
  std::string PartialFilenameComparePercent = "90";
  std::string PartialFilenameCompareMethodDelimiterChars = " ,_.;-";

  // Similar pictures.
  int SimiliarImagesAlgo = 2;  // item code
  std::string SimilarPicsMatchPercent = "91";
  int SimilarPicsThumbSizeIndex = 1;
  int SimilarPicsChecksumBitsIndex = 0;
  int SimilarPicsChecksumOptionIndex = 0;
  int SimiliarImagesCompareSource = 0;
  std::string SimiliarImagesCompareSourceWH = "16";
  bool SimiliarImagesOnlySameFileName = false;
  bool SimiliarImagesOnlySameFileType = true;
  bool SimiliarImagesOnlySameDimension = false;
  bool SimiliarImagesOnlySameFormat = true;
  bool SimiliarImagesOnlySameRatio = true;
  bool SimiliarImagesRotateFlip = false;
  std::array<bool, kRotateFlipCount> SimiliarImagesRotateFlipN{};  // SimiliarImagesRotateFlip0..6
  std::vector<PictureExtension> SimilarImageExtensions = DefaultPictureExtensions();

  // Similar music.
  int SimilarAudioAlgo = 2;
  std::string SimilarAudioMatchPercent = "70";
  std::string SimilarAudioSeconds = "30";
  bool SimilarAudioOnlySameFileType = false;

  // Track length.
  std::string AudioSeconds = "0";
  bool AudioOnlySameFileName = false;
  bool AudioOnlySameFileType = false;

  // Scope and general options.
  int SourceFolderCompareMode = 0;
  bool NullByte = false;
  bool NTFSordner = true;
  bool WOW64 = true;
  bool Prio = false;
  bool RemoveGroupsDupsNotInsideAllSources = false;
  bool CancelSearchMaxDup = false;
  std::string CancelSearchMaxDupCount = "999";
  bool LogFilesWithNoDups = false;
  bool ShowOnlyFilesWithoutDups = false;
  bool LogStatistic = false;
  std::string LogStatisticMinutes = "5";
  bool FilterVerwendenBest = false;

  // Archives.
  bool ScanArchives = false;
  std::array<bool, kArchiveTypeCount> ScanArchive{};  // 1ScanArchive..16ScanArchive (index = code - 1)
  std::string TempFolder;      // empty: the program's temp folder
  std::string TempFolderOrig;
  bool DeleteTempFilesAfterCreateChecksum = false;
  bool LogPasswordProtectedFiles = false;
  bool ZipSizeFilter = true;
  int ZipSizeFilterTyp = 2;
  std::string ZipSizeFilterSize = "20";

  // Section "database".
  bool usedb = false;
  bool usedbcontent = true;
  bool usedbpic = true;
  bool usedbaudio = true;
  bool checksize = true;
  bool checkdate = true;

  static std::vector<PictureExtension> DefaultPictureExtensions();
  bool operator==(const SearchSettings&) const = default;
};

// The list texts of the search methods, content algorithms and scopes (German, translated).
std::string SearchMethodText(int method);
std::string CriterionCaption(int criterion);
std::string ContentCompareText(int index);
std::string SourceFolderCompareModeText(int mode);
std::string PartialFilenameCompareMethodText(int index);
std::string FileNameCompareMethodText(int index);
// Picture algorithm name by item code (0 aHash .. 9 mHash) and the list order of the codes.
std::string PictureAlgorithmText(int code);
extern const std::array<int, 10> kPictureAlgorithmListOrder;  // list position -> item code
std::string SimilarAudioAlgoText(int index);                   // "1", "2", "4", "5"
std::string CriterionTooltip(int criterion);
std::string SimilarPicsChecksumOptionText(int index);  // "Schnell", "Präzise"
std::string SimiliarImagesCompareSourceText(int index);  // picture area 0..4
std::string SimiliarImagesRotateFlipText(int index);     // transformed variant 0..6
// The five "same property" items of the picture search (codes 1..5) and the two of the
// track-length search (codes 1..2).
std::string SimiliarImagesOnlySameText(int code);
std::string AudioOnlySameText(int code);
// Comparison size of the picture search: the picture side in pixels for an algorithm code and
// a list index (-1 when the list has no such entry), its list text, and the hash-size text.
int PictureCompareSide(int algorithmCode, int index);
std::string PictureCompareSizeText(int algorithmCode, int index);
std::string PictureHashBitsText(int index);  // "%1-Bit": 8 bits per side for index 0, else 16

// "No criterion -> Dateiname" and stored indexes that select nothing fall back to defaults.
void ApplyLoadInvariants(SearchSettings& s);

// Normalisation of the numeric text fields when the user leaves a field (one per field).
std::string NormalizeContentComparePercent(const std::string& text);
std::string NormalizeSimilarPicsMatchPercent(const std::string& text);
std::string NormalizeSimilarAudioMatchPercent(const std::string& text);
std::string NormalizeSimilarAudioSeconds(const std::string& text);
std::string NormalizeSimiliarImagesCompareSourceWH(const std::string& text);
std::string NormalizeCancelSearchMaxDupCount(const std::string& text);
std::string NormalizeLogStatisticMinutes(const std::string& text);
std::string NormalizePartialFilenameComparePercent(const std::string& text);
std::string NormalizeFileNameCompareOnlyFirstCharsCount(const std::string& text);
std::string NormalizeAudioSeconds(const std::string& text);
std::string NormalizeCompareBuffer(int index, const std::string& text);
std::string NormalizeZipSizeFilterSize(const std::string& text);
std::string NormalizeSizeBoundNumber(const std::string& text);  // the numbers of the size exclusion
// Applies every normalisation above to the settings (a search does this before it starts).
void NormalizeAllFields(SearchSettings& s);

// Which options are in force for the current method and criteria; a disabled Boolean is cleared.
struct OptionsInForce {
  bool dontCompareHardlinks = false;
  bool dateOptions = false;      // IgnoreTime, IgnoreSeconds
  bool contentOptions = false;   // the content comparison options
  bool contentPercent = false;   // ContentComparePercent (only "Byte für Byte")
  bool firstCharsCount = false;  // FileNameCompareOnlyFirstCharsCount
};
OptionsInForce GetOptionsInForce(const SearchSettings& s);
void ClearOptionsNotInForce(SearchSettings& s);

// The one-line summary for the search log and saved results.
std::string GetSearchDescription(const SearchSettings& s, bool saveSearch);

}  // namespace twinex
