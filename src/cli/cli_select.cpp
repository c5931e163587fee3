#include "cli/cli_select.h"

#include <cctype>
#include <cstdio>

#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/number_format.h"
#include "platform/text.h"
#include "results/selection_conditions.h"
#include "app/session.h"
#include "search/search.h"
#include "settings/window_settings.h"

namespace twinex::cli {

namespace {

// "--select none" reads better than "--deselect all"; both run "Alle Dateien abwählen".
constexpr std::string_view kNoneAlias = "none";

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Splits "word:rest" (or "word" + rest when the word is followed directly by a digit).
bool TakePrefix(std::string_view& text, std::string_view word) {
  if (text.substr(0, word.size()) != word) return false;
  std::string_view rest = text.substr(word.size());
  if (!rest.empty() && rest.front() == ':') rest.remove_prefix(1);
  text = rest;
  return true;
}

// "30d", "30:days", "2 weeks": the amount and the unit (0 seconds … 7 years).
bool ParseAmountAndUnit(std::string_view text, long long& amount, int& unit) {
  std::size_t digits = 0;
  while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
  if (digits == 0 || digits > 9 || !platform::ParseLong(text.substr(0, digits), amount)) return false;
  std::string_view rest = text.substr(digits);
  while (!rest.empty() && (rest.front() == ':' || rest.front() == ' ')) rest.remove_prefix(1);
  static const struct {
    const char* name;
    int unit;
  } kUnits[] = {
      {"s", 0},   {"sec", 0},     {"second", 0},  {"seconds", 0}, {"min", 1},      {"minute", 1},
      {"minutes", 1}, {"h", 2},   {"hour", 2},    {"hours", 2},   {"d", 3},        {"day", 3},
      {"days", 3},  {"w", 4},     {"week", 4},    {"weeks", 4},   {"mon", 5},      {"month", 5},
      {"months", 5}, {"q", 6},    {"quarter", 6}, {"quarters", 6}, {"y", 7},       {"year", 7},
      {"years", 7},
  };
  const std::string name = Lower(rest);
  for (const auto& u : kUnits)
    if (name == u.name) {
      unit = u.unit;
      return true;
    }
  return false;
}

// "[created:]older:30d", "[created:]newer:2w", "[created:]exact:2024-05-01".
bool ParseDate(std::string_view text, DateCondition& c) {
  c.compareWith = TakePrefix(text, "created") ? 1 : 0;
  if (TakePrefix(text, "older")) {
    c.filterType = 0;
    return ParseAmountAndUnit(text, c.amount, c.unit);
  }
  if (TakePrefix(text, "newer")) {
    c.filterType = 1;
    return ParseAmountAndUnit(text, c.amount, c.unit);
  }
  if (!TakePrefix(text, "exact")) return false;
  int y = 0, m = 0, d = 0;
  char extra = 0;
  const std::string date(text);
  if (std::sscanf(date.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &extra) != 3 || m < 1 || m > 12 || d < 1 || d > 31)
    return false;
  c.filterType = 2;
  c.exactDate = platform::MakeDate(y, m, d);
  int ry, rm, rd, h, mi, s;
  platform::SplitDate(c.exactDate, ry, rm, rd, h, mi, s);
  return ry == y && rm == m && rd == d;  // 2024-02-30 is no date
}

// "lt:1.5MB", "eq:0", "gt:100 KB", or "<", "=", ">" in front.
bool ParseSize(std::string_view text, SizeCondition& c) {
  if (TakePrefix(text, "lt") || TakePrefix(text, "<"))
    c.filterType = 0;
  else if (TakePrefix(text, "eq") || TakePrefix(text, "="))
    c.filterType = 1;
  else if (TakePrefix(text, "gt") || TakePrefix(text, ">"))
    c.filterType = 2;
  else
    return false;
  std::size_t end = 0;
  while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.' || text[end] == ','))
    ++end;
  const std::string unit = Lower(platform::Trim(text.substr(end)));
  static const char* kUnits[kSizeUnitCount] = {"b", "kb", "mb", "gb", "tb"};
  c.unit = -1;
  for (int i = 0; i < kSizeUnitCount; ++i)
    if (unit == kUnits[i]) c.unit = i;
  if (unit.empty() || unit == "bytes") c.unit = 0;
  return c.unit >= 0 && ParseSizeAmount(text.substr(0, end), c.amount);
}

const char* ValueHint(ToolInput input) {
  switch (input) {
    case ToolInput::Folder:
      return "=DIR";
    case ToolInput::Percent:
      return "=PERCENT";
    case ToolInput::Date:
      return "=WHEN";
    case ToolInput::Size:
      return "=SIZE";
    case ToolInput::Pattern:
      return "=PATTERN";
    default:
      return "";
  }
}

bool TakesValue(ToolInput input) { return ValueHint(input)[0] != '\0'; }

}  // namespace

bool MakeSelectionStep(const SelectStep& step, const SelectTool*& tool, SelectRequest& q, std::string& error) {
  const std::string option = step.deselect ? "--deselect" : "--select";
  tool = step.tool == kNoneAlias && !step.deselect ? FindSelectToolByName("all", true)
                                                   : FindSelectToolByName(step.tool, step.deselect);
  if (!tool) {
    error = FindSelectToolByName(step.tool, !step.deselect) ? option + ": " + step.tool + " has no such form"
                                                            : option + ": unknown tool " + step.tool + " (see --help)";
    return false;
  }
  if (TakesValue(tool->input) != step.hasValue) {
    error = option + " " + step.tool + (step.hasValue ? " takes no value" : " needs a value: " + step.tool + ValueHint(tool->input));
    return false;
  }
  const std::string& v = step.value;
  bool ok = true;
  switch (tool->input) {
    case ToolInput::Folder:
      ok = !v.empty();
      if (ok) q.folder = platform::AbsolutePath(v);
      break;
    case ToolInput::Percent: {
      long long percent = -1;
      ok = platform::ParseLong(v, percent) && percent >= 0 && percent <= 100;
      q.percent = static_cast<int>(percent);
      break;
    }
    case ToolInput::Date:
      ok = ParseDate(v, q.date);
      break;
    case ToolInput::Size:
      ok = ParseSize(v, q.size);
      break;
    case ToolInput::Pattern: {
      // The case switch is the one the select dialogs keep in the settings file.
      const char* section = tool->id == SelectToolId::SelectByName || tool->id == SelectToolId::DeselectByName
                                ? "SelectName"
                                : "SelectPath";
      q.pattern = {v, ReadSetting(section, "UseUpperLowerCase") == "1"};
      if (std::string e = PatternError(v); !e.empty()) {
        error = option + " " + step.tool + ": " + platform::ReplaceAll(e, "\r\n", " ");
        return false;
      }
      break;
    }
    default:
      break;
  }
  if (!ok) error = option + " " + step.tool + ": cannot use the value '" + v + "' (see --help)";
  return ok;
}

std::string ParseSelectionOption(std::string_view option, const std::string& value, CliOptions& o) {
  if (option == "--mode") {
    long long mode = -1;
    if (!platform::ParseLong(value, mode) || (mode != 0 && (mode < 3 || mode > 5)))
      return "--mode takes 0 (all groups), 3, 4 or 5";
    o.selectionMode = static_cast<int>(mode);
    return "";
  }
  SelectStep step;
  step.deselect = option == "--deselect";
  const std::size_t eq = value.find('=');
  step.tool = value.substr(0, eq);
  step.hasValue = eq != std::string::npos;
  if (step.hasValue) step.value = value.substr(eq + 1);
  const SelectTool* tool = nullptr;
  SelectRequest request;
  std::string error;
  if (!MakeSelectionStep(step, tool, request, error)) return error;
  o.selections.push_back(std::move(step));
  return "";
}

int ApplySelections(Session& session, const CliOptions& o) {
  if (o.selections.empty() || !session.selection()) return 0;
  // The command line names its folders itself, so the folder questions are not asked again.
  session.selection()->editingMode = o.selectionMode;
  for (const SelectStep& step : o.selections) {
    const SelectTool* tool = nullptr;
    SelectRequest request;
    std::string error;
    const std::string label = std::string(step.deselect ? "--deselect " : "--select ") + step.tool;
    if (!MakeSelectionStep(step, tool, request, error)) {
      std::fprintf(stderr, "twinex-cli: %s\n", error.c_str());
      return 1;
    }
    const SelectOutcome out = session.Select(tool->id, request);
    std::fprintf(stderr, "twinex-cli: %s: %s\n", label.c_str(), platform::ReplaceAll(out.message, "\r\n", " ").c_str());
    if (!out.ran) {
      std::fprintf(stderr, "twinex-cli: %s was refused; the selection is incomplete\n", label.c_str());
      return 1;
    }
  }
  const ResultCounters& c = session.search()->result.counters;
  std::fprintf(stderr, "twinex-cli: %s of %s files selected (%s)\n",
               platform::FormatCount(static_cast<std::int64_t>(c.DupCountSelected)).c_str(),
               platform::FormatCount(static_cast<std::int64_t>(c.DupCount)).c_str(),
               platform::FormatSizeAuto(c.FilesizeSelected).c_str());
  return 0;
}

std::string SelectionUsage() {
  std::string text =
      "\n"
      "Selection (after the search, before the result is written or acted on):\n"
      "  --select TOOL[=VALUE]    run a selection tool; repeatable, applied in order\n"
      "  --deselect TOOL[=VALUE]  run the deselecting form of a tool (marked + below)\n"
      "  --mode N                 groups the tools may change: 0 all (default), 3 groups\n"
      "                           without selected files, 4 groups with all files selected,\n"
      "                           5 groups with some files selected\n"
      "  Files of protected source folders are never selected by a tool.\n"
      "\n"
      "Tools:\n";
  for (const SelectTool& t : SelectTools()) {
    if (t.name[0] == '\0' || t.deselects) continue;
    std::string left = std::string(t.name) + ValueHint(t.input);
    if (FindSelectToolByName(t.name, true)) left += " +";
    if (left.size() < 28) left.resize(28, ' ');
    text += "  " + left + " " + z_Translate(t.caption) + "\n";
  }
  std::string none(kNoneAlias);
  none.resize(28, ' ');
  text += "  " + none + " the same as --deselect all\n";
  text +=
      "\n"
      "Values:\n"
      "  WHEN     [created:]older:N UNIT, [created:]newer:N UNIT or [created:]exact:YYYY-MM-DD;\n"
      "           UNIT s, min, h, d, w, mon, q or y (calendar units; months, quarters and years\n"
      "           count whole periods); e.g. by-date=older:6mon\n"
      "  SIZE     lt:, eq: or gt: (or <, =, >), an amount and B, KB, MB, GB or TB (1024-based);\n"
      "           e.g. by-size=gt:1.5MB\n"
      "  PATTERN  wildcards * ? # [a-z] [!a-z], matched against the file name (by-name) or the\n"
      "           folder (by-path); case is ignored unless the settings' select dialogs say not\n"
      "  DIR      a folder; in-folder and outside-folder take its whole structure,\n"
      "           same-folder only the folder itself; dups-of-folder takes the copies\n"
      "           elsewhere of files within it (the files within it are kept)\n"
      "  PERCENT  0 to 100, both bounds inclusive\n";
  return text;
}

}  // namespace twinex::cli
