#include "presenters/export_window_presenter.h"

#include "platform/file_system.h"
#include "platform/text.h"
#include "settings/translate.h"

namespace twinex {

std::string ExportWindowPresenter::Title() { return z_Translate(22410, "Exportieren"); }

std::vector<std::string> ExportWindowPresenter::WhichCaptions() {
  return {ExportWhichCaption(kExportAll), ExportWhichCaption(kExportSelected), ExportWhichCaption(kExportUnselected)};
}

std::vector<std::string> ExportWindowPresenter::FormatCaptions() { return {"TXT", "CSV", "XLSX"}; }

std::vector<std::string> ExportWindowPresenter::SeparatorCaptions() {
  std::vector<std::string> captions;
  for (int s = kSeparatorComma; s <= kSeparatorCustom; ++s) captions.push_back(ExportSeparatorCaption(s));
  return captions;
}

bool ExportWindowPresenter::SeparatorEnabled() const { return settings_.FileFormat == kExportCsv; }

bool ExportWindowPresenter::CustomSeparatorEnabled() const {
  return SeparatorEnabled() && settings_.Delimiter == kSeparatorCustom;
}

std::string ExportWindowPresenter::DialogFilter() const {
  const std::string ext = ExportFileExtension(settings_.FileFormat);
  return FormatCaptions()[static_cast<std::size_t>(settings_.FileFormat)] + " (*." + ext + ")";
}

namespace {

// The name with the extension of the format in place of a known export extension.
std::string WithExtension(std::string name, const std::string& ext) {
  for (int f = kExportTxt; f <= kExportXlsx; ++f) {
    const std::string known = "." + ExportFileExtension(f);
    if (name.size() > known.size() && platform::EndsWith(platform::LowerCase(name), known)) {
      name.resize(name.size() - known.size());
      break;
    }
  }
  return name + "." + ext;
}

}  // namespace

std::string ExportWindowPresenter::SuggestedTarget() const {
  const std::string name = settings_.LastSaveFileName.empty() ? z_Translate(15004, "Suchergebnis") : settings_.LastSaveFileName;
  return platform::JoinPath(settings_.LastSaveDir, WithExtension(name, ExportFileExtension(settings_.FileFormat)));
}

std::string ExportWindowPresenter::ChooseTarget(const std::string& chosen) {
  const std::string ext = "." + ExportFileExtension(settings_.FileFormat);
  const std::string target = platform::EndsWith(platform::LowerCase(chosen), ext) ? chosen : WithExtension(chosen, ExportFileExtension(settings_.FileFormat));
  settings_.LastSaveDir = platform::ParentFolder(target);
  settings_.LastSaveFileName = platform::FileNameOf(target);
  return target;
}

ExportRequest ExportWindowPresenter::MakeRequest(const std::string& target, const std::string& description,
                                                 const std::vector<std::string>& descriptionLines) const {
  ExportRequest r = MakeExportRequest(settings_, columns_, target);
  r.fileListOnly = settings_.SaveOnlyFiles && FileListEnabled();
  r.searchDescription = description;
  r.descriptionLines = descriptionLines;
  return r;
}

}  // namespace twinex
