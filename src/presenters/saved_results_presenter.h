#pragma once
// What the main window's list of saved results and the save window show, apart from any
// toolkit: the list's columns and cells, which command works on the chosen entry, and the
// texts of the questions that name a result.
#include <cstddef>
#include <string>
#include <vector>

#include "results/saved_results.h"
#include "settings/translate.h"

namespace twinex {

enum class SavedResultCommand { Load, Rename, Delete, ShowLog };

struct SavedResultCommandRow {
  SavedResultCommand command;
  TextRef caption;
};
const std::vector<SavedResultCommandRow>& SavedResultCommands();

class SavedResultsPresenter {
 public:
  explicit SavedResultsPresenter(std::string dataFolder) : dataFolder_(std::move(dataFolder)) {}

  const std::string& dataFolder() const { return dataFolder_; }
  // Reads the list again; the chosen entry stays chosen when it is still there.
  void Refresh();
  const std::vector<SavedResultEntry>& entries() const { return entries_; }

  static std::vector<std::string> Headers();  // Name, Duplikate, Größe, Erstellt, Kommentar
  static constexpr int kCommentColumn = 4;
  std::vector<std::string> Cells(std::size_t row) const;

  // The chosen entry (-1: none).
  void Choose(int row) { chosen_ = row; }
  int chosen() const { return chosen_; }
  const SavedResultEntry* ChosenEntry() const;
  bool Enabled(SavedResultCommand command) const;

  // The questions and their checks.
  static std::string SaveNameQuestion();    // "Dateiname für das Suchergebnis:"
  static std::string RenameQuestion();      // "Geben Sie bitte den neuen Namen ein:"
  static std::string CommentQuestion();
  // Why the answer cannot name a result, or "" (an empty answer cancels and is no error).
  static std::string NameError(const std::string& name);

 private:
  std::string dataFolder_;
  std::vector<SavedResultEntry> entries_;
  int chosen_ = -1;
};

}  // namespace twinex
