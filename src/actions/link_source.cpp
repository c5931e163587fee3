#include "actions/link_source.h"

#include "actions/file_steps.h"
#include "platform/file_system.h"
#include "settings/translate.h"

namespace twinex {

std::string LinkSourceProblem(const ResultFile& file, LinkKind kind, std::uint64_t hardLinkLimit) {
  if (file.archiv != 0) return z_Translate(18063, "Die Datei befindet sich in einer Archivdatei.");
  // Links to a file that changed would put other contents in the place of the linked files.
  if (std::string why = ChangedSinceSearch(file); !why.empty()) return file.FullPath() + ": " + why;
  if (kind == LinkKind::Hard) {
    platform::FileInfo info;
    if (std::string e = platform::GetFileInfo(file.FullPath(), info); !e.empty()) return file.FullPath() + ": " + e;
    if (info.links >= hardLinkLimit)
      return z_Translate(18061, "Die maximale Anzahl von 1024 Hardlinks bei der Datei '%1' wurde erreicht.",
                         {file.FullPath()});
  }
  return "";
}

std::size_t FindLinkSource(const ResultGroup& group, const std::vector<char>& excluded, LinkKind kind,
                           std::uint64_t hardLinkLimit, std::string& why) {
  for (std::size_t i = 0; i < group.files.size(); ++i) {
    const ResultFile& f = group.files[i];
    if (!f.selected || (i < excluded.size() && excluded[i])) continue;
    std::string problem = LinkSourceProblem(f, kind, hardLinkLimit);
    if (problem.empty()) return i;
    why = std::move(problem);
  }
  return kNoLinkSource;
}

}  // namespace twinex
