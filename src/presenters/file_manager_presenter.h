#pragma once
// What the file manager window shows and enables, apart from any toolkit: the action with the
// options that belong to it, the remembered settings, the run's display (action, current file,
// files done, percent, elapsed time), the button captions of each state and the summary.
#include <cstdint>
#include <string>
#include <vector>

#include "actions/file_manager.h"
#include "settings/prompt.h"
#include "settings/translate.h"

namespace twinex {

// One tick box of the window: its caption, the setting it stands for and the actions it
// belongs to (it is disabled under the others).
struct FileManagerOption {
  TextRef caption;
  bool FileManagerSettings::*flag;
  bool (*appliesTo)(FileAction action);
};
const std::vector<FileManagerOption>& FileManagerOptions();

class FileManagerPresenter {
 public:
  enum class State { Idle, Running, Finished };

  explicit FileManagerPresenter(FileManagerSettings settings) : settings_(std::move(settings)) {}

  FileManagerSettings& settings() { return settings_; }
  const FileManagerSettings& settings() const { return settings_; }
  State state() const { return state_; }

  // ---- Settings ----
  static std::string Title();  // "Dateimanager - Ausgewählte Dateien bearbeiten"
  static std::vector<std::string> ActionCaptions();
  void SetAction(FileAction action) { settings_.Aktion = action; }
  // Ticks or unticks an option; hard links and links exclude each other, and switching off
  // "IgnoreGroupsAllFilesSelected" needs the user's yes (the tick stays on a no).
  void SetOption(const FileManagerOption& option, bool on, Prompt& prompt);
  bool OptionEnabled(const FileManagerOption& option) const;
  bool FolderEnabled() const;           // backup folder, structure and subfolder
  bool SubfolderTextEnabled() const;    // only while a subfolder is made
  bool RenameTemplateEnabled() const;
  bool SettingsEnabled() const { return state_ == State::Idle; }

  // ---- Run ----
  // The request of the OK button (the session adds its own parts).
  FileManagerRequest MakeRequest() const;
  // Why the session refuses file actions on its result ("" when it does not): shown, and OK
  // stays off.
  void SetRefusal(std::string why) { refusal_ = std::move(why); }
  const std::string& refusal() const { return refusal_; }
  bool OkEnabled() const { return state_ == State::Idle && refusal_.empty(); }
  // "Abbrechen" while idle or running, "Schließen" once the run is over.
  std::string CancelCaption() const;
  void Started();
  void SetProgress(const ActionProgress& progress) { progress_ = progress; }
  // The run ended (or did not start): back to idle when it never started, else finished with
  // its summary.
  void Finished(const FileManagerOutcome& outcome);
  const ActionProgress& progress() const { return progress_; }
  std::string ActionText() const;   // the action's caption
  std::string DoneText() const;     // "3 / 10"
  int ProgressPercent() const;      // 0..100
  std::string ElapsedText() const;  // "0:00:00"
  const std::vector<std::string>& summary() const { return summary_; }

  // What happens after a run that went to its end: 0 nothing, 1 the window closes, 2 the
  // program ends.
  int AfterRun() const;

 private:
  FileManagerSettings settings_;
  State state_ = State::Idle;
  ActionProgress progress_;
  std::vector<std::string> summary_;
  bool completed_ = false;
  std::string refusal_;
};

}  // namespace twinex
