#pragma once
// One HTTP(S) GET through libcurl, into a file or a text, with progress and cancel. Certificates
// are always checked; only http and https are followed, redirects included.
#include <cstdint>
#include <functional>
#include <string>

#include "update/update_settings.h"

namespace twinex {
class RunControl;
}

namespace twinex::update {

struct FetchRequest {
  std::string url;
  std::string targetFile;  // "" fetches into FetchResult::text; a file must not exist yet
  ProxySettings proxy;
  const RunControl* control = nullptr;  // a stop request cancels the transfer
  // Received bytes and the announced total (0 while unknown); called from the fetching thread.
  std::function<void(std::uint64_t received, std::uint64_t total)> progress;
  long connectTimeoutSeconds = 20;
  long stallSeconds = 60;                 // a transfer that receives nothing for this long fails
  std::size_t maxTextBytes = 1 << 20;     // a text larger than this is refused
  std::string userAgent;
};

struct FetchResult {
  // "" on success; otherwise the reason followed by the failing step in brackets, or
  // "HttpQueryStatusCode: " and the status.
  std::string error;
  bool cancelled = false;
  long status = 0;
  std::string text;
  std::uint64_t received = 0;
  std::uint64_t total = 0;  // the announced size; 0 when the server did not say
};

// A failed or cancelled fetch into a file removes what it wrote.
FetchResult DownloadFileToDiskOrString(const FetchRequest& request);

}  // namespace twinex::update
