#include "search/search_stats.h"

#include "platform/date_time.h"
#include "platform/number_format.h"
#include "platform/process.h"
#include "platform/text.h"
#include "search/search.h"
#include "search/search_method.h"
#include "settings/translate.h"

namespace twinex {
namespace {

using platform::FormatCount;

// A line item shown only when its count is not zero.
struct CountItem {
  TextRef text;
  std::uint64_t SearchCounters::*counter;
};

}  // namespace

std::string Scan_Stats_Line(const Search& s) {
  const SearchCounters& c = s.counters;
  std::vector<std::string> items;
  std::int64_t seconds = (platform::TickCount() - s.startTick) / 1000;
  items.push_back(z_Translate(11040, "Dauer: %1", {platform::FormatDuration(seconds)}));
  if (c.totalFiles > 0) {
    std::uint64_t pct = c.filesChecked * 100 / c.totalFiles;
    items.push_back(z_Translate(11041, "Fortschritt: %1%", {std::to_string(pct)}));
  }
  items.push_back(z_Translate(11042, "Dateien: %1 \\ %2", {FormatCount(c.filesChecked), FormatCount(c.totalFiles)}));
  items.push_back(z_Translate(11043, "Duplikate: %1", {FormatCount(c.duplicates)}));
  items.push_back(z_Translate(11044, "Gruppen: %1", {FormatCount(c.groups)}));
  items.push_back(z_Translate(11045, "Dateivergleiche: %1", {FormatCount(c.fileComparisons)}));
  if (s.searchMethod->MakesChecksums(s)) items.push_back(z_Translate(11046, "Prüfsummen erstellt: %1", {FormatCount(c.checksumsCreated)}));
  if (s.scanArchives) {
    items.push_back(z_Translate(11047, "Durchsuchte Archive: %1", {FormatCount(c.archivesSearched)}));
    items.push_back(z_Translate(11048, "Entpackte Dateien: %1", {FormatCount(c.filesExtracted)}));
  }
  if (c.filesExcluded > 0 && (s.filters.FileFilterActive() || s.filters.sizeActive || s.filters.dateActive ||
                              s.filters.nullByte || s.searchMethod->FiltersByType()))
    items.push_back(z_Translate(11049, "Gefilterte Dateien: %1", {FormatCount(c.filesExcluded)}));
  if (c.foldersExcluded > 0 && s.filters.FolderFilterActive())
    items.push_back(z_Translate(11050, "Gefilterte Ordner: %1", {FormatCount(c.foldersExcluded)}));
  std::uint64_t ram = platform::ResidentMemoryBytes();
  items.push_back(z_Translate(11051, "RAM: %1 (%2)", {platform::FormatSizeAuto(ram), FormatCount(ram)}));

  std::string line;
  for (const auto& item : items) {
    if (!line.empty()) line += ", ";
    line += item;
  }
  return line;
}

void Log_Scan_Stats(Search& s) { s.LogProtokoll(Scan_Stats_Line(s)); }

void Log_Scan_Stats_IfDue(Search& s) {
  if (!s.settings.LogStatistic) return;
  std::int64_t now = platform::TickCount();
  if (s.lastStatsTick < s.startTick) s.lastStatsTick = s.startTick;
  if (now - s.lastStatsTick >= s.statsIntervalMs) {
    s.lastStatsTick = now;
    Log_Scan_Stats(s);
  }
}

std::vector<std::string> SummaryLines(const Search& s, std::uint64_t foldersSearched) {
  const SearchCounters& c = s.counters;
  std::vector<std::string> lines;
  std::string checked = FormatCount(c.filesChecked);
  if (c.totalFiles > 0) checked += " / " + FormatCount(c.totalFiles);
  lines.push_back(z_Translate(11060, "Überprüfte Dateien: %1", {checked}));
  if (c.duplicates == 0) {
    lines.push_back(z_Translate(11061, "Es wurden %1 Ordner und %2 Dateien durchsucht und keine Duplikate gefunden.",
                                {FormatCount(foldersSearched), FormatCount(c.filesChecked)}));
  } else {
    std::uint64_t bytes = 0;
    for (const auto& src : s.sourceTable) bytes += src.duplicateBytes;
    double share = c.filesChecked ? 100.0 * static_cast<double>(c.duplicates) / static_cast<double>(c.filesChecked) : 0;
    lines.push_back(z_Translate(11062, "Duplikate: %1 (%2%) (%3)",
                                {FormatCount(c.duplicates), platform::FormatDecimal2(share), platform::FormatSizeAuto(bytes)}));
    lines.push_back(z_Translate(11044, "Gruppen: %1", {FormatCount(c.groups)}));
  }
  static const CountItem kOptional[] = {
      {TextRef{11047, "Durchsuchte Archive: %1"}, &SearchCounters::archivesSearched},
      {TextRef{11063, "Dateien aus Archiven: %1"}, &SearchCounters::filesInArchives},
      {TextRef{11048, "Entpackte Dateien: %1"}, &SearchCounters::filesExtracted},
      {TextRef{11045, "Dateivergleiche: %1"}, &SearchCounters::fileComparisons},
      {TextRef{11046, "Prüfsummen erstellt: %1"}, &SearchCounters::checksumsCreated},
      {TextRef{11064, "Datenbank-Prüfsummen verwendet: %1"}, &SearchCounters::dbChecksumsUsed},
      {TextRef{11065, "Datenbank-Prüfsummen gespeichert: %1"}, &SearchCounters::dbChecksumsStored},
      {TextRef{11066, "Datenbank-Prüfsummen aktualisiert: %1"}, &SearchCounters::dbChecksumsUpdated},
  };
  for (const auto& item : kOptional) {
    std::uint64_t v = c.*(item.counter);
    if (v != 0) lines.push_back(z_Translate(item.text, {FormatCount(v)}));
  }
  return lines;
}

}  // namespace twinex
