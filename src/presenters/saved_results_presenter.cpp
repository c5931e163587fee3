#include "presenters/saved_results_presenter.h"

#include "platform/date_time.h"
#include "platform/number_format.h"
#include "settings/profiles.h"

namespace twinex {

const std::vector<SavedResultCommandRow>& SavedResultCommands() {
  static const std::vector<SavedResultCommandRow> kRows = {
      {SavedResultCommand::Load, TextRef{22185, "Laden"}},
      {SavedResultCommand::Rename, TextRef{22187, "Umbenennen..."}},
      {SavedResultCommand::Delete, TextRef{22188, "Löschen"}},
      {SavedResultCommand::ShowLog, TextRef{22420, "Suchprotokoll anzeigen"}},
  };
  return kRows;
}

void SavedResultsPresenter::Refresh() {
  const std::string chosenName = ChosenEntry() ? ChosenEntry()->name : "";
  entries_ = Init_SearchResults(dataFolder_);
  chosen_ = -1;
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (!chosenName.empty() && entries_[i].name == chosenName) chosen_ = static_cast<int>(i);
}

std::vector<std::string> SavedResultsPresenter::Headers() {
  return {z_Translate(22421, "Name"), z_Translate(22422, "Duplikate"), z_Translate(22423, "Größe"),
          z_Translate(22424, "Erstellt"), z_Translate(22425, "Kommentar")};
}

std::vector<std::string> SavedResultsPresenter::Cells(std::size_t row) const {
  const SavedResultEntry& e = entries_.at(row);
  return {e.name, platform::FormatCount(e.dupCount), platform::FormatSizeAuto(e.bytes),
          e.created > 0 ? platform::FormatGeneralDate(e.created) : "", e.comment};
}

const SavedResultEntry* SavedResultsPresenter::ChosenEntry() const {
  if (chosen_ < 0 || static_cast<std::size_t>(chosen_) >= entries_.size()) return nullptr;
  return &entries_[static_cast<std::size_t>(chosen_)];
}

bool SavedResultsPresenter::Enabled(SavedResultCommand command) const {
  const SavedResultEntry* e = ChosenEntry();
  if (!e) return false;
  return command != SavedResultCommand::ShowLog || e->hasLog;
}

std::string SavedResultsPresenter::SaveNameQuestion() { return z_Translate(22426, "Dateiname für das Suchergebnis:"); }
std::string SavedResultsPresenter::RenameQuestion() { return z_Translate(kProfileRenamePrompt); }
std::string SavedResultsPresenter::CommentQuestion() { return z_Translate(22191, "Kommentar:"); }

std::string SavedResultsPresenter::NameError(const std::string& name) { return name.empty() ? "" : ResultNameError(name); }

}  // namespace twinex
