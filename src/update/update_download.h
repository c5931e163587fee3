#pragma once
// The download of a new release: the package's name and place, the rule that an existing file is
// never overwritten, progress and cancel, and the SHA-256 check against the checksum published
// beside the package. Nothing is run here: the front end offers to open the package when the
// program ends.
#include <cstdint>
#include <functional>
#include <string>

#include "update/update_check.h"

namespace twinex::update {

// "Twinex_Update_4.6.0.deb"; in portable mode "Twinex_Portable_4.6.0.tar.gz".
std::string PackageFileName(const Version& version, bool portable);

struct DownloadRequest {
  Version version;
  bool portable = false;
  std::string folder;       // the download folder, expanded
  std::string serverFolder; // the address the package and its ".sha256" lie under
  ProxySettings proxy;
  const RunControl* control = nullptr;
  std::function<void(std::uint64_t received, std::uint64_t total)> progress;
  FetchFunction fetch;      // empty: the real HTTP client
};

enum class DownloadResult { Done, Exists, Cancelled, Failed, ChecksumMismatch };

struct DownloadOutcome {
  DownloadResult result = DownloadResult::Failed;
  std::string file;   // the package (Done, Exists, ChecksumMismatch: the name it would have had)
  std::string error;  // Failed: the reason
  // The message the update window shows for the outcome, translated.
  std::string Message() const;
};

// DLandFilesize with what surrounds it. The package is written under a temporary name and takes
// its own name only once complete and verified, so a cancelled, failed or crashed download never
// leaves a file that the existing-file rule would then refuse to replace.
DownloadOutcome DownloadUpdate(const DownloadRequest& request);

// The SHA-256 of a file in lower-case hex; "" when it cannot be read.
std::string FileSha256(const std::string& path);
// The first word of a ".sha256" file when it is 64 hex digits (lower-cased); "" otherwise.
std::string PublishedSha256(const std::string& text);

// Hands the package to the desktop's installer (xdg-open); "" or the reason it failed.
std::string OpenPackage(const std::string& file);

}  // namespace twinex::update
