#include <string>
#include <vector>

#include "platform/date_time.h"
#include "platform/text.h"
#include "search/search_driver.h"
#include "search/search_method.h"
#include "settings/translate.h"

namespace twinex {
namespace {

const char* const kUnits[] = {"Bytes", "KB", "MB", "GB", "TB"};

std::string Unit(int u) { return (u >= 0 && u <= 4) ? kUnits[u] : "?"; }

std::string Option(const std::string& text) { return z_Translate(11081, "Option: %1", {text}); }

std::string YesNo(bool on) { return on ? z_Translate(11120, "Ja") : z_Translate(11121, "Nein"); }

std::string SizeCondition(const SizeBound& b) {
  std::string cmp = b.comparison == 0 ? z_Translate(11095, "kleiner als") : z_Translate(11096, "größer als");
  return cmp + " " + (b.number.empty() ? "0" : b.number) + " " + Unit(b.unit);
}

std::string DateCondition(int type, double date) {
  static const TextRef kTypes[] = {
      TextRef{11097, "geändert vor dem"}, TextRef{11098, "geändert nach dem"},
      TextRef{11099, "erstellt vor dem"}, TextRef{11100, "erstellt nach dem"}};
  int y, m, d, hh, mm, ss;
  platform::SplitDate(date, y, m, d, hh, mm, ss);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d, m, y);
  return z_Translate(kTypes[(type >= 0 && type <= 3) ? type : 0]) + " " + buf;
}

void AddFilterLines(std::vector<std::string>& lines, const std::vector<CompiledFilter>& entries,
                    const FilterListOptions& opt, bool folders) {
  if (entries.empty()) return;
  lines.push_back(folders ? z_Translate(11083, "Ordnerfilter aktiviert: %1", {YesNo(true)})
                          : z_Translate(11087, "Dateifilter aktiviert: %1", {YesNo(true)}));
  lines.push_back(opt.filterType == 1 ? z_Translate(11084, "Filterart: Exklusive") : z_Translate(11085, "Filterart: Inklusive"));
  int n = 0;
  for (const auto& e : entries) {
    ++n;
    lines.push_back(folders ? z_Translate(11086, "%1.Ordnerfilter: %2", {std::to_string(n), e.text})
                            : z_Translate(11088, "%1.Dateifilter: %2", {std::to_string(n), e.text}));
  }
}

void AddMethodLines(std::vector<std::string>& lines, const Search& s) {
  const SearchSettings& st = s.settings;
  if (s.criteria[kCritModified] || s.criteria[kCritCreated]) {
    if (st.IgnoreTime) lines.push_back(Option(z_Translate(11101, "Uhrzeit ignorieren")));
    if (st.IgnoreSeconds) lines.push_back(Option(z_Translate(11102, "Sekunden ignorieren")));
  }
  s.searchMethod->AddLogLines(s, lines);
  if (s.criteria[kCritName]) {
    if (st.FileNameCompareMethod != 0)
      lines.push_back(Option(FileNameCompareMethodText(st.FileNameCompareMethod) + ": " + st.FileNameCompareOnlyFirstCharsCount));
    if (s.nameCleanup.ignoreChars)
      lines.push_back(Option(z_Translate(11103, "Ignoriere bestimmte Zeichen im Dateinamen:") + " " + st.IgnoreCharsText));
    if (s.nameCleanup.ignoreText)
      lines.push_back(Option(z_Translate(11104, "Ignoriere bestimmte Zeichenketten im Dateinamen:") + " " + st.IgnoreTextText));
  }
  if (s.criteria[kCritContent]) {
    std::string method = ContentCompareText(s.contentMethod);
    if (s.contentMethod == 0) method += " " + std::to_string(s.contentPercent) + "%";
    lines.push_back(Option(z_Translate(11092, "Inhaltsvergleich") + ": " + method));
    struct Flag {
      bool SearchSettings::*field;
      TextRef caption;
    };
    static const Flag kFlags[] = {
        {&SearchSettings::IgnoreMP3Tags, TextRef{11105, "ID3-Tags von MP3-Dateien ignorieren"}},
        {&SearchSettings::IgnoreFlacMetadata, TextRef{11106, "Metadaten von FLAC-Dateien ignorieren"}},
        {&SearchSettings::IgnoreExif, TextRef{11107, "Metadaten von JPEG/CR2-Dateien ignorieren"}},
        {&SearchSettings::DontCompareHardlinks, TextRef{11108, "Keine Hardlinks inhaltlich vergleichen"}},
    };
    for (const auto& f : kFlags)
      if (st.*(f.field)) lines.push_back(Option(z_Translate(f.caption)));
  }
}

}  // namespace

std::vector<std::string> SearchLogHeader(const Search& s) {
  std::vector<std::string> lines;
  lines.push_back(z_Translate(11080, "Suchmethode: %1", {SearchMethodText(s.method)}));
  AddMethodLines(lines, s);
  if (s.useDatabase) lines.push_back(Option(z_Translate(11091, "Datenbank verwenden")));
  for (const auto& src : s.sourceTable)
    lines.push_back(z_Translate(11082, "%1.Quellordner: %2", {std::to_string(src.SourceNr), src.path}));
  lines.push_back(Option(SourceFolderCompareModeText(s.scope)));

  const SearchSettings& st = s.settings;
  if (s.scanArchives) {
    static const char* const kTypes[] = {"zip", "rar", "7z", "iso", "cab", "tar", "gz", "ePub",
                                         "cbr", "nrg", "lzh", "lha", "arj", "cbz", "cb7", "cbt"};
    std::string types;
    for (int i = 0; i < kArchiveTypeCount; ++i) {
      if (!st.ScanArchive[static_cast<std::size_t>(i)]) continue;
      if (!types.empty()) types += ", ";
      types += kTypes[i];
    }
    lines.push_back(Option(z_Translate(11116, "Archive mit den folgenden Dateiendungen durchsuchen:") + " " + types));
    if (st.ZipSizeFilter)
      lines.push_back(Option(z_Translate(11117, "Dateien ab einer bestimmten Größe nicht entpacken:") + " " +
                             st.ZipSizeFilterSize + " " + Unit(st.ZipSizeFilterTyp)));
  }

  AddFilterLines(lines, s.filters.folderEntries, s.filters.folderOptions, true);
  AddFilterLines(lines, s.filters.fileEntries, s.filters.fileOptions, false);
  if (s.filters.sizeActive) {
    std::string cond = SizeCondition(s.filters.size1);
    if (s.filters.size2Active) cond += " + " + SizeCondition(s.filters.size2);
    lines.push_back(z_Translate(11089, "Filter für Dateigröße aktiviert") + ": " + cond);
  }
  if (s.filters.dateActive)
    lines.push_back(z_Translate(11090, "Filter für Dateidatum aktiviert") + ": " +
                    DateCondition(s.filters.dateType, static_cast<double>(s.filters.dateDay)));
  return lines;
}

}  // namespace twinex
