#include <unistd.h>

#include "platform/text.h"
#include "search_fixture.h"

namespace twinex::test {
namespace {

std::string Refusal(const MainSettings& m) {
  ScriptedPrompt prompt;
  EXPECT_FALSE(ValidateSearchStart(m, prompt));
  return prompt.texts.empty() ? "" : prompt.texts.front();
}

TEST(StartChecks, RefusesInOrderWithTheExactMessages) {
  TempDir t;
  std::string a = t.MakeDir("a"), b = t.MakeDir("b");

  MainSettings m = SettingsFor({a});
  m.search.Suchkriterien = {};
  EXPECT_EQ(Refusal(m), "Es ist kein Suchkriterium ausgewählt.");
  m.search.SearchMethod = kMethodHardlinks;  // other methods need no criterion
  ScriptedPrompt ok;
  EXPECT_TRUE(ValidateSearchStart(m, ok));

  m = SettingsFor({a, t / "missing"});
  EXPECT_EQ(Refusal(m), "Der Quellordner '" + (t / "missing") + "' konnte nicht gefunden werden!");

  m = SettingsFor({a});
  m.sources.sources[0].ticked = false;
  EXPECT_EQ(Refusal(m), "Es ist kein Quellordner ausgewählt!");

  m = SettingsFor({a});
  m.search.SourceFolderCompareMode = 2;
  EXPECT_EQ(Refusal(m),
            "Die ausgewählte Vergleichsmethode 'Vergleiche nur Dateien aus unterschiedlichen Quellordnern' benötigt "
            "mindestens 2 Quellordner!");
  m = SettingsFor({a, b});
  m.search.SourceFolderCompareMode = 2;
  EXPECT_TRUE(ValidateSearchStart(m, ok));
}

TEST(StartChecks, OverlapRules) {
  TempDir t;
  std::string data = t.MakeDir("Data"), sub = t.MakeDir("Data/sub"), database = t.MakeDir("Database");
  std::string first, second;

  MainSettings m = SettingsFor({data, sub});
  EXPECT_TRUE(FindOverlappingSources(m.sources.sources, first, second));
  EXPECT_EQ(first, data);
  std::string msg = Refusal(m);
  EXPECT_NE(msg.find("überschneiden sich."), std::string::npos);
  EXPECT_NE(msg.find("'" + platform::UpperCase(data) + "' und '" + platform::UpperCase(sub) + "'"), std::string::npos);
  EXPECT_NE(msg.find("\r\n\r\n"), std::string::npos);

  m.sources.sources[0].includeSubfolders = false;  // the outer one without subfolders
  EXPECT_FALSE(FindOverlappingSources(m.sources.sources, first, second));

  m = SettingsFor({data, database});  // a shared prefix is not a parent
  EXPECT_FALSE(FindOverlappingSources(m.sources.sources, first, second));

  m = SettingsFor({data, data + "/"});
  EXPECT_TRUE(FindOverlappingSources(m.sources.sources, first, second));

  m = SettingsFor({"/", data});  // the root with subfolders overlaps everything
  EXPECT_TRUE(FindOverlappingSources(m.sources.sources, first, second));

  // Two names of one folder would find every file twice.
  ASSERT_EQ(symlink(data.c_str(), (t / "alias").c_str()), 0);
  m = SettingsFor({t / "alias", sub});
  EXPECT_TRUE(FindOverlappingSources(m.sources.sources, first, second));
}

TEST(StartChecks, MethodsNotYetAvailableRefuseTheStart) {
  TempDir t;
  t.MakeDir("src");
  MainSettings m = SettingsFor({t / "src"});
  for (int method : {kMethodSimilarNames, kMethodSimilarPictures, kMethodSimilarMusic, kMethodTrackLength}) {
    m.search.SearchMethod = method;
    ScriptedPrompt prompt;
    EXPECT_FALSE(ValidateSearchStart(m, prompt)) << method;
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_EQ(prompt.texts[0], "Die Suchmethode '" + SearchMethodText(method) + "' ist in dieser Version noch nicht verfügbar.");
  }
  for (int method : {kMethodProperties, kMethodHardlinks}) {
    m.search.SearchMethod = method;
    ScriptedPrompt prompt;
    EXPECT_TRUE(ValidateSearchStart(m, prompt)) << method;
  }
}

TEST(StartChecks, CancelSearchAsksAndStopsOnlyOnYes) {
  ScriptedPrompt prompt;
  RunControl run;
  prompt.answers = {PromptAnswer::No};
  EXPECT_FALSE(CancelSearch(prompt, run));
  EXPECT_FALSE(run.StopRequested());
  prompt.answers = {PromptAnswer::Yes};
  EXPECT_TRUE(CancelSearch(prompt, run));
  EXPECT_TRUE(run.StopRequested());
  EXPECT_EQ(run.StopReason(), kStopUser);
  EXPECT_EQ(prompt.texts.back(), "Soll die Suche abgebrochen werden?");
}

}  // namespace
}  // namespace twinex::test
