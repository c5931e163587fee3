#include "settings/filters.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "platform/text.h"
#include "settings/prompt.h"
#include "settings/translate.h"

namespace twinex {
namespace {

using platform::FoldCase;

// A name or path to test: folded (unless case-sensitive) and split into characters at most
// once per check, however many entries look at it.
class Subject {
 public:
  Subject(std::string_view raw, bool caseSensitive) : raw_(raw), caseSensitive_(caseSensitive) {}
  const std::string& Text() {
    if (!text_) text_ = caseSensitive_ ? std::string(raw_) : FoldCase(raw_);
    return *text_;
  }
  const std::vector<std::string_view>& Chars() {
    if (!chars_) chars_ = platform::SplitChars(Text());
    return *chars_;
  }

 private:
  std::string_view raw_;
  bool caseSensitive_;
  std::optional<std::string> text_;
  std::optional<std::vector<std::string_view>> chars_;
};

// The folder itself or any folder below it. The prefix must end at a separator, so that
// "/data/Temp" never takes in "/data/Temporary".
bool IsSameOrBelow(const std::string& path, const std::string& folder) {
  if (path == folder) return true;
  const std::string prefix = !folder.empty() && folder.back() == '/' ? folder : folder + "/";
  return platform::StartsWith(path, prefix);
}

bool MatchEntries(const std::vector<CompiledFilter>& entries, const FilterListOptions& o, std::string_view name,
                  std::string_view fullPath, bool folders) {
  if (entries.empty()) return false;
  Subject n(name, o.caseSensitive), p(fullPath, o.caseSensitive);
  for (const CompiledFilter& e : entries) {
    switch (e.kind) {
      case 0:
        if (n.Text() == e.text) return true;
        break;
      case 1:
        if (folders && o.subfoldersNotFiltered ? IsSameOrBelow(p.Text(), e.text) : p.Text() == e.text) return true;
        break;
      case 2:
        if (e.pattern.Matches(n.Chars())) return true;
        break;
      case 3:
        if (e.pattern.Matches(p.Chars())) return true;
        break;
    }
  }
  return false;
}

bool Rejected(bool matched, const FilterListOptions& o) { return o.filterType == 1 ? matched : !matched; }

// Every trimmed, non-empty alternative of every ticked row (its kind
// is decided in Init_All_Filters).
std::vector<CompiledFilter> CollectEntries(const std::vector<FilterRow>& rows, const FilterListOptions& o) {
  std::vector<CompiledFilter> out;
  if (!o.enabled) return out;
  for (const FilterRow& row : rows) {
    if (!row.ticked) continue;
    for (const std::string& alt : platform::Split(row.text, '|')) {
      std::string t = platform::Trim(alt);
      if (t.empty()) continue;
      CompiledFilter e;
      e.text = std::move(t);
      out.push_back(std::move(e));
    }
  }
  return out;
}

// Init_All_Filters for one list. Variables are replaced before the text is folded: names of
// environment variables are case-sensitive here, so "%HOME%" must not become "%home%" first.
// The kind is decided on the replaced text, so that "%HOME%" counts as the path it stands for.
void Init_All_Filters(std::vector<CompiledFilter>& entries, const FilterListOptions& o, bool folders) {
  for (CompiledFilter& e : entries) {
    e.text = ReplaceSystemvariablen(e.text);
    e.kind = FilterTyp_Festlegen(e.text, o.wildcardsAsText);
    // The folder paths to test come without a trailing "/", so a filter "/proc/" must lose its own.
    if (folders && e.kind == 1)
      while (e.text.size() > 1 && e.text.back() == '/') e.text.pop_back();
    if (!o.caseSensitive) e.text = FoldCase(e.text);
    if (e.text.empty()) e.valid = false;
    // A malformed pattern would otherwise decide every match by accident.
    if (e.kind >= 2 && !e.pattern.Parse(e.text)) e.valid = false;
  }
  std::erase_if(entries, [](const CompiledFilter& e) { return !e.valid; });
}

double SizeNumber(const std::string& typed) {
  double v = 0;
  if (!platform::ParseDouble(typed, v) || !std::isfinite(v)) return 0;  // empty counts as "0"
  return v;
}

bool SizeRejects(std::uint64_t size, const SizeBound& bound, double number) {
  const double value = static_cast<double>(size) / std::pow(1024.0, bound.unit);
  return bound.comparison == 0 ? value < number : value > number;
}

// Local Date value to its whole day number; times from noon on count as the next day.
long long DayNumber(double date) { return static_cast<long long>(std::floor(date + 0.5)); }

}  // namespace

int FilterTyp_Festlegen(std::string_view text, bool wildcardsAsText) {
  const bool wildcard = !wildcardsAsText && text.find_first_of("*?#") != std::string_view::npos;
  const bool path = text.find('/') != std::string_view::npos;
  return (wildcard ? 2 : 0) + (path ? 1 : 0);
}

bool ValidateFilterWildcards(std::string_view text, bool showMessage, Prompt* prompt) {
  if (IsValidWildcardPattern(text)) return true;
  if (showMessage && prompt)
    prompt->Ask(PromptMessage::Make(TextRef{10004, "Die Verwendung der Platzhalter im Filtertext '%1' ist ungültig!"},
                                    {std::string(text)}, PromptButtons::Ok, PromptIcon::Exclamation));
  return false;
}

std::string EscapeWildcards(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '[' || c == '*' || c == '?' || c == '#') {
      out += '[';
      out += c;
      out += ']';
    } else {
      out += c;
    }
  }
  return out;
}

std::string UnescapeWildcards(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '[' && i + 2 < text.size() && text[i + 2] == ']' &&
        std::string_view("[*?#").find(text[i + 1]) != std::string_view::npos) {
      out += text[i + 1];
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

void Filter_Escape_Wildcards(std::vector<FilterRow>& rows) {
  for (FilterRow& r : rows) r.text = EscapeWildcards(r.text);
}

void Filter_Unescape_Wildcards(std::vector<FilterRow>& rows) {
  for (FilterRow& r : rows) r.text = UnescapeWildcards(r.text);
}

void UntickInvalidWildcardRows(std::vector<FilterRow>& rows) {
  for (FilterRow& r : rows)
    if (!IsValidWildcardPattern(r.text)) r.ticked = false;
}

std::string ReplaceSystemvariablen(std::string_view text) {
  // Find the placeholders the way the scan from the left pairs the "%" signs...
  std::vector<std::pair<std::string, std::string>> found;  // placeholder, value
  std::size_t open = text.find('%');
  while (open != std::string_view::npos) {
    const std::size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    const std::string name(text.substr(open + 1, close - open - 1));
    const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
    if (value && *value) found.emplace_back("%" + name + "%", value);
    open = text.find('%', close + 1);
  }
  if (found.empty()) return std::string(text);
  // ...then replace every occurrence in one pass over the original text, so that a value that
  // itself holds "%NAME%" is never expanded again.
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '%') {
      for (const auto& [placeholder, value] : found) {
        if (text.substr(i, placeholder.size()) == placeholder) {
          out += value;
          i += placeholder.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

CompiledFilters Init_FilterOptionen(const SourcesAndFilters& sf, bool nullByte, bool confirmUse, Prompt* prompt) {
  CompiledFilters c;
  // Steps 1 and 2: file filters and the file-level exclusions.
  c.fileOptions = sf.fileOptions;
  c.fileOptions.subfoldersNotFiltered = false;
  c.fileEntries = CollectEntries(sf.fileFilters, sf.fileOptions);
  c.nullByte = nullByte;
  c.dateActive = sf.dateActive;
  c.dateType = sf.dateType;
  c.dateDay = DayNumber(sf.date);
  c.sizeActive = sf.sizeActive;
  c.size1 = sf.size1;
  if (c.size1.number.empty()) c.size1.number = "0";
  c.size1Number = SizeNumber(c.size1.number);
  c.size2Active = sf.sizeActive && sf.size2Active;
  c.size2 = sf.size2;
  if (c.size2.number.empty()) c.size2.number = "0";
  c.size2Number = SizeNumber(c.size2.number);
  c.folderOptions = sf.folderOptions;
  c.folderEntries = CollectEntries(sf.folderFilters, sf.folderOptions);
  Init_All_Filters(c.fileEntries, c.fileOptions, false);
  Init_All_Filters(c.folderEntries, c.folderOptions, true);
  // The user may decline the filters for this one search; date and zero-byte stay.
  const bool anyFilter = (c.fileOptions.enabled && !c.fileEntries.empty()) || !c.folderEntries.empty() || c.sizeActive;
  if (confirmUse && anyFilter && prompt) {
    PromptAnswer a = prompt->Ask(PromptMessage::Make(
        TextRef{10005, "Sollen die Datei- und Ordnerfilter bei der Suche verwendet werden?"}, {}, PromptButtons::YesNo,
        PromptIcon::Question));
    if (a != PromptAnswer::Yes) {
      c.fileEntries.clear();
      c.folderEntries.clear();
      c.fileOptions.enabled = false;
      c.folderOptions.enabled = false;
      c.sizeActive = false;
      c.size2Active = false;
    }
  }
  return c;
}

bool CompiledFilters::Check_Filter_Dateien(std::string_view name, std::string_view fullPath) const {
  return MatchEntries(fileEntries, fileOptions, name, fullPath, false);
}

bool CompiledFilters::Check_Filter_Ordner(std::string_view name, std::string_view fullPath) const {
  while (fullPath.size() > 1 && fullPath.back() == '/') fullPath.remove_suffix(1);
  return MatchEntries(folderEntries, folderOptions, name, fullPath, true);
}

bool CompiledFilters::FolderRejected(std::string_view name, std::string_view fullPath) const {
  if (folderEntries.empty()) return false;
  return Rejected(Check_Filter_Ordner(name, fullPath), folderOptions);
}

bool CompiledFilters::Search_CheckFileFilter(std::uint64_t size, std::string_view name, std::string_view fullPath,
                                             double modified, double created) const {
  if (nullByte && size == 0) return true;
  if (dateActive) {
    const long long day = DayNumber(dateType < 2 ? modified : created);
    const bool before = dateType == 0 || dateType == 2;
    if (before ? day < dateDay : day > dateDay) return true;
  }
  if (sizeActive) {
    if (SizeRejects(size, size1, size1Number)) return true;
    if (size2Active && SizeRejects(size, size2, size2Number)) return true;
  }
  if (!fileEntries.empty()) return Rejected(Check_Filter_Dateien(name, fullPath), fileOptions);
  return false;
}

NameCleanup PrepareNameCleanup(bool ignoreChars, std::string_view charsText, bool ignoreText,
                               std::string_view textText) {
  NameCleanup n;
  if (ignoreChars) {
    for (std::string_view ch : platform::SplitChars(charsText)) {
      bool seen = false;
      for (const std::string& c : n.chars) seen = seen || c == ch;
      if (!seen) n.chars.emplace_back(ch);
    }
  }
  n.ignoreChars = !n.chars.empty();
  if (ignoreText) {
    // An empty piece (from "a//b") would remove nothing and is left out.
    for (std::string& t : platform::Split(textText, '/'))
      if (!t.empty()) n.texts.push_back(std::move(t));
  }
  n.ignoreText = !n.texts.empty();
  return n;
}

namespace {
std::string RemoveAll(std::string_view name, const std::vector<std::string>& pieces) {
  std::string out(name);
  for (const std::string& p : pieces) out = platform::ReplaceAll(std::move(out), p, "");
  return out;
}
}  // namespace

std::string NameCleanup::Search_ReplaceFileNameChars(std::string_view name) const {
  return ignoreChars ? RemoveAll(name, chars) : std::string(name);
}

std::string NameCleanup::Search_ReplaceFileNameText(std::string_view name) const {
  return ignoreText ? RemoveAll(name, texts) : std::string(name);
}

}  // namespace twinex
