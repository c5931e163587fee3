#include "search/tag_cuts.h"

#include <cstdint>

#include "platform/text.h"
#include "search/search.h"
#include "search/tag_sizes.h"

namespace twinex {
namespace {

// Which reader measures the tags of a file, by option and lower-case extension.
struct TagRule {
  bool SearchSettings::*option;
  const char* extensions;  // "/"-separated, with leading and trailing "/"
  TagCuts (*read)(const std::string& path);
};

const TagRule kRules[] = {
    {&SearchSettings::IgnoreMP3Tags, "/mp3/", Search_CheckForMP3IDTag},
    {&SearchSettings::IgnoreExif, "/jpeg/jpg/", Search_GetExifDatablockSize},
    {&SearchSettings::IgnoreExif, "/cr2/", Search_GetExifDatablockSize_CR2},
    {&SearchSettings::IgnoreFlacMetadata, "/flac/", Search_CheckForFlacTag},
};

}  // namespace

bool ApplyTagCuts(Search& s, long index) {
  if (!s.criteria[kCritContent] && !s.criteria[kCritSize]) return true;
  FileRecord& r = s.files.Record(index);
  if (r.ArchiveType != 0) return true;  // members are measured once they can be extracted
  std::string probe = "/" + platform::LowerCase(s.files.Extension(r)) + "/";
  for (const auto& rule : kRules) {
    if (!(s.settings.*(rule.option)) || std::string_view(rule.extensions).find(probe) == std::string_view::npos) continue;
    TagCuts cuts = rule.read(s.files.GetPathWithFileName(index));
    if (!cuts.message.empty()) s.LogProtokoll(cuts.message, true);
    // A cut that would not fit is a misread tag: the file is then compared whole.
    if (cuts.start + cuts.end <= r.SIZE && cuts.start <= UINT32_MAX && cuts.end <= UINT32_MAX) {
      if (cuts.start + cuts.end == 0) break;  // nothing to leave out: the record needs no extras
      RecordExtras& extras = s.files.EditExtras(r);
      extras.cutFromFileStart = static_cast<std::uint32_t>(cuts.start);
      extras.cutFromFileEnd = static_cast<std::uint32_t>(cuts.end);
    }
    break;
  }
  return true;
}

}  // namespace twinex
