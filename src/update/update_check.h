#pragma once
// The release and beta checks: when they are due, fetching and reading the version files, and
// the questions and messages that follow. Toolkit-free; the front end shows the update window or
// opens the beta page when the outcome says so.
#include <functional>
#include <string>

#include "settings/prompt.h"
#include "settings/window_settings.h"
#include "update/http_fetch.h"
#include "update/update_settings.h"
#include "update/version.h"

namespace twinex::update {

using FetchFunction = std::function<FetchResult(const FetchRequest&)>;

struct CheckContext {
  CheckContext(WindowSettings& windowSettings, Prompt& questions) : settings(windowSettings), prompt(questions) {}
  WindowSettings& settings;      // the "Start" and "Update" sections
  Prompt& prompt;
  bool autoRelease = false;      // "CheckNewVersion": check for releases at program start
  bool autoBeta = false;         // "CheckNewBetaVersion"
  bool germanInterface = true;   // picks the German or English beta page
  // Where the date of a check is written at once, so that a check that fails or crashes is not
  // repeated within 24 hours; "" writes to the program's settings file.
  std::string settingsFile;
  bool persistDates = true;
  Version installed = InstalledVersion();
  double now = 0;                // 0: the current time
  FetchFunction fetch;           // empty: the real HTTP client
};

// Whether a check runs: a manual one always; an automatic one when its switch is on and the last
// check lies not between 0 and 24 hours back (a stored date from the future does not block it).
bool CheckDue(double lastCheck, double now, bool manual, bool autoSwitch);

// Fetches a version file; on success the version, else the error text.
struct VersionAnswer {
  std::string error;
  Version version;
  std::string text;  // the file as received
};
VersionAnswer GetVersionFromInternet(const std::string& url, const ProxySettings& proxy, const FetchFunction& fetch);

enum class CheckResult { Skipped, NotNewer, Newer, Failed };
struct CheckOutcome {
  CheckResult result = CheckResult::Skipped;
  Version available;
  std::string error;
  bool openUpdateWindow = false;  // the user answered Yes to the new release
  std::string openPage;           // the beta page to open in the browser, when answered Yes
};

// CheckNewversion and CheckNewBetaVersion.
CheckOutcome CheckNewVersion(CheckContext& context, bool manual);
CheckOutcome CheckNewBetaVersion(CheckContext& context, bool manual);

}  // namespace twinex::update
