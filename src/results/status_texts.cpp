// Status texts and column headers of the result.
#include <string>

#include "platform/number_format.h"
#include "results/result_tree.h"
#include "settings/translate.h"

namespace twinex {

namespace {

std::string Padded(std::string text) { return " " + text + " "; }

// Grouping criterion names, by caption type.
const TextRef kCriterionNames[] = {
    TextRef{13032, "Dateiname ohne Endung"},
    TextRef{13033, "Dateiname mit Endung"},
    TextRef{13034, "Dateiendung"},
    TextRef{13035, "Dateigröße (Bytes)"},
    TextRef{13036, "Änderungsdatum"},
    TextRef{13037, "Erstellungsdatum"},
    TextRef{13038, "Attribute"},
    TextRef{13039, "Hardlinks"},
    TextRef{13040, "Ähnliche Bilder"},
    TextRef{13041, "Ähnliche Musik"},
    TextRef{13042, "Tonspur"},
};

}  // namespace

std::vector<std::string> ShowDupCount(const ResultTree& tree) {
  const ResultCounters& c = tree.counters;
  return {
      Padded(z_Translate(13020, "Gruppen: %1", {platform::FormatCount(std::uint64_t{tree.groups.size()})})),
      Padded(z_Translate(13021, "Dateien: %1 \\ %2",
                         {platform::FormatCount(c.DupCountSelected), platform::FormatCount(c.DupCount)})),
      Padded(z_Translate(13022, "Größe: %1 \\ %2",
                         {platform::FormatSizeAuto(c.FilesizeSelected), platform::FormatSizeAuto(c.FilesizeAll)})),
  };
}

std::vector<std::string> DupCountTooltips() {
  return {z_Translate(13023, "Dateianzahl: Ausgewählt \\ Gesamt"),
          z_Translate(13024, "Dateigröße: Ausgewählt \\ Gesamt")};
}

std::string GroupColumnHeader(int captionType, int formatSize) {
  if (captionType == kCaptionSize && formatSize != 0)
    return z_Translate(13031, "Gruppe - Dateigröße (%1)", {SizeUnitName(formatSize)});
  const int count = static_cast<int>(std::size(kCriterionNames));
  const std::string name = captionType >= 0 && captionType < count ? z_Translate(kCriterionNames[captionType])
                                                                   : z_Translate(13043, "???");
  return z_Translate(13030, "Gruppe - %1", {name});
}

std::string SizeColumnHeader(int formatSize) {
  if (formatSize == 0) return z_Translate(13045, "Größe (Bytes)");
  return z_Translate(13046, "Größe (%1)", {SizeUnitName(formatSize)});
}

}  // namespace twinex
