#pragma once
// What the export window shows and enables, apart from any toolkit: which files, the format,
// the separator (with its own text), the file list and open-afterwards switches, the target
// file offered in the save dialog, and the settings kept between exports.
#include <string>
#include <vector>

#include "results/export.h"

namespace twinex {

class ExportWindowPresenter {
 public:
  ExportWindowPresenter(ExportSettings settings, ExportColumns columns)
      : settings_(std::move(settings)), columns_(columns) {}

  ExportSettings& settings() { return settings_; }
  const ExportSettings& settings() const { return settings_; }

  static std::string Title();  // "Exportieren"
  static std::vector<std::string> WhichCaptions();
  static std::vector<std::string> FormatCaptions();
  static std::vector<std::string> SeparatorCaptions();

  // The separator matters for a CSV table only; its own text only for the custom separator.
  bool SeparatorEnabled() const;
  bool CustomSeparatorEnabled() const;
  // A file list is a text file of paths.
  bool FileListEnabled() const { return settings_.FileFormat == kExportTxt; }

  // The save dialog: its filter ("CSV (*.csv)") and the file it starts with (the last folder
  // and name, with the extension of the chosen format).
  std::string DialogFilter() const;
  std::string SuggestedTarget() const;
  // The user chose the file: the extension of the format is added when it is missing, and the
  // folder and name are kept for the next export. Returns the file to write.
  std::string ChooseTarget(const std::string& chosen);

  // The request for the chosen target; the description comes from the session.
  ExportRequest MakeRequest(const std::string& target, const std::string& description,
                            const std::vector<std::string>& descriptionLines) const;

 private:
  ExportSettings settings_;
  ExportColumns columns_;
};

}  // namespace twinex
