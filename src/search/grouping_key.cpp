#include "search/grouping_key.h"

#include <cmath>

#include "platform/text.h"
#include "results/result_tree.h"
#include "search/hardlink_id.h"
#include "search/search.h"
#include "settings/name_part.h"

namespace twinex {
namespace {

// Date values become whole counts so that the key text is exact: days, minutes or seconds.
std::string DateKeyPart(const Search& s, double date) {
  if (s.settings.IgnoreTime) return std::to_string(static_cast<long long>(std::floor(date)));
  double seconds = std::round(date * 86400.0);
  if (s.settings.IgnoreSeconds) return std::to_string(static_cast<long long>(std::floor(seconds / 60.0))) + "m";
  return std::to_string(static_cast<long long>(seconds)) + "s";
}

}  // namespace

std::string ComparisonName(const Search& s, std::string_view nameWithoutExtension) {
  std::string name(nameWithoutExtension);
  if (s.nameCleanup.ignoreChars) name = s.nameCleanup.Search_ReplaceFileNameChars(name);
  if (s.nameCleanup.ignoreText) name = s.nameCleanup.Search_ReplaceFileNameText(name);
  return CutNamePart(std::move(name), s.settings.FileNameCompareMethod, s.firstCharsCount);
}

bool UsesSlots(const Search& s) { return s.criteria[kCritContent] || s.scope == 2; }

std::string BuildSearchKey(const Search& s, const FileRecord& r, std::string_view relativeFolder) {
  std::string key = "K";
  const auto& c = s.criteria;
  if (c[kCritName]) {
    key += ComparisonName(s, s.files.Name(r));
    if (c[kCritExtension] && !s.files.Extension(r).empty()) key.append(".").append(s.files.Extension(r));
  } else if (c[kCritExtension]) {
    key += s.files.Extension(r);
  }
  if (c[kCritSize] || c[kCritContent]) key += std::to_string(s.files.EffectiveSize(r));
  if (c[kCritModified]) key += DateKeyPart(s, r.DateLastModified);
  if (c[kCritCreated]) key += DateKeyPart(s, r.DateCreated);
  if (c[kCritAttributes]) key += std::to_string(r.Attributes);
  if (s.scope == 1) key += "<" + std::to_string(r.SourceNr);
  if (c[7]) {
    // Always with the volume, also when the source folders share one: a folder below them may
    // be the mount point of another volume, whose file indexes say nothing about these.
    key += "#" + HardlinkSearchKey(cHardlinkID::Of(r), false);
  }
  if (UsesSlots(s)) {
    key += ">";
  } else if (s.scope == 3) {
    key += "<" + std::to_string(r.SourceNr) + ">";
    key += relativeFolder;
  }
  return key;
}

}  // namespace twinex
