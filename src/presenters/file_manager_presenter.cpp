#include "presenters/file_manager_presenter.h"

#include <algorithm>

#include "actions/action_rules.h"
#include "platform/date_time.h"
#include "platform/number_format.h"

namespace twinex {
namespace {

bool Always(FileAction) { return true; }
bool IntoFolder(FileAction a) { return RuleFor(a).needsFolder; }
bool TakesLinks(FileAction a) { return RuleFor(a).takesLinks; }
bool LeavesFolder(FileAction a) { return RuleFor(a).leavesFolder; }
bool IsRename(FileAction a) { return a == FileAction::Rename; }
bool IsDelete(FileAction a) { return a == FileAction::Delete; }
bool IsTrash(FileAction a) { return a == FileAction::Trash; }

}  // namespace

const std::vector<FileManagerOption>& FileManagerOptions() {
  using S = FileManagerSettings;
  static const std::vector<FileManagerOption> kOptions = {
      {TextRef{18032, "Keine Gruppen, bearbeiten bei welchen alle Dateien ausgewählt sind"}, &S::IgnoreGroupsAllFilesSelected, Always},
      {TextRef{18033, "Dateien mit Ihrer Ordnerstruktur im Sicherungsordner speichern"}, &S::Ordnerstruktur, IntoFolder},
      {TextRef{18034, "Unterordner im Sicherungsordner erstellen:"}, &S::CreateSubfolder, IntoFolder},
      {TextRef{18035, "Dateien mit dem gleichen Namen überschreiben"}, &S::ReplaceFileWithSameName, IsRename},
      {TextRef{18038, "Dateigröße auf 0 setzen"}, &S::SetFileSizeToZero, IsRename},
      {TextRef{18036, "Hardlinks erstellen"}, &S::OptionHardlink, TakesLinks},
      {TextRef{18037, "Verknüpfungen erstellen"}, &S::OptionShortcut, TakesLinks},
      {TextRef{18039, "Sicheres Löschen"}, &S::SecureDelete, IsDelete},
      {TextRef{18040, "Datei löschen, wenn kein Papierkorb vorhanden ist"}, &S::DeleteIfRecycleBinNotExist, IsTrash},
      {TextRef{18041, "Alle Ordner löschen, welche nach dem Verschieben oder Löschen von Dateien leer sind"}, &S::DelEmptyFolders, LeavesFolder},
      {TextRef{22400, "Sicherheitshinweis anzeigen"}, &S::SecureHint, Always},
      {TextRef{18045, "Dateiaktionen nicht protokollieren (schneller)"}, &S::LogNoActions, Always},
      {TextRef{18044, "Bei Fehlermeldungen keinen Dialog zum Abbrechen anzeigen"}, &S::IfErrorDontAskToAbort, Always},
      {TextRef{18042, "Alle verarbeiteten Dateien aus dem Suchergebnis entfernen"}, &S::DateienEntfernen, Always},
      {TextRef{18043, "Alle Gruppen mit nur einer Datei aus dem Suchergebnis entfernen"}, &S::GruppenEntfernen, Always},
  };
  return kOptions;
}

std::string FileManagerPresenter::Title() { return z_Translate(22401, "Dateimanager - Ausgewählte Dateien bearbeiten"); }

std::vector<std::string> FileManagerPresenter::ActionCaptions() {
  std::vector<std::string> captions;
  for (int a = 0; a <= static_cast<int>(FileAction::Rename); ++a) captions.push_back(ActionCaption(static_cast<FileAction>(a)));
  return captions;
}

void FileManagerPresenter::SetOption(const FileManagerOption& option, bool on, Prompt& prompt) {
  if (option.flag == &FileManagerSettings::IgnoreGroupsAllFilesSelected && !on && settings_.IgnoreGroupsAllFilesSelected &&
      !ConfirmProcessAllFilesOfGroups(prompt))
    return;
  settings_.*(option.flag) = on;
  // One kind of link takes a file's place, never both.
  if (on && option.flag == &FileManagerSettings::OptionHardlink) settings_.OptionShortcut = false;
  if (on && option.flag == &FileManagerSettings::OptionShortcut) settings_.OptionHardlink = false;
}

bool FileManagerPresenter::OptionEnabled(const FileManagerOption& option) const {
  return SettingsEnabled() && option.appliesTo(settings_.Aktion);
}

bool FileManagerPresenter::FolderEnabled() const { return SettingsEnabled() && IntoFolder(settings_.Aktion); }
bool FileManagerPresenter::SubfolderTextEnabled() const { return FolderEnabled() && settings_.CreateSubfolder; }
bool FileManagerPresenter::RenameTemplateEnabled() const { return SettingsEnabled() && IsRename(settings_.Aktion); }

FileManagerRequest FileManagerPresenter::MakeRequest() const {
  FileManagerRequest r;
  r.settings = settings_;
  // Options that do not belong to the chosen action are kept for later but do not act now.
  for (const FileManagerOption& o : FileManagerOptions())
    if (!o.appliesTo(settings_.Aktion)) r.settings.*(o.flag) = FileManagerSettings{}.*(o.flag);
  return r;
}

std::string FileManagerPresenter::CancelCaption() const {
  return state_ == State::Finished ? z_Translate(22402, "Schließen") : z_Translate(22403, "Abbrechen");
}

void FileManagerPresenter::Started() {
  state_ = State::Running;
  progress_ = {};
  progress_.action = ActionText();
  summary_.clear();
  completed_ = false;
}

void FileManagerPresenter::Finished(const FileManagerOutcome& outcome) {
  if (!outcome.started) {
    state_ = State::Idle;
    return;
  }
  state_ = State::Finished;
  summary_ = outcome.summary;
  completed_ = !outcome.cancelled;
  progress_.currentFile.clear();
}

std::string FileManagerPresenter::ActionText() const { return ActionCaption(settings_.Aktion); }

std::string FileManagerPresenter::DoneText() const {
  return platform::FormatCount(static_cast<std::uint64_t>(progress_.done)) + " / " +
         platform::FormatCount(static_cast<std::uint64_t>(progress_.total));
}

int FileManagerPresenter::ProgressPercent() const {
  if (progress_.total == 0) return state_ == State::Finished ? 100 : 0;
  return static_cast<int>(std::min<std::size_t>(100, progress_.done * 100 / progress_.total));
}

std::string FileManagerPresenter::ElapsedText() const { return platform::FormatDuration(progress_.elapsedSeconds); }

int FileManagerPresenter::AfterRun() const {
  if (state_ != State::Finished || !completed_ || !settings_.CloseFileManager) return 0;
  return settings_.CloseFileManagerType == 1 ? 2 : 1;
}

}  // namespace twinex
