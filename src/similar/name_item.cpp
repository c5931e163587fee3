#include "similar/name_item.h"

#include <algorithm>

#include "platform/text.h"
#include "settings/name_part.h"
#include "settings/search_settings.h"

namespace twinex::similar {

NameCompareOptions NameCompareOptionsFrom(const SearchSettings& s) {
  NameCompareOptions o;
  o.measure = std::clamp(s.PartialFilenameCompareMethod, 0, kNameMeasureCount - 1);
  long long percent = 0;
  if (platform::ParseLong(s.PartialFilenameComparePercent, percent)) {
    o.percent = static_cast<int>(std::clamp(percent, 0LL, 100LL));
  }
  o.delimiters = s.PartialFilenameCompareMethodDelimiterChars;
  o.namePart = s.FileNameCompareMethod;
  if (o.namePart != kNamePartAll) platform::ParseLong(s.FileNameCompareOnlyFirstCharsCount, o.namePartCount);
  o.cleanup = PrepareNameCleanup(s.IgnoreChars, s.IgnoreCharsText, s.IgnoreText, s.IgnoreTextText);
  o.withExtension = s.Suchkriterien[kCritExtension];
  return o;
}

std::string SimilarComparisonName(const NameCompareOptions& o, std::string_view nameWithoutExtension,
                                  std::string_view extension) {
  std::string name(nameWithoutExtension);
  if (o.cleanup.ignoreChars) name = o.cleanup.Search_ReplaceFileNameChars(name);
  if (o.cleanup.ignoreText) name = o.cleanup.Search_ReplaceFileNameText(name);
  name = CutNamePart(std::move(name), o.namePart, o.namePartCount);
  if (o.withExtension && !extension.empty()) name.append(".").append(extension);
  return name;
}

NamePreparer::NamePreparer(int measure, std::string_view delimiters)
    : measure_(measure), delimiters_(ToCodePoints(delimiters)) {}

NameItem NamePreparer::Prepare(std::string_view comparisonName) {
  NameItem item;
  bool upper = measure_ == kSmartMatch || measure_ == kFuzzyMatch;
  bool trimmed = measure_ == kFuzzyPercent || measure_ == kWordMatch;
  std::string cased = upper ? platform::UpperCase(comparisonName) : platform::FoldCase(comparisonName);
  item.chars = ToCodePoints(trimmed ? platform::Trim(cased) : cased);
  if (measure_ != kWordMatch) {
    item.mask = CharacterMask(item.chars);
    item.sorted = item.chars;
    std::sort(item.sorted.begin(), item.sorted.end());
    return item;
  }
  // Words: runs between delimiter characters; empty runs are no words.
  Chars rest(item.chars);
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && delimiters_.find(rest[end]) == std::u32string::npos) ++end;
    if (end > 0) {
      auto [it, added] = wordNumbers_.try_emplace(std::u32string(rest.substr(0, end)),
                                                  static_cast<std::uint32_t>(wordNumbers_.size()));
      item.words.push_back(it->second);
      item.mask |= std::uint64_t{1} << (it->second & 63);
    }
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  std::sort(item.words.begin(), item.words.end());
  item.chars.clear();
  return item;
}

}  // namespace twinex::similar
