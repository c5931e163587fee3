#include "search/search_method.h"

#include <array>

#include "search/check_file.h"
#include "search/hardlink_id.h"
#include "search/search.h"
#include "settings/translate.h"

namespace twinex {
namespace {

std::string Option(const std::string& text) { return z_Translate(11081, "Option: %1", {text}); }

// Groups by the file's properties as the user ticked them.
class PropertiesMethod : public SearchMethod {
 public:
  void SetCriteria(const SearchSettings& st, std::array<bool, 8>& c) const override {
    for (std::size_t i = 0; i < 7; ++i) c[i] = st.Suchkriterien[i];
  }
  void CheckFile(Search& s) const override { Search_GroupByKey(s); }
};

// Groups the names of one multiply-linked file.
class HardlinkMethod : public SearchMethod {
 public:
  void SetCriteria(const SearchSettings&, std::array<bool, 8>& c) const override { c[7] = true; }
  bool ScansArchives() const override { return false; }  // archive members have no links
  void CheckFile(Search& s) const override {
    // An unreadable name is logged by the read.
    if (ReadHardlinkData(s, 0) && s.files.Record(0).NumberOfLinks >= 2) Search_GroupByKey(s);
  }
};

// A method whose comparison has not arrived in this build: it says so at the start instead of
// running a search that can find nothing.
class NotYetMethod : public SearchMethod {
 public:
  explicit NotYetMethod(int number) : number_(number) {}
  std::string Refusal() const override {
    return z_Translate(11007, "Die Suchmethode '%1' ist in dieser Version noch nicht verfügbar.",
                       {SearchMethodText(number_)});
  }
  void SetCriteria(const SearchSettings&, std::array<bool, 8>&) const override {}
  void CheckFile(Search&) const override {}

 private:
  int number_;
};

class SimilarNamesMethod : public NotYetMethod {
 public:
  SimilarNamesMethod() : NotYetMethod(kMethodSimilarNames) {}
  void SetCriteria(const SearchSettings&, std::array<bool, 8>& c) const override { c[kCritName] = true; }
  void AddLogLines(const Search& s, std::vector<std::string>& lines) const override { SimilarNamesLogLines(s, lines); }
};

std::string JoinTicked(const std::vector<PictureExtension>& exts) {
  std::string out;
  for (const auto& e : exts) {
    if (!e.ticked) continue;
    if (!out.empty()) out += ", ";
    out += e.ext;
  }
  return out;
}

class SimilarPicturesMethod : public NotYetMethod {
 public:
  SimilarPicturesMethod() : NotYetMethod(kMethodSimilarPictures) {}
  bool AcceptsExtension(const Search& s, std::string_view ext) const override { return IsSearchedPictureExtension(s, ext); }
  bool FiltersByType() const override { return true; }
  bool MakesChecksums(const Search&) const override { return true; }
  int CaptionType(const Search&) const override { return kCaptionSimilarPictures; }
  void AddLogLines(const Search& s, std::vector<std::string>& lines) const override { SimilarPicturesLogLines(s, lines); }
};

class SimilarMusicMethod : public NotYetMethod {
 public:
  SimilarMusicMethod() : NotYetMethod(kMethodSimilarMusic) {}
  bool AcceptsExtension(const Search&, std::string_view ext) const override {
    static const std::string kMusic = "/mp3/flac/m4a/wma/wav/ogg/aac/mp2/m4r/ape/mka/aif/aiff/";
    return kMusic.find("/" + std::string(ext) + "/") != std::string::npos;
  }
  bool FiltersByType() const override { return true; }
  bool MakesChecksums(const Search&) const override { return true; }
  int CaptionType(const Search&) const override { return kCaptionSimilarMusic; }
  void AddLogLines(const Search& s, std::vector<std::string>& lines) const override { SimilarMusicLogLines(s, lines); }
};

class TrackLengthMethod : public NotYetMethod {
 public:
  TrackLengthMethod() : NotYetMethod(kMethodTrackLength) {}
  int CaptionType(const Search&) const override { return kCaptionTrackLength; }
  void AddLogLines(const Search& s, std::vector<std::string>& lines) const override { TrackLengthLogLines(s, lines); }
};

}  // namespace

bool SearchMethod::MakesChecksums(const Search& s) const { return s.criteria[kCritContent] && s.contentMethod > 0; }

int SearchMethod::CaptionType(const Search& s) const {
  const auto& c = s.criteria;
  if (c[kCritName] && c[kCritExtension]) return kCaptionNameWithExtension;
  if (c[kCritName]) return kCaptionName;
  if (c[kCritExtension]) return kCaptionExtension;
  if (c[kCritSize] || c[kCritContent]) return kCaptionSize;
  if (c[kCritModified]) return kCaptionModified;
  if (c[kCritCreated]) return kCaptionCreated;
  if (c[kCritAttributes]) return kCaptionAttributes;
  if (c[7]) return kCaptionHardlink;
  return kCaptionName;
}

void SimilarNamesLogLines(const Search& s, std::vector<std::string>& lines) {
  const SearchSettings& st = s.settings;
  lines.push_back(Option(z_Translate(11093, "Vergleichsmethode") + ": " +
                         PartialFilenameCompareMethodText(st.PartialFilenameCompareMethod) + " (" +
                         st.PartialFilenameComparePercent + "%)"));
  lines.push_back(Option(z_Translate(11094, "Trennzeichen") + ": \"" + st.PartialFilenameCompareMethodDelimiterChars + "\""));
}

bool IsSearchedPictureExtension(const Search& s, std::string_view ext) {
  return s.pictureExtensions.find("/" + std::string(ext) + "/") != std::string::npos;
}

void SimilarPicturesLogLines(const Search& s, std::vector<std::string>& lines) {
  const SearchSettings& st = s.settings;
  lines.push_back(Option(z_Translate(11109, "Algorithmus") + ": " + PictureAlgorithmText(st.SimiliarImagesAlgo)));
  lines.push_back(Option(z_Translate(11110, "Bildformate") + ": " + JoinTicked(st.SimilarImageExtensions)));
  lines.push_back(Option(z_Translate(11111, "Übereinstimmung") + ": " + st.SimilarPicsMatchPercent + "%"));
  if (st.SimiliarImagesCompareSource != 0)
    lines.push_back(Option(z_Translate(11112, "Bildbereich") + ": " + st.SimiliarImagesCompareSourceWH + "x" +
                           st.SimiliarImagesCompareSourceWH));
  if (st.SimiliarImagesRotateFlip) lines.push_back(Option(z_Translate(11113, "Bildveränderungen erkennen (langsamer)")));
}

void SimilarMusicLogLines(const Search& s, std::vector<std::string>& lines) {
  const SearchSettings& st = s.settings;
  lines.push_back(Option(z_Translate(11114, "Analysierte Sekunden") + ": " + st.SimilarAudioSeconds));
  lines.push_back(Option(z_Translate(11111, "Übereinstimmung") + ": " + st.SimilarAudioMatchPercent + "%"));
  lines.push_back(Option(z_Translate(11109, "Algorithmus") + ": " + SimilarAudioAlgoText(st.SimilarAudioAlgo)));
}

void TrackLengthLogLines(const Search& s, std::vector<std::string>& lines) {
  lines.push_back(Option(z_Translate(11115, "Abweichung in Sekunden") + ": " + s.settings.AudioSeconds));
}

namespace {

// Indexed by the method number. Written only at start-up, before any search runs.
std::array<const SearchMethod*, 6>& MethodTable() {
  static const PropertiesMethod properties;
  static const SimilarNamesMethod names;
  static const SimilarPicturesMethod pictures;
  static const SimilarMusicMethod music;
  static const TrackLengthMethod trackLength;
  static const HardlinkMethod hardlinks;
  static std::array<const SearchMethod*, 6> table = {&properties, &names, &pictures, &music, &trackLength, &hardlinks};
  return table;
}

}  // namespace

const SearchMethod& SearchMethodFor(int number) {
  const auto& table = MethodTable();
  return number >= 0 && number < static_cast<int>(table.size()) ? *table[static_cast<std::size_t>(number)] : *table[0];
}

void InstallSearchMethod(int number, const SearchMethod& method) {
  if (number >= 0 && number < static_cast<int>(MethodTable().size())) MethodTable()[static_cast<std::size_t>(number)] = &method;
}

}  // namespace twinex
