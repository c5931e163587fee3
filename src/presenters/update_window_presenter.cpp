#include "presenters/update_window_presenter.h"

#include "platform/number_format.h"
#include "platform/text.h"
#include "settings/translate.h"

namespace twinex {

UpdateWindowPresenter::UpdateWindowPresenter(update::UpdateSettings settings, std::string updateFolder, bool portable)
    : settings_(std::move(settings)),
      updateFolder_(std::move(updateFolder)),
      portable_(portable),
      installed_(update::InstalledVersion().Text()) {}

std::string UpdateWindowPresenter::SetVersionAnswer(const update::VersionAnswer& answer) {
  if (!answer.error.empty()) {
    internet_ = "-";
    newer_ = false;
    return z_Translate(23002, "Bei der Überprüfung ist ein Fehler aufgetreten: %1", {answer.error});
  }
  const update::LabelComparison compared = update::CompareVersionLabels(installed_, answer.version.Text());
  internet_ = compared.internetLabel;
  newer_ = compared.newer;
  return newer_ ? "" : z_Translate(23001, "Es ist keine aktuellere Version vorhanden.");
}

std::string UpdateWindowPresenter::ChangesAddress(bool german) const {
  return platform::ReplaceAll(settings_.server.changes, "%1", german ? "de" : "en");
}

std::string UpdateWindowPresenter::DownloadFolder() const {
  return update::ExpandDownloadFolder(settings_.downloadFolder, updateFolder_);
}

std::string UpdateWindowPresenter::DownloadCaption() const {
  return downloading_ ? z_Translate(23012, "Abbrechen") : z_Translate(23013, "Download");
}

update::DownloadRequest UpdateWindowPresenter::StartDownload() {
  downloading_ = true;
  received_ = total_ = 0;
  status_ = z_Translate(23006, "Download gestartet.");
  update::DownloadRequest r;
  r.version = *update::ParseVersionText(internet_);
  r.portable = portable_;
  r.folder = DownloadFolder();
  r.serverFolder = settings_.server.downloads;
  r.proxy = settings_.proxy;
  return r;
}

void UpdateWindowPresenter::SetProgress(std::uint64_t received, std::uint64_t total) {
  received_ = received;
  total_ = total;
}

std::string UpdateWindowPresenter::ProgressText() const {
  std::string text = platform::FormatCount(received_) + " Bytes";
  if (total_ > 0) text += " / " + platform::FormatCount(total_) + " Bytes";
  return text;
}

int UpdateWindowPresenter::ProgressPercent() const {
  if (total_ == 0) return -1;
  return static_cast<int>(received_ >= total_ ? 100 : received_ * 100 / total_);
}

UpdateWindowPresenter::Finish UpdateWindowPresenter::DownloadEnded(const update::DownloadOutcome& outcome) {
  downloading_ = false;
  Finish f;
  f.message = outcome.Message();
  status_ = f.message;
  if (outcome.result == update::DownloadResult::Done && !portable_) {
    lastPackage_ = outcome.file;
    f.askToInstall = true;
    f.question = z_Translate(23008, "Soll %1 jetzt beendet und die neue Version installiert werden?", {"Twinex"});
  }
  return f;
}

}  // namespace twinex
