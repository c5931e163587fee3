#pragma once
// Listing one archive for a search: which members take part, which are counted as excluded
// (password-protected, at or above the size limit, refused by the filters), and the log lines.
// The search supplies its filters, counters and per-file step through the hooks.
#include <cstdint>
#include <string>

#include "search/archive_access.h"

namespace twinex {

class ArchiveScanHooks {
 public:
  virtual ~ArchiveScanHooks() = default;
  // The file filters (and the method's extension rule) refuse the member.
  virtual bool Rejected(const ArchiveMember& member) = 0;
  // Counts a member that does not take part among the excluded files.
  virtual void Excluded(std::uint64_t size) = 0;
  // Hands a member that takes part to the per-file step.
  virtual void Accepted(const ArchiveRef& archive, const ArchiveMember& member) = 0;
  virtual void Log(const std::string& line, bool isError) = 0;
};

struct ArchiveScanOptions {
  std::uint64_t sizeLimit = kNoSizeLimit;  // ArchiveSizeLimit of the search
  bool logPasswordProtected = false;       // LogPasswordProtectedFiles
};

struct ArchiveScanResult {
  ArchiveOutcome outcome;
  std::uint64_t members = 0;   // file members listed, taking part or not
  std::uint64_t accepted = 0;  // handed to the per-file step
};

ArchiveScanResult ScanArchiveMembers(const ArchiveRef& archive, const ArchiveScanOptions& options, RunControl& run,
                                     ArchiveScanHooks& hooks);

}  // namespace twinex
