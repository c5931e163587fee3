#pragma once
// The one table of the settings file's keys: section, key, default and where the value lives.
// Loading and saving the main window, the windows' own sections and the carry-over of keys this
// build does not know all walk this table.
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/settings_file.h"

namespace twinex::settings_keys {

using FieldRef = std::variant<bool*, int*, std::string*, double*>;
using Accessor = std::function<FieldRef(MainSettings&)>;

// Where a value lives.
enum class Home {
  MainWindow,  // a field of MainSettings: written to the settings file and into profiles
  OwnWindow,   // a window's own section: read when it opens, written back when it closes
};

// How a text is stored beyond plain quoting.
enum class Form {
  Plain,
  ColonWrapped,  // ":" + text + ":", so that blanks at either end survive hand editing
  StarPrefixed,  // "*" + text, so that a leading blank survives
};

struct KeyRule {
  std::string section;
  std::string key;  // empty for a window section whose keys are numbered or named per window
  Home home = Home::MainWindow;
  Accessor field;                // MainWindow only
  bool searchSelection = false;  // read only when the search selection is loaded
  bool keepWhenMissing = false;  // a missing key leaves the current value (read with "-2")
  Form form = Form::Plain;
  std::string def;  // the default in its stored form
};

const std::vector<KeyRule>& Table();

std::string Encode(FieldRef ref, Form form);
// False when the stored text is no value of the field's type (the default is taken then).
bool Decode(const std::string& stored, FieldRef ref, Form form);

// True when the table names this key of this section (names compare without regard to case).
bool IsKnownKey(std::string_view section, std::string_view key);

}  // namespace twinex::settings_keys
