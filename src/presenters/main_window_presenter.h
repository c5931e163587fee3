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
#include "settings/window_settings.h"

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
  Archives,             // "ScanArchives"
  ArchiveOptions,       // the archive types and options: only while archives are searched
  Database,             // "usedb"
  DatabaseOptions,      // the database switches: only while the database is used
  Exclusions,           // the date and size exclusion switches
  DateFilter,           // the date exclusion: only while it is on
  SizeFilter,           // the first size bound: only while the size exclusion is on
  SecondSize,           // the second size bound: only while both size switches are on
  FileFilterOptions,
  FolderFilterOptions,
};
inline constexpr int kOptionGroupCount = static_cast<int>(OptionGroup::FolderFilterOptions) + 1;

// A check box bound to a Boolean of the settings. A caption numbered 0 is shown as it is (the
// archive extensions are no words to translate).
struct BoolOption {
  bool& (*flag)(MainSettings&);
  TextRef caption;
  OptionGroup group;
};

// A text field; one holding a number is corrected when the user leaves it (normalize set).
struct TextOption {
  TextRef caption;
  OptionGroup group;
  std::string& (*text)(MainSettings&);
  std::string (*normalize)(const std::string&);
};

// A list box bound to an index of the settings. Some lists depend on other choices: their
// text is "" past the entries the current settings offer.
struct ChoiceOption {
  TextRef caption;
  OptionGroup group;
  int& (*value)(MainSettings&);
  int count;                                          // the most entries the list can have
  std::string (*itemText)(const SearchSettings&, int);  // by list position
  const std::array<int, 10>* codes = nullptr;  // stored value by list position, when not the position
};

const std::vector<BoolOption>& BoolOptions();
const std::vector<TextOption>& TextOptions();
const std::vector<ChoiceOption>& ChoiceOptions();

// Whether this build can run a search method; the others are offered but say so.
bool SearchMethodAvailable(int method);
// The shown caption of an option.
std::string OptionCaption(const TextRef& caption);

// The user's language file "lang.txt": whether it is switched on ("UseLangTxt"), and switching
// it. The language is chosen at start, so switching answers with when it takes effect.
bool UserLanguageFileOn(const WindowSettings& windowSettings);
std::string SwitchUserLanguageFile(WindowSettings& windowSettings, bool on);

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
  // The list position a choice shows for the stored value, and the entries it offers now.
  int ChoicePosition(std::size_t option) const;
  std::vector<std::string> ChoiceItems(std::size_t option) const;
  // The user leaves a text field: the corrected text (also stored).
  std::string LeaveText(std::size_t option, const std::string& typed);

  bool Enabled(OptionGroup group) const;
  // The day of the date exclusion (today while none was set) as year, month, day.
  std::array<int, 3> ExclusionDate() const;
  void SetExclusionDate(int year, int month, int day);
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
