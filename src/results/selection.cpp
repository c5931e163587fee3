#include "results/selection.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "platform/text.h"
#include "results/selection_tools.h"
#include "settings/settings_file.h"

namespace twinex {

namespace {

// Which selection works on which result, so that a removal (which knows only the result) can
// empty the right undo list.
std::mutex registryMutex;
std::vector<std::pair<const ResultTree*, Selection*>>& Registry() {
  static std::vector<std::pair<const ResultTree*, Selection*>> registry;
  return registry;
}

constexpr TextRef kModeNames[kEditingModeCount] = {
    TextRef{17001, "Alle Gruppen"},
    TextRef{17002, "Offene Gruppen"},
    TextRef{17003, "Geschlossene Gruppen"},
    TextRef{17004, "Gruppen ohne ausgewählte Dateien"},
    TextRef{17005, "Gruppen, bei welchen alle Dateien ausgewählt sind"},
    TextRef{17006, "Gruppen, bei welchen manche Dateien ausgewählt sind"},
    TextRef{17007, "Markierte Gruppen"},
    TextRef{17008, "Nicht markierte Gruppen"},
};

}  // namespace

std::string EditingModeLabel() { return z_Translate(17000, "Bearbeitungsmodus"); }

std::string EditingModeQuestion() {
  return z_Translate(17009, "Welche Gruppen können durch Aus- und Abwahlaktionen bearbeitet werden?");
}

std::string EditingModeName(int mode) {
  return mode >= 0 && mode < kEditingModeCount ? z_Translate(kModeNames[mode]) : "";
}

int LoadEditingMode(const std::string& file) {
  long long mode = 0;
  if (!platform::ParseLong(ProfileGetItemWide("Optionen", "SelectionMode", "0", file), mode) || mode < 0 ||
      mode >= kEditingModeCount)
    return kModeAllGroups;
  return static_cast<int>(mode);
}

std::string SaveEditingMode(int mode, const std::string& file) {
  return ProfilePutItemWide("Optionen", "SelectionMode", std::to_string(mode), file);
}

bool GroupFilter::Shows(int checkState) const {
  switch (checkState) {
    case 0:
      return showNoneSelected;
    case 1:
      return showAllSelected;
    default:
      return showSomeSelected;
  }
}

std::string GroupFilter::Question() {
  return z_Translate(17010, "Welche Gruppen sollen im Suchergebnis angezeigt werden?");
}

std::string GroupFilter::SwitchCaption(int checkState) {
  switch (checkState) {
    case 0:
      return z_Translate(17011, "Gruppen ohne ausgewählte Dateien anzeigen");
    case 1:
      return z_Translate(17012, "Gruppen anzeigen, bei welchen alle Dateien ausgewählt sind");
    default:
      return z_Translate(17013, "Gruppen anzeigen, bei welchen manche Dateien ausgewählt sind");
  }
}

Selection::Selection(ResultTree& tree) : tree_(tree) {
  std::lock_guard<std::mutex> lock(registryMutex);
  Registry().emplace_back(&tree_, this);
}

Selection::~Selection() {
  std::lock_guard<std::mutex> lock(registryMutex);
  auto& r = Registry();
  r.erase(std::remove_if(r.begin(), r.end(), [this](const auto& e) { return e.second == this; }), r.end());
}

void UndoResetFor(const ResultTree& tree) {
  std::lock_guard<std::mutex> lock(registryMutex);
  for (auto& [t, selection] : Registry())
    if (t == &tree) selection->UNDO_reset();
}

bool Selection::File_Select(ResultGroup& group, std::size_t fileIndex, bool selected) {
  if (fileIndex >= group.files.size()) return false;
  ResultFile& file = group.files[fileIndex];
  if (file.selected == selected) return false;
  undo_.Record(group, fileIndex, file.selected);
  tree_.SetSelected(group, file, selected);
  return true;
}

bool Selection::ChangeThisGroup(const ResultGroup& group) const {
  const int state = ResultTree::GroupCheckState(group);
  if (!groupFilter.Shows(state)) return false;
  switch (editingMode) {
    case kModeAllGroups:
      return true;
    case kModeExpandedGroups:
      return group.expanded;
    case kModeCollapsedGroups:
      return !group.expanded;
    case kModeNoneSelected:
      return state == 0;
    case kModeAllSelected:
      return state == 1;
    case kModeSomeSelected:
      return state == 2;
    case kModeMarkedGroups:
      return markedGroups.count(group.id) != 0;
    case kModeUnmarkedGroups:
      return markedGroups.count(group.id) == 0;
    default:
      return false;
  }
}

std::size_t Selection::Report_ChangeCheckboxStatus(int groupId, const std::size_t* fileIndex) {
  ResultGroup* group = tree_.FindGroup(groupId);
  if (!group || (fileIndex && *fileIndex >= group->files.size())) return 0;
  const SelectTool& tool = FindSelectTool(fileIndex ? SelectToolId::ToggleFile : SelectToolId::ToggleGroup);
  UNDO_record_Init(z_Translate(tool.caption));
  std::size_t changed = 0;
  if (fileIndex) {
    changed += File_Select(*group, *fileIndex, !group->files[*fileIndex].selected) ? 1 : 0;
  } else {
    const bool select = ResultTree::GroupCheckState(*group) != 1;
    for (std::size_t i = 0; i < group->files.size(); ++i) changed += File_Select(*group, i, select) ? 1 : 0;
  }
  UNDO_record_end();
  return changed;
}

}  // namespace twinex
