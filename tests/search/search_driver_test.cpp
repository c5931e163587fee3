#include <algorithm>

#include "search_fixture.h"

namespace twinex::test {
namespace {

TEST(SearchDriver, HeaderStepsAndSummaryOfASearchThatFindsNothing) {
  TempDir t;
  t.Write("one/a.txt", "a");
  t.Write("two/b.txt", "bb");
  MainSettings m = SettingsFor({t / "one", t / "two"});
  RecordedSearch r;
  r.Run(m);
  ASSERT_TRUE(r.outcome.started);
  ASSERT_EQ(r.observer.general, std::vector<std::string>{std::string(50, '-')});

  const auto& log = r.observer.log;
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0], "Suchmethode: Finde Dateiduplikate anhand Ihrer Eigenschaften");
  EXPECT_EQ(log[1], "1.Quellordner: " + (t / "one"));
  EXPECT_EQ(log[2], "2.Quellordner: " + (t / "two"));
  EXPECT_EQ(log[3], "Option: Vergleiche Dateien aus allen Quellordnern");
  EXPECT_TRUE(r.observer.Logged("Überprüfte Dateien: 2 / 2"));
  EXPECT_TRUE(r.observer.Logged("Es wurden 2 Ordner und 2 Dateien durchsucht und keine Duplikate gefunden."));
  EXPECT_TRUE(r.observer.errors.empty());

  // The six steps that every search has, numbered against their count.
  std::vector<std::string> numbered;
  for (const auto& s : r.observer.steps)
    if (s.find(" von 6 - ") != std::string::npos) numbered.push_back(s);
  EXPECT_EQ(numbered, (std::vector<std::string>{
                          "1 von 6 - Dateianzahl von allen Quellordnern wird ermittelt",
                          "2 von 6 - Vergleiche Dateien und erstelle Suchergebnis",
                          "3 von 6 - Formatiere Dateigröße",
                          "4 von 6 - Sortiere Gruppen",
                          "5 von 6 - Lösche Liste mit Dateien ohne Duplikate",
                          "6 von 6 - Die Breite von allen Spalten wird optimiert",
                      }));
}

TEST(SearchDriver, OptionalStepsJoinTheList) {
  TempDir t;
  t.Write("one/a.txt", "a");
  MainSettings m = SettingsFor({t / "one"});
  m.search.ShowOnlyFilesWithoutDups = true;
  m.search.LogFilesWithNoDups = true;
  m.search.RemoveGroupsDupsNotInsideAllSources = true;
  RecordedSearch r;
  r.Run(m);
  int nine = 0;
  for (const auto& s : r.observer.steps) nine += s.find(" von 9 - ") != std::string::npos;
  EXPECT_EQ(nine, 9);
  EXPECT_NE(std::find(r.observer.steps.begin(), r.observer.steps.end(), "2 von 9 - Vergleiche Dateien"),
            r.observer.steps.end());
}

TEST(SearchDriver, StopReasonsEndTheWalkAndStillRunTheClosingSteps) {
  TempDir t;
  for (int i = 0; i < 5; ++i) t.Write("src/f" + std::to_string(i), "x");
  MainSettings m = SettingsFor({t / "src"});
  RecordingObserver obs;
  ScriptedPrompt prompt;
  int seen = 0;
  auto outcome = StartSearchForDups(m, {}, obs, prompt, [&](Search& s) {
    s.checkFile = [&](Search& search, const EnumeratedFile&) {
      ++search.counters.filesChecked;
      if (++seen == 2) search.run.RequestStop(kStopUser);  // as Ctrl-C or the stop button would
    };
  });
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(outcome.stopReason, kStopUser);
  EXPECT_EQ(obs.errors, std::vector<std::string>{"Die Suche wurde von dem Anwender abgebrochen."});
  EXPECT_NE(obs.steps.back().find("6 von 6"), std::string::npos);

  // The duplicate limit stops the walk with its own reason.
  m.search.CancelSearchMaxDup = true;
  m.search.CancelSearchMaxDupCount = "3";
  RecordingObserver obs2;
  seen = 0;
  outcome = StartSearchForDups(m, {}, obs2, prompt, [&](Search& s) {
    s.checkFile = [&](Search& search, const EnumeratedFile&) {
      ++seen;
      search.counters.duplicates += 1;
    };
  });
  EXPECT_EQ(seen, 3);
  EXPECT_EQ(outcome.stopReason, kStopMaxDuplicates);
  EXPECT_EQ(obs2.errors, std::vector<std::string>{
                             "Die Suche wurde abgebrochen, da die vom Anwender festgelegte maximale Anzahl von 3 "
                             "Duplikaten gefunden wurde."});
}

TEST(SearchDriver, FilterQuestionAnsweredNoDropsTheFilters) {
  TempDir t;
  t.Write("src/a.jpg", "a");
  t.Write("src/b.txt", "b");
  MainSettings m = SettingsFor({t / "src"});
  m.search.FilterVerwendenBest = true;
  m.sources.fileOptions = {true, 0, false, false, false};
  m.sources.fileFilters = {{"*.jpg", true}};

  RecordedSearch yes;
  yes.prompt.answers = {PromptAnswer::Yes};
  yes.Run(m);
  EXPECT_EQ(yes.files.size(), 1u);
  EXPECT_EQ(yes.prompt.texts.front(), "Sollen die Datei- und Ordnerfilter bei der Suche verwendet werden?");
  EXPECT_TRUE(yes.observer.Logged("1.Dateifilter: *.jpg"));

  RecordedSearch no;
  no.prompt.answers = {PromptAnswer::No};
  no.Run(m);
  EXPECT_EQ(no.files.size(), 2u);
}

TEST(SearchDriver, AfterSearchActionsAskAndReport) {
  TempDir t;
  t.Write("src/a", "a");
  MainSettings m = SettingsFor({t / "src"});
  SearchEnvironment env;
  env.afterSearchAction = 1;
  int requested = 0;
  env.requestPowerState = [&](bool) {
    ++requested;
    return std::string("systemctl: not allowed");
  };
  RecordedSearch r;
  r.prompt.answers = {PromptAnswer::Ok};
  r.Run(m, env);
  EXPECT_EQ(requested, 1);
  ASSERT_EQ(r.prompt.texts.size(), 2u);
  EXPECT_EQ(r.prompt.texts[0], "Der StandBy-Modus wird in 20 Sekunden aktiviert...");
  EXPECT_EQ(r.prompt.texts[1], "Beim Starten des StandBy-Modus ist ein Fehler aufgetreten: systemctl: not allowed");
  EXPECT_TRUE(r.observer.Logged("Windows Standby wird ausgeführt..."));

  RecordedSearch cancelled;  // Cancel skips the power request
  cancelled.Run(m, env);
  EXPECT_EQ(requested, 1);
}

}  // namespace
}  // namespace twinex::test
