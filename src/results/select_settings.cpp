// The selection dialogs' sections of the settings file.
#include <algorithm>
#include <charconv>

#include "platform/text.h"
#include "results/selection_settings.h"
#include "settings/settings_file.h"
#include "settings/window_settings.h"

namespace twinex {

namespace {

constexpr std::string_view kHistorySeparator = "|\\|\\|\\";

// A stored number, or the default when the text is none or lies outside [lo, hi].
long long ReadWhole(std::string_view section, std::string_view key, long long lo, long long hi, const std::string& file) {
  long long value = 0, def = 0;
  platform::ParseLong(SettingDefault(section, key), def);
  if (!platform::ParseLong(ReadSetting(section, key, file), value) || value < lo || value > hi) return def;
  return value;
}

std::string RealText(double d) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);  // reads back exactly, whatever the locale
  return ec == std::errc() ? std::string(buf, end) : "0";
}

// Writes each key and keeps the first error.
class Writer {
 public:
  Writer(std::string_view section, const std::string& file) : section_(section), file_(file) {}
  void Put(std::string_view key, const std::string& value) {
    std::string e = ProfilePutItemWide(section_, key, value, file_);
    if (error_.empty()) error_ = std::move(e);
  }
  const std::string& error() const { return error_; }

 private:
  std::string_view section_;
  const std::string& file_;
  std::string error_;
};

const char* SectionOf(PatternField f) { return f == PatternField::Name ? "SelectName" : "SelectPath"; }
const char* TextKeyOf(PatternField f) { return f == PatternField::Name ? "name" : "path"; }
const char* ListKeyOf(PatternField f) { return f == PatternField::Name ? "namelist" : "pathlist"; }

}  // namespace

SelectDateSettings LoadSelectDateSettings(const std::string& file) {
  SelectDateSettings s;
  DateCondition& c = s.condition;
  c.filterType = static_cast<int>(ReadWhole("SelectDate", "FilterTyp", 0, 2, file));
  c.amount = ReadWhole("SelectDate", "DateValue", 0, 999999999, file);
  c.unit = static_cast<int>(ReadWhole("SelectDate", "DateType", 0, kDateUnitCount - 1, file));
  c.compareWith = static_cast<int>(ReadWhole("SelectDate", "CompareWith", 0, 1, file));
  double exact = 0;
  s.hasExactDate = platform::ParseDouble(ReadSetting("SelectDate", "DateExact", file), exact);
  c.exactDate = s.hasExactDate ? exact : 0;
  return s;
}

std::string SaveSelectDateSettings(const SelectDateSettings& s, const std::string& file) {
  Writer w("SelectDate", file);
  w.Put("FilterTyp", std::to_string(s.condition.filterType));
  w.Put("DateValue", std::to_string(s.condition.amount));
  w.Put("DateType", std::to_string(s.condition.unit));
  if (s.hasExactDate) w.Put("DateExact", RealText(s.condition.exactDate));
  w.Put("CompareWith", std::to_string(s.condition.compareWith));
  return w.error();
}

SelectSizeSettings LoadSelectSizeSettings(const std::string& file) {
  SelectSizeSettings s;
  SizeCondition& c = s.condition;
  c.filterType = static_cast<int>(ReadWhole("SelectSize", "FilterType", 0, 2, file));
  c.unit = static_cast<int>(ReadWhole("SelectSize", "SizeType", 0, kSizeUnitCount - 1, file));
  if (!ParseSizeAmount(ReadSetting("SelectSize", "FileSize", file), c.amount)) c.amount = 0;
  return s;
}

std::string SaveSelectSizeSettings(const SelectSizeSettings& s, const std::string& file) {
  Writer w("SelectSize", file);
  w.Put("FilterType", std::to_string(s.condition.filterType));
  w.Put("FileSize", SizeAmountText(s.condition.amount));
  w.Put("SizeType", std::to_string(s.condition.unit));
  return w.error();
}

void SelectPatternSettings::Remember(const std::string& used) {
  text = used;
  if (used.empty()) return;
  history.erase(std::remove(history.begin(), history.end(), used), history.end());
  history.insert(history.begin(), used);
}

bool SelectPatternSettings::Forget(std::size_t index) {
  if (index >= history.size()) return false;
  history.erase(history.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

SelectPatternSettings LoadSelectPatternSettings(PatternField field, const std::string& file) {
  SelectPatternSettings s;
  const char* section = SectionOf(field);
  s.text = ReadSetting(section, TextKeyOf(field), file);
  s.history = SplitHistory(ReadSetting(section, ListKeyOf(field), file));
  s.caseSensitive = ReadSetting(section, "UseUpperLowerCase", file) == "1";
  return s;
}

std::string SaveSelectPatternSettings(PatternField field, const SelectPatternSettings& s, const std::string& file) {
  Writer w(SectionOf(field), file);
  w.Put(TextKeyOf(field), s.text);
  w.Put(ListKeyOf(field), JoinHistory(s.history));
  w.Put("UseUpperLowerCase", s.caseSensitive ? "1" : "0");
  return w.error();
}

std::string SelectPatternDialogTitle(PatternField field) {
  return field == PatternField::Name ? z_Translate(TextRef{17081, "Dateien anhand Ihrem Namen auswählen"})
                                     : z_Translate(TextRef{17083, "Dateien anhand Ihrem Pfad auswählen"});
}

std::string JoinHistory(const std::vector<std::string>& entries) {
  std::string out;
  for (const std::string& e : entries) {
    if (e.empty()) continue;
    if (!out.empty()) out.append(kHistorySeparator);
    out.append(e);
  }
  return out;
}

std::vector<std::string> SplitHistory(std::string_view stored) {
  std::vector<std::string> out;
  while (!stored.empty()) {
    const std::size_t at = stored.find(kHistorySeparator);
    const std::string_view entry = stored.substr(0, at);
    if (!entry.empty()) out.emplace_back(entry);
    if (at == std::string_view::npos) break;
    stored.remove_prefix(at + kHistorySeparator.size());
  }
  return out;
}

}  // namespace twinex
