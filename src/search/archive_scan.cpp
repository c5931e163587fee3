#include "search/archive_scan.h"

namespace twinex {

ArchiveScanResult ScanArchiveMembers(const ArchiveRef& archive, const ArchiveScanOptions& options, RunControl& run,
                                     ArchiveScanHooks& hooks) {
  ArchiveScanResult r;
  r.outcome = ListArchive(archive, run, [&](const ArchiveMember& m) {
    ++r.members;
    if (m.encrypted) {
      hooks.Excluded(m.size);
      if (options.logPasswordProtected) hooks.Log(PasswordMemberMessage(m.pathInsideZip, archive.path), false);
    } else if (m.size >= options.sizeLimit || hooks.Rejected(m)) {
      // A member at the limit is never extracted, so it cannot take part in a comparison.
      hooks.Excluded(m.size);
    } else {
      ++r.accepted;
      hooks.Accepted(archive, m);
    }
    return !run.StopRequested();
  });
  if (const std::string line = ListingMessage(archive.path, r.outcome); !line.empty())
    hooks.Log(line, r.outcome.error != ArchiveError::kPassword);
  else if (r.outcome.ok() && r.members == 0)
    hooks.Log(NoMembersMessage(archive.path), false);
  return r;
}

}  // namespace twinex
