#include "presenters/result_options.h"

#include "settings/settings_file.h"

namespace twinex {

const std::vector<ColourOption>& ColourOptions() {
  using O = ProgramOptions;
  static const std::vector<ColourOption> options = {
      {&O::GroupBackColor, "GroupBackColor", TextRef{22320, "Hintergrundfarbe der Gruppen"}},
      {&O::GroupTextColor, "GroupTextColor", TextRef{22321, "Textfarbe der Gruppen"}},
      {&O::SelectedFilesBackgroundColor, "SelectedFilesBackgroundColor",
       TextRef{22322, "Hintergrundfarbe ausgewählter Dateien"}},
      {&O::UserSelectedFilesBackgroundColor, "UserSelectedFilesBackgroundColor",
       TextRef{22323, "Hintergrundfarbe markierter Dateien"}},
      {&O::ArchiveFileTextColor, "ArchiveFileTextColor", TextRef{22324, "Textfarbe von Dateien in Archiven"}},
      {&O::ReferenceFileTextColor, "ReferenceFileTextColor", TextRef{22325, "Textfarbe der Referenzdateien"}},
      {&O::HardlinkTextColor, "HardlinkTextColor", TextRef{22326, "Textfarbe der Hardlinks"}},
  };
  return options;
}

std::string OptionsMenuTitle() { return z_Translate(22327, "&Optionen"); }
std::string ColumnsMenuTitle() { return z_Translate(22328, "Spalten"); }
std::string ColoursMenuTitle() { return z_Translate(22329, "Farben"); }
std::string ResetColoursText() { return z_Translate(22330, "Standardfarben wiederherstellen"); }

std::string StoreColour(ProgramOptions& options, const ColourOption& option, int bgr, const std::string& file) {
  options.*(option.field) = bgr & 0xFFFFFF;
  return ProfilePutItemWide("Optionen", option.key, std::to_string(options.*(option.field)), file);
}

std::string ResetColours(ProgramOptions& options, const std::string& file) {
  static const ProgramOptions kDefaults;
  std::string first;
  for (const ColourOption& o : ColourOptions()) {
    std::string e = StoreColour(options, o, kDefaults.*(o.field), file);
    if (first.empty()) first = std::move(e);
  }
  return first;
}

}  // namespace twinex
