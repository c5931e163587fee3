#pragma once
// The stored settings of the select-by-date, by-size, by-name and by-path dialogs (sections
// "SelectDate", "SelectSize", "SelectName", "SelectPath"), and what those dialogs show and
// enable, without any toolkit. A dialog loads its settings when it opens and stores them when
// it is closed with OK.
#include <string>
#include <string_view>
#include <vector>

#include "results/selection_conditions.h"

namespace twinex {

struct SelectDateSettings {
  DateCondition condition;
  bool hasExactDate = false;  // "DateExact" was stored
  // "exakt gleich" asks for a date; the other comparisons for an amount and a unit.
  bool DateInputEnabled() const { return condition.filterType == 2; }
  bool AmountInputEnabled() const { return condition.filterType != 2; }
};
SelectDateSettings LoadSelectDateSettings(const std::string& file = "");
std::string SaveSelectDateSettings(const SelectDateSettings& settings, const std::string& file = "");

struct SelectSizeSettings {
  SizeCondition condition;
};
SelectSizeSettings LoadSelectSizeSettings(const std::string& file = "");
std::string SaveSelectSizeSettings(const SelectSizeSettings& settings, const std::string& file = "");

// Select by name ("SelectName": "name", "namelist") or by path ("SelectPath": "path", "pathlist").
enum class PatternField { Name, Path };
struct SelectPatternSettings {
  std::string text;                  // the last search text
  std::vector<std::string> history;  // earlier search texts, newest first
  bool caseSensitive = false;        // "UseUpperLowerCase"
  PatternCondition Condition() const { return {text, caseSensitive}; }
  // The text as the one to use: it goes to the top of the history (once).
  void Remember(const std::string& used);
  // Deletes one history entry; false when there is none at that place.
  bool Forget(std::size_t index);
};
SelectPatternSettings LoadSelectPatternSettings(PatternField field, const std::string& file = "");
std::string SaveSelectPatternSettings(PatternField field, const SelectPatternSettings& settings,
                                      const std::string& file = "");
// The dialog's title (the command's caption).
std::string SelectPatternDialogTitle(PatternField field);
// The test the dialog runs before it closes: "" to close, else the message to show.
inline std::string TestSearchText(std::string_view text) { return PatternError(text); }

// History lists are stored as one text, joined by "|\|\|\".
std::string JoinHistory(const std::vector<std::string>& entries);
std::vector<std::string> SplitHistory(std::string_view stored);

}  // namespace twinex
