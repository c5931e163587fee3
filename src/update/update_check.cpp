#include "update/update_check.h"

#include "platform/date_time.h"
#include "platform/text.h"
#include "settings/settings_file.h"

namespace twinex::update {
namespace {

FetchResult Fetch(const FetchFunction& fetch, const FetchRequest& request) {
  return fetch ? fetch(request) : DownloadFileToDiskOrString(request);
}

std::string WithLanguage(const std::string& address, bool german) {
  return platform::ReplaceAll(address, "%1", german ? "de" : "en");
}

// Stored in the snapshot the window writes back, and in the file at once.
void RememberCheck(CheckContext& c, CheckKind kind, double now) {
  StoreCheckDate(c.settings, kind, now);
  if (!c.persistDates) return;
  const char* key = kind == CheckKind::Release ? "CheckNewVersionDate" : "CheckNewBetaVersionDate";
  (void)ProfilePutItemWide("Start", key, c.settings.Get("Start", key), c.settingsFile);
}

// What the two checks share; they differ in their address, switch, date key and texts.
CheckOutcome RunCheck(CheckContext& c, bool manual, CheckKind kind) {
  CheckOutcome out;
  const bool release = kind == CheckKind::Release;
  const double now = c.now != 0 ? c.now : platform::Now();
  if (!CheckDue(LastCheckDate(c.settings, kind), now, manual, release ? c.autoRelease : c.autoBeta)) return out;
  RememberCheck(c, kind, now);

  const UpdateSettings update = LoadUpdateSettings(c.settings);
  const VersionAnswer answer = GetVersionFromInternet(
      release ? update.server.versionFile : update.server.betaVersionFile, update.proxy, c.fetch);
  if (!answer.error.empty()) {
    out.result = CheckResult::Failed;
    out.error = answer.error;
    if (manual)
      c.prompt.Ask(PromptMessage::Make(
          release ? TextRef{23002, "Bei der Überprüfung ist ein Fehler aufgetreten: %1"}
                  : TextRef{23003, "Beim Überprüfen auf eine neue Betaversion von Twinex ist ein Fehler aufgetreten: %1"},
          {answer.error}, PromptButtons::Ok, PromptIcon::Exclamation));
    return out;
  }
  out.available = answer.version;
  if (!IsNewer(answer.version, c.installed)) {
    out.result = CheckResult::NotNewer;
    if (manual) c.prompt.Ask(PromptMessage::Make(TextRef{23001, "Es ist keine aktuellere Version vorhanden."}));
    return out;
  }
  out.result = CheckResult::Newer;
  const PromptMessage question =
      release ? PromptMessage::Make(TextRef{23000, "Im Internet steht die Version %1 zum Download zur Verfügung. "
                                                   "Soll das Internet Update gestartet werden?"},
                                    {answer.version.Text()}, PromptButtons::YesNo, PromptIcon::Question)
              : PromptMessage::Make(TextRef{23004, "Eine neue Betaversion steht zum Download zur Verfügung. Soll die "
                                                   "Downloadseite mit Ihrem Internetbrowser geöffnet werden?"},
                                    {}, PromptButtons::YesNo, PromptIcon::Question);
  if (c.prompt.Ask(question) != PromptAnswer::Yes) return out;
  if (release)
    out.openUpdateWindow = true;
  else
    out.openPage = WithLanguage(update.server.betaPage, c.germanInterface);
  return out;
}

}  // namespace

bool CheckDue(double lastCheck, double now, bool manual, bool autoSwitch) {
  if (manual) return true;
  if (!autoSwitch) return false;
  // A stored value beyond any plausible date counts as long ago.
  const double hours = lastCheck < 50000 ? (now - lastCheck) * 24.0 : 25.0;
  return !(hours >= 0 && hours < 24);
}

VersionAnswer GetVersionFromInternet(const std::string& url, const ProxySettings& proxy, const FetchFunction& fetch) {
  VersionAnswer answer;
  FetchRequest request;
  request.url = url;
  request.proxy = proxy;
  request.maxTextBytes = 64 * 1024;
  request.userAgent = "Twinex/" + InstalledVersion().Text();
  FetchResult got = Fetch(fetch, request);
  if (!got.error.empty()) {
    answer.error = got.error;
    return answer;
  }
  answer.text = got.text;
  const std::optional<Version> version = ParseVersionFile(got.text);
  if (!version) {
    std::string shown = platform::Trim(got.text.substr(0, 40));
    answer.error = z_Translate(23014, "Die Versionsdatei '%1' ist ungültig: '%2'", {url, shown});
    return answer;
  }
  answer.version = *version;
  return answer;
}

CheckOutcome CheckNewVersion(CheckContext& context, bool manual) { return RunCheck(context, manual, CheckKind::Release); }

CheckOutcome CheckNewBetaVersion(CheckContext& context, bool manual) { return RunCheck(context, manual, CheckKind::Beta); }

}  // namespace twinex::update
