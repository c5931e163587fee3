#include "settings/search_settings.h"

#include <cmath>
#include <initializer_list>
#include <optional>

#include "platform/text.h"
#include "settings/translate.h"

namespace twinex {
namespace {

// The item at index, or "" when the index selects nothing.
std::string Pick(int index, std::initializer_list<std::string> items) {
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return {};
  return *(items.begin() + index);
}

}  // namespace

std::vector<PictureExtension> SearchSettings::DefaultPictureExtensions() {
  static const char* const kAll =
      "/ico/jpg/jpeg/png/gif/bmp/tif/pcx/3fr/arw/cr2/crw/cut/dcr/dng/erf/hdp/iff/j2c/j2k/jp2/jpx/kdc/"
      "mdc/mef/mos/mrw/nef/orf/pbm/pef/pgm/ppm/psd/raf/ras/raw/rw2/srw/tga/wbmp/webp/x3f/";
  static const std::string kTicked = "/jpg/jpeg/png/gif/bmp/";
  std::vector<PictureExtension> out;
  for (const std::string& ext : platform::Split(kAll, '/')) {
    if (ext.empty()) continue;
    out.push_back({ext, kTicked.find("/" + ext + "/") != std::string::npos});
  }
  return out;
}

const std::array<int, 10> kPictureAlgorithmListOrder = {0, 1, 2, 9, 3, 4, 5, 6, 7, 8};

std::string SearchMethodText(int method) {
  return Pick(method, {z_Translate(5503, "Finde Dateiduplikate anhand Ihrer Eigenschaften"),
                       z_Translate(5504, "Finde ähnliche Dateinamen"), z_Translate(5505, "Finde ähnliche Bilder"),
                       z_Translate(5506, "Finde ähnliche Musik"),
                       z_Translate(5507, "Finde Video- und Musikdateien anhand der Tonspurlänge"),
                       z_Translate(5508, "Finde Hardlinks")});
}

std::string CriterionCaption(int criterion) {
  return Pick(criterion, {z_Translate(3577, "Dateiname"), z_Translate(3576, "Dateiendung"),
                          z_Translate(3575, "Dateigröße"), z_Translate(3574, "Dateiinhalt"),
                          z_Translate(3573, "Änderungsdatum"), z_Translate(3572, "Erstellungsdatum"),
                          z_Translate(3571, "Dateiattribute")});
}

std::string CriterionTooltip(int criterion) {
  return Pick(criterion, {z_Translate(5108, "Findet Dateien mit dem gleichen Namen (ohne Endung)"),
                          z_Translate(5109, "Findet Dateien mit der gleichen Endung"),
                          z_Translate(5110, "Findet Dateien mit der gleichen Größe"),
                          z_Translate(5111, "Findet Dateien mit gleichem oder ähnlichen Inhalt"),
                          z_Translate(5112, "Findet Dateien mit dem gleichen Änderungsdatum"),
                          z_Translate(5113, "Findet Dateien mit dem gleichen Erstellungsdatum"),
                          z_Translate(5114, "Findet Dateien mit den gleichen Attributen")});
}

std::string ContentCompareText(int index) {
  return Pick(index, {z_Translate(3867, "Byte für Byte"), z_Translate(5033, "MD5 (128-Bit)"),
                      z_Translate(5034, "SHA-1 (160-Bit)"), z_Translate(5035, "SHA-2 (256-Bit)"),
                      z_Translate(5036, "SHA-2 (384-Bit)"), z_Translate(5037, "SHA-2 (512-Bit)")});
}

std::string SourceFolderCompareModeText(int mode) {
  return Pick(mode, {z_Translate(10000, "Vergleiche Dateien aus allen Quellordnern"),
                     z_Translate(10001, "Vergleiche nur Dateien, welche sich in dem gleichen Quellordner befinden"),
                     z_Translate(10002, "Vergleiche nur Dateien aus unterschiedlichen Quellordnern"),
                     z_Translate(10003,
                                 "Vergleiche nur Dateien, welche sich in dem gleichen Quell- und Unterordner befinden")});
}

// The similarity measures are proper names and read the same in every language.
std::string PartialFilenameCompareMethodText(int index) {
  return Pick(index,
              {"SmartMatch", "FuzzyMatch", "Levenshtein", "Ratcliff", "MatchDiff", "WordMatch", "FuzzyPercent", "Simil"});
}

std::string FileNameCompareMethodText(int index) {
  return Pick(index, {z_Translate(5208, "Vergleiche alle Zeichen eines Dateinamens"),
                      z_Translate(5076, "Vergleiche nur Zeichen am Anfang eines Dateinamens"),
                      z_Translate(5474, "Vergleiche nur Zeichen am Ende eines Dateinamens"),
                      z_Translate(5209, "Ignoriere Zeichen am Ende eines Dateinamens"),
                      z_Translate(5732, "Ignoriere Zeichen am Anfang eines Dateinamens")});
}

std::string PictureAlgorithmText(int code) {
  // Indexed by item code; the checksum entries share their texts with the content list.
  return Pick(code, {"aHash", "bHash", "dHash", "pHash", z_Translate(5033, "MD5 (128-Bit)"),
                     z_Translate(5034, "SHA-1 (160-Bit)"), z_Translate(5035, "SHA-2 (256-Bit)"),
                     z_Translate(5036, "SHA-2 (384-Bit)"), z_Translate(5037, "SHA-2 (512-Bit)"), "mHash"});
}

std::string SimilarAudioAlgoText(int index) { return Pick(index, {"1", "2", "4", "5"}); }

std::string SimilarPicsChecksumOptionText(int index) {
  return Pick(index, {z_Translate(10010, "Schnell"), z_Translate(10011, "Präzise")});
}

std::string SimiliarImagesCompareSourceText(int index) {
  return Pick(index, {z_Translate(10012, "komplettes Bild"), z_Translate(10013, "Bildbereich oben links"),
                      z_Translate(10014, "Bildbereich oben rechts"), z_Translate(10015, "Bildbereich unten links"),
                      z_Translate(10016, "Bildbereich unten rechts")});
}

std::string SimiliarImagesRotateFlipText(int index) {
  return Pick(index, {z_Translate(10020, "90° nach rechts gedreht"), z_Translate(10021, "180° nach rechts gedreht"),
                      z_Translate(10022, "90° nach links gedreht"), z_Translate(10023, "Horizontal gespiegelt"),
                      z_Translate(10024, "90° nach rechts gedreht und horizontal gespiegelt"),
                      z_Translate(10025, "Vertikal gespiegelt"),
                      z_Translate(10026, "90° nach links gedreht und horizontal gespiegelt")});
}

std::string SimiliarImagesOnlySameText(int code) {
  return Pick(code - 1, {z_Translate(3577, "Dateiname"), z_Translate(3576, "Dateiendung"),
                         z_Translate(10030, "Höhe und Breite"), z_Translate(10031, "Bildausrichtung"),
                         z_Translate(10032, "Seitenverhältnis")});
}

std::string AudioOnlySameText(int code) {
  return Pick(code - 1, {z_Translate(3577, "Dateiname"), z_Translate(3576, "Dateiendung")});
}

int PictureCompareSide(int algorithmCode, int index) {
  std::vector<int> sides;
  switch (algorithmCode) {
    case 1: sides = {128, 256, 512}; break;  // bHash
    case 3: sides = {32}; break;             // pHash works on a fixed 32 x 32 picture
    default:
      if (algorithmCode >= 0 && algorithmCode <= 9) sides = {8, 16};
  }
  if (index < 0 || static_cast<std::size_t>(index) >= sides.size()) return -1;
  return sides[static_cast<std::size_t>(index)];
}

std::string PictureCompareSizeText(int algorithmCode, int index) {
  int side = PictureCompareSide(algorithmCode, index);
  if (side < 0) return {};
  return std::to_string(side) + "x" + std::to_string(side);
}

std::string PictureHashBitsText(int index) {
  return z_Translate(5645, "%1-Bit", {index == 0 ? "8" : "16"});
}

// ---------------------------------------------------------------------------------------------
// Load invariants: a stored index that selects nothing falls back to the default index.

namespace {

struct IndexRule {
  int SearchSettings::*field;
  int lo;
  int hi;
  int fallback;
};

constexpr IndexRule kIndexRules[] = {
    {&SearchSettings::SearchMethod, 0, 5, 0},
    {&SearchSettings::ContentCompare, 0, 5, 2},
    {&SearchSettings::FileNameCompareMethod, 0, 4, 0},
    {&SearchSettings::PartialFilenameCompareMethod, 0, 7, 0},
    {&SearchSettings::SimiliarImagesAlgo, 0, 9, 2},
    {&SearchSettings::SimilarPicsChecksumBitsIndex, 0, 1, 0},
    {&SearchSettings::SimilarPicsChecksumOptionIndex, 0, 1, 0},
    {&SearchSettings::SimiliarImagesCompareSource, 0, 4, 0},
    {&SearchSettings::SimilarAudioAlgo, 0, 3, 2},
    {&SearchSettings::SourceFolderCompareMode, 0, 3, 0},
    {&SearchSettings::ZipSizeFilterTyp, 0, 4, 2},
};

}  // namespace

void ApplyLoadInvariants(SearchSettings& s) {
  bool any = false;
  for (bool c : s.Suchkriterien) any = any || c;
  if (!any) s.Suchkriterien[kCritName] = true;

  for (const IndexRule& r : kIndexRules) {
    int& v = s.*r.field;
    if (v < r.lo || v > r.hi) v = r.fallback;
  }
  // The comparison-size list depends on the algorithm (pHash offers only one size).
  if (PictureCompareSide(s.SimiliarImagesAlgo, s.SimilarPicsThumbSizeIndex) < 0)
    s.SimilarPicsThumbSizeIndex = PictureCompareSide(s.SimiliarImagesAlgo, 1) < 0 ? 0 : 1;
}

// ---------------------------------------------------------------------------------------------
// Normalisation of the numeric text fields.

namespace {

// One row of the normalisation table. A bound that is absent is not checked. Values are whole
// numbers: a fraction is cut off before the bounds apply, so "0.5" counts as 0.
struct NumberRule {
  const char* notNumeric;
  std::optional<long long> max;
  const char* tooLarge;
  std::optional<long long> min;  // values below min are replaced
  const char* tooSmall;
};

// Percentages and buffer sizes of zero or less make no sense at all (a negative share of equal
// bytes would call every pair of files equal), so their lower bound covers negatives too.
constexpr NumberRule kContentComparePercent{"100", 100, "100", 1, "100"};
constexpr NumberRule kSimilarPicsMatchPercent{"95", 100, "100", 1, "100"};
constexpr NumberRule kSimilarAudioMatchPercent{"90", 100, "100", 1, "100"};
constexpr NumberRule kSimilarAudioSeconds{"30", 999, "30", 15, "15"};
constexpr NumberRule kSimiliarImagesCompareSourceWH{"16", 999, "999", 1, "16"};
constexpr NumberRule kCancelSearchMaxDupCount{"999", std::nullopt, nullptr, 1, "999"};
constexpr NumberRule kLogStatisticMinutes{"5", std::nullopt, nullptr, 1, "5"};
constexpr NumberRule kPartialFilenameComparePercent{"90", std::nullopt, nullptr, std::nullopt, nullptr};
// A negative character count would cut a name from the wrong end.
constexpr NumberRule kFileNameCompareOnlyFirstCharsCount{"0", std::nullopt, nullptr, 0, "0"};
constexpr NumberRule kAudioSeconds{"0", std::nullopt, nullptr, 0, "0"};
constexpr NumberRule kCompareBufferSmall{"16384", std::nullopt, nullptr, 1, "16384"};
constexpr NumberRule kCompareBufferLarge{"32768", std::nullopt, nullptr, 1, "32768"};
// A negative size bound would reject every file (or none); "20" is the default archive limit.
constexpr NumberRule kZipSizeFilterSize{"20", std::nullopt, nullptr, 0, "0"};
constexpr NumberRule kSizeBoundNumber{"0", std::nullopt, nullptr, 0, "0"};

std::string Normalize(const NumberRule& rule, const std::string& text) {
  double d = 0;
  // Beyond 1e15 no field means anything; such a text is treated like garbage.
  if (!platform::ParseDouble(text, d) || !std::isfinite(d) || std::fabs(d) > 1e15) return rule.notNumeric;
  long long v = static_cast<long long>(std::trunc(d));
  if (rule.max && v > *rule.max) return rule.tooLarge;
  if (rule.min && v < *rule.min) return rule.tooSmall;
  return std::to_string(v);
}

}  // namespace

std::string NormalizeContentComparePercent(const std::string& t) { return Normalize(kContentComparePercent, t); }
std::string NormalizeSimilarPicsMatchPercent(const std::string& t) { return Normalize(kSimilarPicsMatchPercent, t); }
std::string NormalizeSimilarAudioMatchPercent(const std::string& t) { return Normalize(kSimilarAudioMatchPercent, t); }
std::string NormalizeSimilarAudioSeconds(const std::string& t) { return Normalize(kSimilarAudioSeconds, t); }
std::string NormalizeSimiliarImagesCompareSourceWH(const std::string& t) {
  return Normalize(kSimiliarImagesCompareSourceWH, t);
}
std::string NormalizeCancelSearchMaxDupCount(const std::string& t) { return Normalize(kCancelSearchMaxDupCount, t); }
std::string NormalizeLogStatisticMinutes(const std::string& t) { return Normalize(kLogStatisticMinutes, t); }
std::string NormalizePartialFilenameComparePercent(const std::string& t) {
  return Normalize(kPartialFilenameComparePercent, t);
}
std::string NormalizeFileNameCompareOnlyFirstCharsCount(const std::string& t) {
  return Normalize(kFileNameCompareOnlyFirstCharsCount, t);
}
std::string NormalizeAudioSeconds(const std::string& t) { return Normalize(kAudioSeconds, t); }
std::string NormalizeZipSizeFilterSize(const std::string& t) { return Normalize(kZipSizeFilterSize, t); }
std::string NormalizeSizeBoundNumber(const std::string& t) { return Normalize(kSizeBoundNumber, t); }
std::string NormalizeCompareBuffer(int index, const std::string& t) {
  return Normalize(index % 2 == 0 ? kCompareBufferSmall : kCompareBufferLarge, t);
}

void NormalizeAllFields(SearchSettings& s) {
  struct FieldNormalizer {
    std::string SearchSettings::*field;
    std::string (*normalize)(const std::string&);
  };
  static constexpr FieldNormalizer kFields[] = {
      {&SearchSettings::ContentComparePercent, NormalizeContentComparePercent},
      {&SearchSettings::SimilarPicsMatchPercent, NormalizeSimilarPicsMatchPercent},
      {&SearchSettings::SimilarAudioMatchPercent, NormalizeSimilarAudioMatchPercent},
      {&SearchSettings::SimilarAudioSeconds, NormalizeSimilarAudioSeconds},
      {&SearchSettings::SimiliarImagesCompareSourceWH, NormalizeSimiliarImagesCompareSourceWH},
      {&SearchSettings::CancelSearchMaxDupCount, NormalizeCancelSearchMaxDupCount},
      {&SearchSettings::LogStatisticMinutes, NormalizeLogStatisticMinutes},
      {&SearchSettings::PartialFilenameComparePercent, NormalizePartialFilenameComparePercent},
      {&SearchSettings::FileNameCompareOnlyFirstCharsCount, NormalizeFileNameCompareOnlyFirstCharsCount},
      {&SearchSettings::AudioSeconds, NormalizeAudioSeconds},
  };
  for (const FieldNormalizer& f : kFields) s.*f.field = f.normalize(s.*f.field);
  for (std::size_t i = 0; i < s.CompareBuffer.size(); ++i)
    s.CompareBuffer[i] = NormalizeCompareBuffer(static_cast<int>(i), s.CompareBuffer[i]);
}

// ---------------------------------------------------------------------------------------------

OptionsInForce GetOptionsInForce(const SearchSettings& s) {
  OptionsInForce o;
  const bool properties = s.SearchMethod == kMethodProperties;
  const bool content = properties && s.Suchkriterien[kCritContent];
  o.dontCompareHardlinks =
      content || s.SearchMethod == kMethodSimilarPictures || s.SearchMethod == kMethodSimilarMusic;
  o.dateOptions = properties && (s.Suchkriterien[kCritModified] || s.Suchkriterien[kCritCreated]);
  o.contentOptions = content;
  o.contentPercent = content && s.ContentCompare == 0;
  o.firstCharsCount = s.FileNameCompareMethod != 0;
  return o;
}

void ClearOptionsNotInForce(SearchSettings& s) {
  OptionsInForce o = GetOptionsInForce(s);
  if (!o.dontCompareHardlinks) s.DontCompareHardlinks = false;
  if (!o.dateOptions) {
    s.IgnoreTime = false;
    s.IgnoreSeconds = false;
  }
}

std::string GetSearchDescription(const SearchSettings& s, bool saveSearch) {
  auto paren = [](const std::string& t) { return " (" + t + ")"; };
  switch (s.SearchMethod) {
    case kMethodProperties: {
      std::string out;
      for (int i = 0; i < static_cast<int>(s.Suchkriterien.size()); ++i) {
        if (!s.Suchkriterien[static_cast<std::size_t>(i)]) continue;
        if (!out.empty()) out += " + ";
        out += CriterionCaption(i);
        if (saveSearch && i == kCritContent) {
          // The checksum methods compare whole files, so they always stand at 100 %.
          out += " " + ContentCompareText(s.ContentCompare);
          out += paren((s.ContentCompare == 0 ? s.ContentComparePercent : std::string("100")) + "%");
        }
      }
      return out;
    }
    case kMethodSimilarNames: {
      std::string out = SearchMethodText(s.SearchMethod);
      if (saveSearch)
        out += paren(PartialFilenameCompareMethodText(s.PartialFilenameCompareMethod)) +
               paren(s.PartialFilenameComparePercent + "%");
      return out;
    }
    case kMethodSimilarPictures: {
      std::string out = SearchMethodText(s.SearchMethod);
      if (saveSearch)
        out += paren(PictureAlgorithmText(s.SimiliarImagesAlgo)) + paren(s.SimilarPicsMatchPercent + "%") +
               paren(PictureCompareSizeText(s.SimiliarImagesAlgo, s.SimilarPicsThumbSizeIndex)) +
               paren(PictureHashBitsText(s.SimilarPicsChecksumBitsIndex));
      return out;
    }
    case kMethodSimilarMusic: {
      std::string out = SearchMethodText(s.SearchMethod);
      if (saveSearch)
        out += paren(z_Translate(5646, "%1s", {s.SimilarAudioSeconds})) + paren(s.SimilarAudioMatchPercent + "%") +
               paren(SimilarAudioAlgoText(s.SimilarAudioAlgo));
      return out;
    }
    case kMethodTrackLength: {
      std::string out = SearchMethodText(s.SearchMethod);
      if (saveSearch) out += paren(z_Translate(5646, "%1s", {s.AudioSeconds}));
      return out;
    }
    default:
      return SearchMethodText(s.SearchMethod);
  }
}

}  // namespace twinex
