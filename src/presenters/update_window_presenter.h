#pragma once
// What the update window shows and offers, apart from any toolkit: the installed and the
// available version, the changes, the download folder and proxy settings, the download button
// ("Download" / "Abbrechen"), the progress and the messages of the outcome.
#include <cstdint>
#include <string>

#include "update/update_download.h"

namespace twinex {

class UpdateWindowPresenter {
 public:
  UpdateWindowPresenter(update::UpdateSettings settings, std::string updateFolder, bool portable);

  // ---- Versions ----
  const std::string& installedLabel() const { return installed_; }
  const std::string& internetLabel() const { return internet_; }
  bool newer() const { return newer_; }  // the Internet label's tag "1"
  // The answer of GetVersionFromInternet; "" or the message to show.
  std::string SetVersionAnswer(const update::VersionAnswer& answer);
  const std::string& changes() const { return changes_; }
  void SetChanges(std::string text) { changes_ = std::move(text); }
  // The address of the change history in the interface language.
  std::string ChangesAddress(bool german) const;

  // ---- Settings shown in the window ----
  update::UpdateSettings& settings() { return settings_; }
  std::string DownloadFolder() const;  // expanded

  // ---- Download ----
  bool downloading() const { return downloading_; }
  bool DownloadEnabled() const { return downloading_ || newer_; }
  std::string DownloadCaption() const;  // "Download" / "Abbrechen"
  // The request for the available version; the status reads "Download gestartet." from now on.
  update::DownloadRequest StartDownload();
  void SetProgress(std::uint64_t received, std::uint64_t total);
  const std::string& status() const { return status_; }
  std::string ProgressText() const;  // "1.234 Bytes / 5.678 Bytes"
  int ProgressPercent() const;       // 0..100, -1 while the total is unknown
  // The download ended: the message to show, and whether to ask if the program should end and
  // the package be opened (a verified package outside portable mode).
  struct Finish {
    std::string message;
    bool askToInstall = false;
    std::string question;
  };
  Finish DownloadEnded(const update::DownloadOutcome& outcome);
  // The package to open when the program ends, once the user said Yes.
  void AcceptInstall() { pending_ = lastPackage_; }
  const std::string& pendingPackage() const { return pending_; }

 private:
  update::UpdateSettings settings_;
  std::string updateFolder_;
  bool portable_ = false;
  std::string installed_;
  std::string internet_ = "?";
  bool newer_ = false;
  std::string changes_;
  bool downloading_ = false;
  std::string status_;
  std::uint64_t received_ = 0, total_ = 0;
  std::string lastPackage_;
  std::string pending_;
};

}  // namespace twinex
