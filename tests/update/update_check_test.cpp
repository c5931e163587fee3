// Version files, the 24-hour rule and the checks against a local server.
#include <gtest/gtest.h>

#include "update/http_test_server.h"
#include "platform/date_time.h"
#include "support/scripted_prompt.h"
#include "update/update_check.h"

namespace twinex::update {
namespace {

TEST(UpdateVersion, VersionFilesAndComparison) {
  ASSERT_TRUE(ParseVersionFile("  #4.6.0\r\n"));
  EXPECT_EQ(ParseVersionFile("#4.6.0")->Text(), "4.6.0");
  EXPECT_EQ(ParseVersionFile("#4.\r\n6.1")->Text(), "4.6.1");  // line breaks are removed
  for (const char* bad : {"4.6.0", "#", "#x.1", "# 4.6", "", "#4.a.0", "<html>404</html>"})
    EXPECT_FALSE(ParseVersionFile(bad)) << bad;

  const Version installed = *ParseVersionText("4.5.0.70");
  EXPECT_TRUE(IsNewer(*ParseVersionFile("#4.6.0"), installed));
  EXPECT_FALSE(IsNewer(*ParseVersionFile("#4.5.0"), installed));
  EXPECT_TRUE(IsNewer({5, 0, 0}, {4, 9, 9}));
  EXPECT_FALSE(IsNewer({4, 4, 9}, {4, 5, 0}));
  EXPECT_TRUE(IsNewer({4, 5, 1}, {4, 5, 0}));

  EXPECT_EQ(CompareVersionLabels("?", "4.6.0").internetLabel, "-");
  EXPECT_EQ(CompareVersionLabels("4.5.0", "").internetLabel, "-");
  EXPECT_TRUE(CompareVersionLabels("4.5.0", "4.6.0").newer);
  EXPECT_FALSE(CompareVersionLabels("4.5.0", "4.5.0").newer);
}

TEST(UpdateVersion, TwentyFourHourRule) {
  const double now = platform::MakeDate(2026, 12, 6, 12);
  const double hoursAgo23 = now - 23.0 / 24;
  EXPECT_FALSE(CheckDue(hoursAgo23, now, false, true));
  EXPECT_TRUE(CheckDue(hoursAgo23, now, true, false));  // manual: always, switch or not
  EXPECT_TRUE(CheckDue(now - 25.0 / 24, now, false, true));
  EXPECT_TRUE(CheckDue(0, now, false, true));
  EXPECT_TRUE(CheckDue(now + 2, now, false, true));     // a date from the future does not block
  EXPECT_TRUE(CheckDue(60000, now, false, true));
  EXPECT_FALSE(CheckDue(0, now, false, false));         // automatic check switched off
}

TEST(UpdateVersion, ProxyPasswordIsStoredScrambled) {
  for (const std::string password : {"", "geheim", "pä:ss w0rd with a long tail"}) {
    const std::string stored = ScramblePassword(password);
    if (!password.empty()) {
      EXPECT_EQ(stored.find(password), std::string::npos);
    }
    EXPECT_EQ(UnscramblePassword(stored), password);
  }
  EXPECT_EQ(UnscramblePassword("zz"), "");
  EXPECT_EQ(UnscramblePassword("abc"), "");

  WindowSettings settings;
  UpdateSettings u;
  u.proxy = {true, "proxy.lan", "8080", "anna", "s3cret"};
  StoreUpdateSettings(u, settings);
  EXPECT_NE(settings.Get("Update", "ProxyPW"), "s3cret");
  const UpdateSettings back = LoadUpdateSettings(settings);
  EXPECT_EQ(back.proxy.password, "s3cret");
  EXPECT_EQ(back.proxy.port, "8080");
  EXPECT_TRUE(back.proxy.use);
}

TEST(UpdateVersion, DownloadFolderFallsBackWhenItsVariableIsUnset) {
  setenv("TWINEX_TEST_DL", "/srv/dl", 1);
  EXPECT_EQ(ExpandDownloadFolder("%TWINEX_TEST_DL%/new", "/upd"), "/srv/dl/new");
  unsetenv("TWINEX_TEST_DL");
  EXPECT_EQ(ExpandDownloadFolder("%TWINEX_TEST_DL%", "/upd"), "/upd");
  EXPECT_EQ(ExpandDownloadFolder("", "/upd"), "/upd");
}

// A check against the local server, with the addresses pointing there.
struct CheckFixture : ::testing::Test {
  twinex::testing::TestHttpServer server;
  test::ScriptedPrompt prompt;
  WindowSettings settings;
  double now = platform::MakeDate(2026, 12, 6, 12);

  CheckContext Context() {
    settings.Set("Update", "VersionURL", server.Url("/version.txt"));
    settings.Set("Update", "BetaVersionURL", server.Url("/beta.txt"));
    settings.Set("Update", "BetaPageURL", "https://example.invalid/beta_%1.html");
    CheckContext c(settings, prompt);
    c.autoRelease = c.autoBeta = true;
    c.persistDates = false;
    c.installed = {4, 5, 0};
    c.now = now;
    return c;
  }
};

TEST_F(CheckFixture, NewerVersionAsksAndOpensTheWindow) {
  server.Set("/version.txt", {200, "#4.6.0\r\n"});
  prompt.answers = {PromptAnswer::Yes};
  CheckContext c = Context();
  const CheckOutcome out = CheckNewVersion(c, false);
  EXPECT_EQ(out.result, CheckResult::Newer);
  EXPECT_TRUE(out.openUpdateWindow);
  ASSERT_EQ(prompt.texts.size(), 1u);
  EXPECT_NE(prompt.texts[0].find("4.6.0"), std::string::npos);
  EXPECT_DOUBLE_EQ(LastCheckDate(settings, CheckKind::Release), now);
  // Within the next 24 hours the automatic check stays quiet and fetches nothing.
  const std::size_t fetched = server.Requests().size();
  c.now = now + 1.0 / 24;
  EXPECT_EQ(CheckNewVersion(c, false).result, CheckResult::Skipped);
  EXPECT_EQ(server.Requests().size(), fetched);
}

TEST_F(CheckFixture, SameVersionIsReportedOnlyToAManualCheck) {
  server.Set("/version.txt", {200, "#4.5.0"});
  CheckContext c = Context();
  EXPECT_EQ(CheckNewVersion(c, false).result, CheckResult::NotNewer);
  EXPECT_TRUE(prompt.texts.empty());
  EXPECT_EQ(CheckNewVersion(c, true).result, CheckResult::NotNewer);
  ASSERT_EQ(prompt.texts.size(), 1u);
  EXPECT_EQ(prompt.texts[0], "Es ist keine aktuellere Version vorhanden.");
}

TEST_F(CheckFixture, MalformedFileAnd404AreErrorsOfAManualCheckOnly) {
  server.Set("/version.txt", {200, "<html>maintenance</html>"});
  CheckContext c = Context();
  CheckOutcome out = CheckNewVersion(c, false);
  EXPECT_EQ(out.result, CheckResult::Failed);
  EXPECT_TRUE(prompt.texts.empty());
  // The date was stored before the fetch: the failing automatic check is not repeated at once.
  EXPECT_DOUBLE_EQ(LastCheckDate(settings, CheckKind::Release), now);

  out = CheckNewVersion(c, true);
  ASSERT_EQ(prompt.texts.size(), 1u);
  EXPECT_EQ(prompt.texts[0].rfind("Bei der Überprüfung ist ein Fehler aufgetreten: ", 0), 0u);
  EXPECT_NE(prompt.texts[0].find("maintenance"), std::string::npos);

  out = CheckNewBetaVersion(c, true);  // no beta file on the server
  EXPECT_EQ(out.error, "HttpQueryStatusCode: 404");
  EXPECT_NE(prompt.texts.back().find("Betaversion"), std::string::npos);
}

TEST_F(CheckFixture, NewerBetaOffersThePageInTheInterfaceLanguage) {
  server.Set("/beta.txt", {200, "#4.5.1"});
  prompt.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
  CheckContext c = Context();
  c.germanInterface = false;
  EXPECT_EQ(CheckNewBetaVersion(c, true).openPage, "https://example.invalid/beta_en.html");
  c.germanInterface = true;
  EXPECT_EQ(CheckNewBetaVersion(c, true).openPage, "https://example.invalid/beta_de.html");
  // The release check keeps its own date.
  EXPECT_DOUBLE_EQ(LastCheckDate(settings, CheckKind::Release), 0);
}

TEST(UpdateFetch, UnreachableServerNamesTheStep) {
  // A port nothing listens on: the loopback refuses at once.
  const std::string url = "http://127.0.0.1:1/version.txt";
  FetchRequest request;
  request.url = url;
  const FetchResult r = DownloadFileToDiskOrString(request);
  EXPECT_NE(r.error.find("(InternetConnect)"), std::string::npos) << r.error;
}

}  // namespace
}  // namespace twinex::update
