#pragma once
// What the main window shows and enables, apart from any toolkit: the option tables the window
// builds its controls from, which options are in force for the chosen method and criteria, the
// correction of number fields when the user leaves them, and the source-folder and filter
// edits with their checks. The window only binds controls to these calls.
#include <array>
#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "settings/translate.h"

namespace twinex {

// The boxes of the main window; each is enabled as a whole.
enum class OptionGroup : int {
  General,        // scope and general options: every method
  Criteria,       // the seven criteria of the property search
  Content,        // content comparison (criterion "Dateiinhalt")
  ContentPercent, // the percentage of "Byte für Byte"
  Dates,          // "Uhrzeit ignorieren", "Sekunden ignorieren"
  Hardlinks,      // "Keine Hardlinks inhaltlich vergleichen"
  FileName,       // the file-name comparison (criterion "Dateiname")
  FirstChars,     // the character count of the file-name comparison
  SimilarNames,
  Pictures,
  Music,
  TrackLength,
};

// A check box bound to a Boolean of the search settings.
struct BoolOption {
  bool SearchSettings::*field;
  TextRef caption;
  OptionGroup group;
};

// A text field; one holding a number is corrected when the user leaves it (normalize set).
struct TextOption {
  TextRef caption;
  OptionGroup group;
  std::string& (*text)(SearchSettings&);
  std::string (*normalize)(const std::string&);
};

// A list box bound to an index of the search settings.
struct ChoiceOption {
  TextRef caption;
  OptionGroup group;
  int SearchSettings::*field;
  int count;
  std::string (*itemText)(int);          // by list position
  const std::array<int, 10>* codes = nullptr;  // stored value by list position, when not the position
};

const std::vector<BoolOption>& BoolOptions();
const std::vector<TextOption>& TextOptions();
const std::vector<ChoiceOption>& ChoiceOptions();

// Whether this build can run a search method; the others are offered but say so.
bool SearchMethodAvailable(int method);

class MainWindowPresenter {
 public:
  explicit MainWindowPresenter(MainSettings& settings) : settings_(settings) {}

  MainSettings& settings() { return settings_; }
  SearchSettings& search() { return settings_.search; }

  // Method, criteria and list choices; each change clears the options that left force.
  void SetMethod(int method);
  void SetCriterion(int criterion, bool on);
  void SetChoice(std::size_t option, int index);
  void SetBool(std::size_t option, bool on);
  // The list position a choice shows for the stored value.
  int ChoicePosition(std::size_t option) const;
  // The user leaves a text field: the corrected text (also stored).
  std::string LeaveText(std::size_t option, const std::string& typed);

  bool Enabled(OptionGroup group) const;
  // One line under the method list: why the method cannot start, or "".
  std::string MethodNote() const;
  bool StartEnabled() const;

  // Source folders. AddSourceFolder returns "" or why the folder was not added.
  std::string AddSourceFolder(const std::string& path);
  void RemoveSourceFolder(std::size_t row);
  // Filter rows of the file (false) or folder (true) list: "" or why the text is refused.
  std::string FilterError(bool folders, const std::string& text) const;
  std::string AddFilter(bool folders, const std::string& text);
  void RemoveFilter(bool folders, std::size_t row);

 private:
  std::vector<FilterRow>& Filters(bool folders);
  MainSettings& settings_;
};

}  // namespace twinex
