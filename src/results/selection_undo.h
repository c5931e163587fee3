#pragma once
// The undo list of the selection: one action per command that was run, each holding the rows it
// changed with their state before the command. Rows are filed by their group and their path,
// not by their position, so that sorting cannot make an undo touch the wrong row; a row that has
// left the result since is passed over.
#include <cstddef>
#include <string>
#include <vector>

#include "results/result_tree.h"
#include "results/string_collection.h"

namespace twinex {

struct UndoAction {
  std::string name;        // the caption of the command that was run
  CStringCollection rows;  // key: the row's identity; Tag: its state before; Item: its position then
};

class UndoList {
 public:
  // UNDO_record_Init: appends an action and records into it from now on.
  void Begin(std::string name);
  // UNDO_record_end: stops recording. An action that changed nothing is dropped, so that undo
  // never names a command that would restore nothing.
  void End();
  // UNDO_reset: forgets every action.
  void Reset();

  bool Recording() const { return recording_; }
  // Files the row's state before the change; only the first change of a row in one action counts.
  void Record(const ResultGroup& group, std::size_t fileIndex, bool previous);

  // Sets every row of the last action back to its recorded state (counters follow through
  // ResultTree::SetSelected) and drops the action. Returns the rows whose state changed back;
  // false in `undone` when there was no action.
  std::size_t UndoLast(ResultTree& tree, bool* undone = nullptr);

  std::size_t Count() const { return actions_.size(); }
  const UndoAction& At(std::size_t i) const { return actions_[i]; }

  // The undo command's caption: "Rückgängig:", a line break and the last action's name; empty
  // when there is nothing to undo.
  std::string Caption() const;
  // The drop-down entries "1. name", "2. name", … with line breaks in names replaced.
  std::vector<std::string> MenuEntries() const;
  // "Bitte warten, die Aktion '%1' wird rückgängig gemacht..." for the last action.
  std::string WaitText() const;
  // The undo command itself.
  static std::string CommandCaption();

 private:
  std::vector<UndoAction> actions_;
  bool recording_ = false;
};

// The identity an undo entry files a row under (group number, folder, name, archive path).
std::string UndoRowKey(int groupId, const ResultFile& file);

}  // namespace twinex
