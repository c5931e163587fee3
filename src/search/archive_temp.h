#pragma once
// The temporary copies of one search: its own folder below the temp folder, the running number
// that keeps two members of the same name apart, extraction into it with the search's size
// limit, and removal of copies that are no longer needed.
#include <cstdint>
#include <string>

#include "search/archive_access.h"

namespace twinex {

struct TempCopyResult {
  bool ok = false;
  std::string path;        // the copy, when ok
  std::string number;      // "<n>_", the member's ArchiveTempFileNr
  ArchiveOutcome outcome;  // why it failed
  std::string message;     // the search-log line of a failure ("" for a stopped search)
  bool isError = false;    // the line is an error line (not an INFO line)
};

class ArchiveTempCopies {
 public:
  // Creates a folder of its own below `base` (a name from the tick count, made unique); when
  // that fails, "TWtemp" below the system's temp folder. Returns the folder, ending in "/".
  static std::string MakeSearchFolder(const std::string& base);

  explicit ArchiveTempCopies(std::string folder, std::uint64_t sizeLimit = kNoSizeLimit)
      : folder_(std::move(folder)), sizeLimit_(sizeLimit) {}

  // The copies go with the result that used them (closed, or replaced by the next search).
  ~ArchiveTempCopies() { RemoveAll(); }
  ArchiveTempCopies(const ArchiveTempCopies&) = delete;
  ArchiveTempCopies& operator=(const ArchiveTempCopies&) = delete;

  const std::string& folder() const { return folder_; }
  std::uint64_t extracted() const { return extracted_; }

  // Search_CheckandCreateTempFileFromArchive: one member to "<folder><n>_<safe name>".
  TempCopyResult Extract(const ArchiveRef& archive, const std::string& pathInsideZip, RunControl& run,
                         std::function<void(std::uint64_t)> onWritten = {});
  // Deletes one copy; only files inside the folder are touched.
  void Remove(const std::string& path) const;
  // Deletes every copy and the folder itself (the result that used them is closed).
  void RemoveAll() const;

 private:
  std::string folder_;
  std::uint64_t sizeLimit_;
  std::uint64_t counter_ = 0;
  std::uint64_t extracted_ = 0;
};

}  // namespace twinex
