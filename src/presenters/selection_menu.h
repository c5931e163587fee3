#pragma once
// The result window's selection commands as one table (menu, shortcut, what the command asks
// for), what each needs from the view, and when it is offered. The captions are the engine's
// own; the window only loops over the rows.
#include <cstdint>
#include <string>
#include <vector>

#include "results/removal_commands.h"
#include "results/selection_tools.h"

namespace twinex {

// The submenus of "Auswahl".
enum class SelectMenuGroup { KeepOne, Whole, Rows, Folders, Properties };
inline constexpr SelectMenuGroup kSelectMenuGroups[] = {SelectMenuGroup::KeepOne, SelectMenuGroup::Whole,
                                                        SelectMenuGroup::Rows, SelectMenuGroup::Folders,
                                                        SelectMenuGroup::Properties};

// What the window has to ask the user before a command runs.
enum class SelectAsk { None, Date, Size, Name, Path, Percent, ChosenFolder, FileCount };

struct SelectMenuEntry {
  SelectToolId tool;
  SelectMenuGroup menu;
  const char* command;     // the name its key is stored under in "Shortcuts"
  const char* defaultKey;  // "" for none
  SelectAsk ask;
  bool toolbar;
};

struct RemovalMenuEntry {
  RemovalId id;
  const char* command;
  const char* defaultKey;
  SelectAsk ask;  // None, FileCount or ChosenFolder
};

// The view as the commands see it.
struct ResultViewState {
  bool hasResult = false;  // a finished result is shown (not the live groups of a search)
  bool busy = false;       // a search or a command runs
  bool currentIsFile = false;
  bool hasCurrent = false;  // a row (group or file) has the focus
  bool hasMarkedFiles = false;
  bool hasMarkedGroups = false;
  std::int64_t files = 0;
  std::int64_t selectedFiles = 0;
  std::size_t undoActions = 0;
};

// The rows the user points at in the view.
struct ViewPick {
  MarkedRow current;
  bool currentIsFile = false;
  std::string currentFolder;  // the current file's folder
  std::vector<MarkedRow> markedFiles;
  std::vector<int> markedGroups;
};

const std::vector<SelectMenuEntry>& SelectMenuEntries();
const std::vector<RemovalMenuEntry>& RemovalMenuEntries();
std::string SelectMenuTitle(SelectMenuGroup group);
std::string SelectionMenuTitle();  // "Auswahl"
std::string RemovalMenuTitle();    // "Entfernen"
std::string UndoMenuTitle();
std::string ProtectionMenuTitle();  // "Dateischutz"
std::string ProtectionQuestion();
std::string GroupFilterMenuTitle();
// "Alle Dateien markieren": a command of the view alone (it highlights, it selects nothing).
std::string MarkAllFilesText();
// The menu text of a command: its caption with the line breaks of long captions left out.
std::string SelectEntryText(const SelectMenuEntry& entry);
std::string RemovalEntryText(const RemovalMenuEntry& entry);

bool SelectEntryEnabled(const SelectMenuEntry& entry, const ResultViewState& view);
bool RemovalEntryEnabled(const RemovalMenuEntry& entry, const ResultViewState& view);
bool UndoEnabled(const ResultViewState& view);
// Editing mode, group filter, protection and options work on any finished result not busy.
bool ResultMenusEnabled(const ResultViewState& view);

// The request of a command from the view; the window fills in what it asked for.
SelectRequest MakeSelectRequest(const SelectMenuEntry& entry, const ViewPick& pick);
RemovalRequest MakeRemovalRequest(const RemovalMenuEntry& entry, const ViewPick& pick, int sourceCount);

// The input box of the commands that ask for a number: label and default text.
struct NumberQuestion {
  std::string label;
  std::string defaultText;
  long minimum = 0;
  long maximum = 0;
};
NumberQuestion PercentQuestion();
NumberQuestion FileCountQuestion();
// The text the user typed as a number within the question's bounds; false for anything else
// (an empty answer cancels the command).
bool ReadNumberAnswer(const NumberQuestion& question, const std::string& text, long& value);

}  // namespace twinex
