#include "presenters/selection_menu.h"

#include "platform/number_format.h"
#include "platform/text.h"

namespace twinex {

namespace {

using Id = SelectToolId;
using G = SelectMenuGroup;
using A = SelectAsk;

// clang-format off
const SelectMenuEntry kSelectEntries[] = {
    {Id::KeepNewest, G::KeepOne, "SelectKeepNewest", "Ctrl+1", A::None, true},
    {Id::KeepOldest, G::KeepOne, "SelectKeepOldest", "Ctrl+2", A::None, true},
    {Id::KeepNewestCreated, G::KeepOne, "SelectKeepNewestCreated", "", A::None, false},
    {Id::KeepOldestCreated, G::KeepOne, "SelectKeepOldestCreated", "", A::None, false},
    {Id::KeepShortestPath, G::KeepOne, "SelectKeepShortestPath", "", A::None, false},
    {Id::KeepLongestPath, G::KeepOne, "SelectKeepLongestPath", "", A::None, false},
    {Id::KeepShortestName, G::KeepOne, "SelectKeepShortestName", "", A::None, false},
    {Id::KeepLongestName, G::KeepOne, "SelectKeepLongestName", "", A::None, false},
    {Id::KeepBiggest, G::KeepOne, "SelectKeepBiggest", "", A::None, false},
    {Id::KeepSmallest, G::KeepOne, "SelectKeepSmallest", "", A::None, false},
    {Id::KeepMostMegapixels, G::KeepOne, "SelectKeepMostMegapixels", "", A::None, false},
    {Id::KeepFirst, G::KeepOne, "SelectKeepFirst", "Ctrl+3", A::None, false},
    {Id::KeepLast, G::KeepOne, "SelectKeepLast", "Ctrl+4", A::None, false},
    {Id::OnlyFirst, G::KeepOne, "SelectOnlyFirst", "", A::None, false},
    {Id::OnlyLast, G::KeepOne, "SelectOnlyLast", "", A::None, false},

    {Id::SelectAll, G::Whole, "SelectAll", "Ctrl+A", A::None, true},
    {Id::DeselectAll, G::Whole, "DeselectAll", "Ctrl+Shift+A", A::None, true},
    {Id::Invert, G::Whole, "SelectInvert", "Ctrl+I", A::None, true},

    {Id::InvertGroup, G::Rows, "SelectInvertGroup", "", A::None, false},
    {Id::SelectMarked, G::Rows, "SelectMarked", "Ctrl+M", A::None, false},
    {Id::DeselectMarked, G::Rows, "DeselectMarked", "Ctrl+Shift+M", A::None, false},
    {Id::ToggleFile, G::Rows, "SelectToggleFile", "", A::None, false},
    {Id::ToggleGroup, G::Rows, "SelectToggleGroup", "", A::None, false},
    {Id::SelectOthersInGroup, G::Rows, "SelectOthersInGroup", "", A::None, false},

    {Id::SelectSameFolder, G::Folders, "SelectSameFolder", "", A::None, false},
    {Id::DeselectSameFolder, G::Folders, "DeselectSameFolder", "", A::None, false},
    {Id::SelectInFileStructure, G::Folders, "SelectInFileStructure", "", A::None, false},
    {Id::DeselectInFileStructure, G::Folders, "DeselectInFileStructure", "", A::None, false},
    {Id::SelectInsideFolder, G::Folders, "SelectInsideFolder", "", A::ChosenFolder, false},
    {Id::SelectOutsideFolder, G::Folders, "SelectOutsideFolder", "", A::ChosenFolder, false},
    {Id::DeselectInsideFolder, G::Folders, "DeselectInsideFolder", "", A::ChosenFolder, false},
    {Id::DeselectOutsideFolder, G::Folders, "DeselectOutsideFolder", "", A::ChosenFolder, false},
    {Id::SelectDupsOfFolder, G::Folders, "SelectDupsOfFolder", "", A::ChosenFolder, false},
    {Id::DeselectDupsOfFolder, G::Folders, "DeselectDupsOfFolder", "", A::ChosenFolder, false},

    {Id::SelectSimilarAtLeast, G::Properties, "SelectSimilarAtLeast", "", A::Percent, false},
    {Id::SelectSimilarAtMost, G::Properties, "SelectSimilarAtMost", "", A::Percent, false},
    {Id::SelectWithoutHardlinks, G::Properties, "SelectWithoutHardlinks", "", A::None, false},
    {Id::SelectDefectPictures, G::Properties, "SelectDefectPictures", "", A::None, false},
    {Id::SelectDefectAudio, G::Properties, "SelectDefectAudio", "", A::None, false},
    {Id::SelectByDate, G::Properties, "SelectByDate", "Ctrl+Shift+D", A::Date, true},
    {Id::DeselectByDate, G::Properties, "DeselectByDate", "", A::Date, false},
    {Id::SelectBySize, G::Properties, "SelectBySize", "Ctrl+Shift+G", A::Size, false},
    {Id::DeselectBySize, G::Properties, "DeselectBySize", "", A::Size, false},
    {Id::SelectByName, G::Properties, "SelectByName", "Ctrl+Shift+N", A::Name, false},
    {Id::DeselectByName, G::Properties, "DeselectByName", "", A::Name, false},
    {Id::SelectByPath, G::Properties, "SelectByPath", "Ctrl+Shift+P", A::Path, false},
    {Id::DeselectByPath, G::Properties, "DeselectByPath", "", A::Path, false},
};

const RemovalMenuEntry kRemovalEntries[] = {
    {RemovalId::File_RemoveFromReport, "RemoveFile", "Del", A::None},
    {RemovalId::RemoveMarkedFiles, "RemoveMarkedFiles", "Shift+Del", A::None},
    {RemovalId::RemoveMarkedGroupAndFiles, "RemoveMarkedGroups", "Ctrl+Del", A::None},
    {RemovalId::Report_RemoveSelectedFiles, "RemoveSelectedFiles", "", A::None},
    {RemovalId::Remove_FilesNotExist, "RemoveFilesNotExist", "", A::None},
    {RemovalId::Remove_Hardlinks, "RemoveHardlinks", "", A::None},
    {RemovalId::RemoveGroup_IfHardlinkOnly, "RemoveGroupsHardlinkOnly", "", A::None},
    {RemovalId::RemoveGroup_ContainOnlyHardlinkWithSameID, "RemoveGroupsSameHardlink", "", A::None},
    {RemovalId::RemoveGroup_WithAllFilesFromArchives, "RemoveGroupsFromArchives", "", A::None},
    {RemovalId::RemoveGroup_DupsNotExistAtAllSourcefolders, "RemoveGroupsNotInAllSources", "", A::None},
    {RemovalId::RemoveGroup_WithAllFilesSelected, "RemoveGroupsAllSelected", "", A::None},
    {RemovalId::RemoveGroup_WithSomeFilesSelected, "RemoveGroupsSomeSelected", "", A::None},
    {RemovalId::RemoveGroup_WithXfiles, "RemoveGroupsWithCount", "", A::FileCount},
    {RemovalId::File_RemoveFromSameFolder, "RemoveFolderStructure", "", A::ChosenFolder},
};
// clang-format on

bool Idle(const ResultViewState& v) { return v.hasResult && !v.busy; }

std::string MenuText(const TextRef& caption) { return platform::ReplaceAll(z_Translate(caption), "\r\n", " "); }

}  // namespace

const std::vector<SelectMenuEntry>& SelectMenuEntries() {
  static const std::vector<SelectMenuEntry> entries(std::begin(kSelectEntries), std::end(kSelectEntries));
  return entries;
}

const std::vector<RemovalMenuEntry>& RemovalMenuEntries() {
  static const std::vector<RemovalMenuEntry> entries(std::begin(kRemovalEntries), std::end(kRemovalEntries));
  return entries;
}

std::string SelectMenuTitle(SelectMenuGroup group) {
  switch (group) {
    case G::KeepOne:
      return z_Translate(22300, "Eine Datei je Gruppe behalten");
    case G::Whole:
      return z_Translate(22301, "Alle Gruppen");
    case G::Rows:
      return z_Translate(22302, "Markierte Zeilen");
    case G::Folders:
      return z_Translate(22303, "Ordner");
    case G::Properties:
      return z_Translate(22304, "Dateieigenschaften");
  }
  return {};
}

std::string SelectionMenuTitle() { return z_Translate(22305, "&Auswahl"); }
std::string RemovalMenuTitle() { return z_Translate(22306, "&Entfernen"); }
std::string UndoMenuTitle() { return z_Translate(22307, "Rückgängig"); }
std::string ProtectionMenuTitle() { return z_Translate(22308, "Dateischutz"); }
std::string ProtectionQuestion() {
  return z_Translate(22309, "Hier können Sie den Dateischutz für jeden Quellordner an- und ausschalten:");
}
std::string GroupFilterMenuTitle() { return z_Translate(22310, "Gruppenfilter"); }
std::string MarkAllFilesText() { return z_Translate(22313, "Alle Dateien markieren"); }

std::string SelectEntryText(const SelectMenuEntry& entry) { return MenuText(FindSelectTool(entry.tool).caption); }
std::string RemovalEntryText(const RemovalMenuEntry& entry) { return MenuText(FindRemovalCommand(entry.id).menuText); }

bool SelectEntryEnabled(const SelectMenuEntry& entry, const ResultViewState& v) {
  if (!Idle(v) || v.files == 0) return false;
  const SelectTool& tool = FindSelectTool(entry.tool);
  switch (tool.input) {
    case ToolInput::CurrentRow:
      // A file command needs a file row; a group command takes the group of any row.
      if (entry.tool == Id::ToggleFile || entry.tool == Id::SelectOthersInGroup) return v.hasCurrent && v.currentIsFile;
      return v.hasCurrent;
    case ToolInput::MarkedRows:
      if (!v.hasMarkedFiles) return false;
      break;
    case ToolInput::Folder:
      // "this file" and "the same folder" take the current file's folder; the others ask.
      if (entry.ask == A::None && !(v.hasCurrent && v.currentIsFile)) return false;
      break;
    default:
      break;
  }
  // Nothing to take away from a result without a selected file.
  if (tool.deselects && v.selectedFiles == 0) return false;
  return true;
}

bool RemovalEntryEnabled(const RemovalMenuEntry& entry, const ResultViewState& v) {
  if (!Idle(v) || v.files == 0) return false;
  switch (entry.id) {
    case RemovalId::File_RemoveFromReport:
      return v.hasCurrent && v.currentIsFile;
    case RemovalId::RemoveMarkedFiles:
      return v.hasMarkedFiles;
    case RemovalId::RemoveMarkedGroupAndFiles:
      return v.hasMarkedGroups;
    case RemovalId::Report_RemoveSelectedFiles:
    case RemovalId::RemoveGroup_WithAllFilesSelected:
    case RemovalId::RemoveGroup_WithSomeFilesSelected:
      return v.selectedFiles > 0;
    default:
      return true;
  }
}

bool UndoEnabled(const ResultViewState& v) { return Idle(v) && v.undoActions > 0; }
bool ResultMenusEnabled(const ResultViewState& v) { return Idle(v); }

SelectRequest MakeSelectRequest(const SelectMenuEntry& entry, const ViewPick& pick) {
  SelectRequest q;
  const SelectTool& tool = FindSelectTool(entry.tool);
  switch (tool.input) {
    case ToolInput::CurrentRow:
      q.current = pick.current;
      break;
    case ToolInput::MarkedRows:
      q.marked = pick.markedFiles;
      break;
    case ToolInput::Folder:
      if (entry.ask == A::None) q.folder = pick.currentFolder;
      break;
    default:
      break;
  }
  return q;
}

RemovalRequest MakeRemovalRequest(const RemovalMenuEntry& entry, const ViewPick& pick, int sourceCount) {
  RemovalRequest r;
  if (entry.id == RemovalId::File_RemoveFromReport && pick.currentIsFile) r.markedFiles = {pick.current};
  if (entry.id == RemovalId::RemoveMarkedFiles) r.markedFiles = pick.markedFiles;
  r.markedGroups = pick.markedGroups;
  r.sourceCount = sourceCount;
  return r;
}

NumberQuestion PercentQuestion() { return {z_Translate(22311, "Übereinstimmung in Prozent:"), "100", 0, 100}; }
NumberQuestion FileCountQuestion() { return {z_Translate(kRemovalFileCountPrompt), "1", 1, 999999999}; }

bool ReadNumberAnswer(const NumberQuestion& question, const std::string& text, long& value) {
  long long n = 0;
  if (!platform::ParseLong(platform::Trim(text), n) || n < question.minimum || n > question.maximum) return false;
  value = static_cast<long>(n);
  return true;
}

}  // namespace twinex
