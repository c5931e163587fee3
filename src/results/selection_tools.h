#pragma once
// The selection commands: one table of small rules that one loop runs. The loop walks the groups
// in display order, skips the groups the editing mode or the group filter keep out, applies the
// command's rule through File_Select (so counters and undo follow), never selects a protected
// row, and reports how many rows changed.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "results/removal_commands.h"
#include "results/selection.h"
#include "settings/translate.h"

namespace twinex {

class Prompt;

enum class SelectToolId {
  // Keep one file per group, select the others.
  KeepNewest,
  KeepOldest,
  KeepNewestCreated,
  KeepOldestCreated,
  KeepShortestPath,
  KeepLongestPath,
  KeepShortestName,
  KeepLongestName,
  KeepBiggest,
  KeepSmallest,
  KeepMostMegapixels,
  KeepFirst,
  KeepLast,
  OnlyFirst,
  OnlyLast,
  // Whole result.
  SelectAll,
  DeselectAll,
  Invert,
  // The rows the user points at in the view.
  InvertGroup,
  SelectMarked,
  DeselectMarked,
  ToggleFile,
  ToggleGroup,
  SelectOthersInGroup,
  // Folders.
  SelectSameFolder,
  DeselectSameFolder,
  SelectInFileStructure,
  DeselectInFileStructure,
  SelectInsideFolder,
  SelectOutsideFolder,
  DeselectInsideFolder,
  DeselectOutsideFolder,
  SelectDupsOfFolder,
  DeselectDupsOfFolder,
  // File properties.
  SelectSimilarAtLeast,
  SelectSimilarAtMost,
  SelectWithoutHardlinks,
  SelectDefectPictures,
  SelectDefectAudio,
  SelectByDate,
  DeselectByDate,
  SelectBySize,
  DeselectBySize,
  SelectByName,
  DeselectByName,
  SelectByPath,
  DeselectByPath,
};

// What a command needs besides the result.
enum class ToolInput { None, CurrentRow, MarkedRows, Folder, Percent, Date, Size, Pattern };

// "Dateien anhand Ihrem Datum auswählen": which date, the comparison and its amount.
struct DateCondition {
  int filterType = 0;    // 0 "älter als", 1 "jünger als", 2 "exakt gleich"
  long long amount = 0;  // N
  int unit = 3;          // 0 seconds, 1 minutes, 2 hours, 3 days, 4 weeks, 5 months, 6 quarters, 7 years
  double exactDate = 0;  // for "exakt gleich"; only its day counts
  int compareWith = 0;   // 0 modification date, 1 creation date
};

// "Dateien anhand Ihrer Größe auswählen": the comparison, an amount with four decimal places
// (stored in ten-thousandths, like the program's fixed-point sizes) and its unit.
struct SizeCondition {
  int filterType = 0;        // 0 "kleiner als", 1 "exakt gleich", 2 "größer als"
  std::int64_t amount = 0;   // ten-thousandths of the unit
  int unit = 0;              // 0 Bytes, 1 KB, 2 MB, 3 GB, 4 TB
};

struct PatternCondition {
  std::string pattern;
  bool caseSensitive = false;  // "UseUpperLowerCase"
};

// What one run of a command works on; each command reads only the fields its input names.
struct SelectRequest {
  MarkedRow current{0, 0};          // CurrentRow: the row or group the user points at
  std::vector<MarkedRow> marked;    // MarkedRows: highlighted file rows
  std::string folder;               // Folder (also the current row's folder for "this file")
  int percent = 100;                // Percent, both bounds inclusive
  DateCondition date;
  SizeCondition size;
  PatternCondition pattern;
  double now = 0;                   // 0: the clock; the date rules count back from it
  Prompt* prompt = nullptr;         // when set, the folder commands ask before they act
  // Called now and then with the groups done; returning false ends the run (what changed stays,
  // in its undo action).
  std::function<bool(std::size_t done, std::size_t total)> progress;
};

struct SelectOutcome {
  bool ran = false;        // false: refused (bad input, or the question answered No)
  bool cancelled = false;  // ended early through the progress callback
  std::size_t selected = 0;
  std::size_t deselected = 0;
  std::size_t matched = 0;  // rows the rule matched (pattern commands report none found)
  std::string message;      // the count message, or why nothing was done
  std::size_t changed() const { return selected + deselected; }
};

struct ToolContext;
enum class ToolEffect {
  KeepOne,   // every file of the group but the keeper gets selected, the keeper deselected
  OnlyOne,   // the chosen file gets selected, the others deselected
  Set,       // matching files get selected (or, for a deselecting command, deselected)
  Invert,    // matching files flip
  Toggle,    // a check-box click on the current row or group
};
// Keep-one rules: true when the candidate is strictly better than the keeper so far.
using KeeperRule = bool (*)(const ResultFile& candidate, const ResultFile& keeper);
using FileRule = bool (*)(const ToolContext&, const ResultGroup&, const ResultFile&);
using GroupRule = bool (*)(const ToolContext&, const ResultGroup&);

struct SelectTool {
  SelectToolId id;
  // Stable command-line name, shared by a command and its deselecting twin; empty for commands
  // that need a row of the view.
  const char* name;
  bool deselects;
  TextRef caption;
  TextRef waitText;
  ToolInput input;
  ToolEffect effect;
  KeeperRule keeper;  // KeepOne, OnlyOne
  FileRule matches;   // Set, Invert: null matches every row
  GroupRule group;    // an extra test a group must pass, or null
  bool needsFileInfo = false;  // the rule reads properties that may still be unread
};

// Every command in menu order.
const std::vector<SelectTool>& SelectTools();
const SelectTool& FindSelectTool(SelectToolId id);
// The command of that command-line name: its selecting form, or with `deselect` its deselecting
// twin; null when there is none.
const SelectTool* FindSelectToolByName(std::string_view name, bool deselect);

// The common frame: checks the input, asks the folder question, begins the undo action (named
// after the caption and, where there is one, the condition), runs the rule over the admitted
// groups, ends the undo action and returns the count message.
SelectOutcome RunSelectTool(Selection& selection, SelectToolId id, const SelectRequest& request = {});
// The undo action's name: the caption, and " -> " with the condition for the commands that have one.
std::string SelectActionName(const SelectTool& tool, const SelectRequest& request, const ResultDisplay& display);

// The commands under their own names.
SelectOutcome Select_OnlyTheFirst(Selection& s);
SelectOutcome Select_OnlyTheLast(Selection& s);
SelectOutcome Select_AllButNotTheFirst(Selection& s);
SelectOutcome Select_AllButNotTheLast(Selection& s);
SelectOutcome Select_AllButNotTheNewestOldest(Selection& s, bool newest, bool creationDate = false);
SelectOutcome Select_AllButNotTheShortestLongestFilePath(Selection& s, bool shortest);
SelectOutcome Select_AllButNotTheShortestLongestFileName(Selection& s, bool shortest);
SelectOutcome Select_AllButNotTheSmallestBiggest(Selection& s, bool smallest);
SelectOutcome Select_AllButNotTheMostMP(Selection& s);
SelectOutcome Select_MatchHigherLower(Selection& s, bool higher, int percent);
SelectOutcome Select_Invert_Selection_All_Groups(Selection& s);
SelectOutcome Select_Invert_Selection_Group(Selection& s, int groupId);
SelectOutcome Select_DupByDate(Selection& s, bool select, const DateCondition& condition, double now = 0);
SelectOutcome Select_DupBySize(Selection& s, bool select, const SizeCondition& condition);
SelectOutcome Select_DupByName(Selection& s, bool select, const PatternCondition& condition);
SelectOutcome Select_DupByPath(Selection& s, bool select, const PatternCondition& condition);
// Inside / outside a chosen folder's structure.
SelectOutcome Select_DupInSameFolderByPathSelection(Selection& s, bool select, bool inside, std::string_view folder,
                                                    Prompt* prompt = nullptr);
// The same folder as a row ("path" equal).
SelectOutcome Select_DupInSameFolderByPath(Selection& s, bool select, std::string_view folder);
SelectOutcome Select_DupFromFilesOfThisFolder(Selection& s, bool select, std::string_view folder);
SelectOutcome Select_MarkedFiles(Selection& s, bool select, const std::vector<MarkedRow>& marked);

// The count message: "Es wurden %1 Dateien ausgewählt." or "… abgewählt.".
std::string SelectCountMessage(std::size_t count, bool deselected);

}  // namespace twinex
