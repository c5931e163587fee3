#pragma once
// The selection state of one result: which file rows are selected (kept in the rows and the
// counters of ResultTree), the editing mode and group filter that decide which groups a command
// may change, the highlighted groups of the view, and the undo list.
#include <cstddef>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "results/result_tree.h"
#include "results/selection_undo.h"
#include "settings/translate.h"

namespace twinex {

// "SelectionMode" (section "Optionen"): which groups the selection commands may change.
enum EditingMode : int {
  kModeAllGroups = 0,
  kModeExpandedGroups = 1,
  kModeCollapsedGroups = 2,
  kModeNoneSelected = 3,
  kModeAllSelected = 4,
  kModeSomeSelected = 5,
  kModeMarkedGroups = 6,
  kModeUnmarkedGroups = 7,
};
inline constexpr int kEditingModeCount = 8;

// "Bearbeitungsmodus" with its question and the label of each mode.
std::string EditingModeLabel();
std::string EditingModeQuestion();
std::string EditingModeName(int mode);
// The mode stored in the settings file; anything unknown reads as "Alle Gruppen".
int LoadEditingMode(const std::string& file = "");
std::string SaveEditingMode(int mode, const std::string& file = "");

// Which groups the view shows, by their check state.
struct GroupFilter {
  bool showNoneSelected = true;
  bool showAllSelected = true;
  bool showSomeSelected = true;
  bool Shows(int checkState) const;
  static std::string Question();
  // The caption of each switch: 0 none, 1 all, 2 some selected.
  static std::string SwitchCaption(int checkState);
};

class Selection {
 public:
  explicit Selection(ResultTree& tree);
  ~Selection();
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

  ResultTree& tree() const { return tree_; }
  UndoList& undo() { return undo_; }
  const UndoList& undo() const { return undo_; }

  // The set-state primitive every command uses. Returns true when the state changed; the
  // counters and the group's "Sel" follow, and while recording the row's old state is filed.
  bool File_Select(ResultGroup& group, std::size_t fileIndex, bool selected);

  void UNDO_record_Init(std::string name) { undo_.Begin(std::move(name)); }
  void UNDO_record_end() { undo_.End(); }
  void UNDO_reset() { undo_.Reset(); }
  // Reverts the last action; returns the rows set back.
  std::size_t Undo(bool* undone = nullptr) { return undo_.UndoLast(tree_, undone); }

  // Whether the editing mode and the group filter let commands change this group.
  bool ChangeThisGroup(const ResultGroup& group) const;

  // A click on a row's check box: a file row toggles; a group with none or some files selected
  // gets all selected, a group with all selected gets none. The click is one undo action named
  // after the command it stands for. Returns the rows changed (0 for an unknown row).
  std::size_t Report_ChangeCheckboxStatus(int groupId, const std::size_t* fileIndex = nullptr);

  int editingMode = kModeAllGroups;
  GroupFilter groupFilter;
  std::unordered_set<int> markedGroups;  // groups highlighted in the view (modes 6 and 7)
  // Reads the properties a row still lacks ("GetFileInfo"), for rules that need them; the
  // front end that can read them sets it.
  std::function<void(ResultFile&)> readFileInfo;
  // Why a row's picture cannot be loaded, or why its audio properties are broken; "" when it is
  // sound or not a file of that kind. Set by the front end that can read them.
  using DefectCheck = std::function<std::string(const ResultFile&)>;
  DefectCheck pictureDefect;
  DefectCheck audioDefect;

 private:
  ResultTree& tree_;
  UndoList undo_;
};

// Empties the undo list of the selection that works on this result, if any: rows leaving the
// result make the positions an action recorded meaningless. Called by every removal.
void UndoResetFor(const ResultTree& tree);

}  // namespace twinex
