#include "app/session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>

#include <stdexcept>

#include "app/logs.h"
#include "platform/text.h"
#include "search/check_file.h"
#include "search/search_fixture.h"
#include "settings/debug_trace.h"
#include "settings/profiles.h"
#include "settings/settings_file.h"

namespace twinex::test {
namespace {

struct RecordingListener : SessionListener {
  std::size_t groupsAdded = 0, rowsChanged = 0, selectionChanged = 0;
  std::vector<WorkError> errors;
  void OnGroupsAdded(std::size_t, std::size_t count) override { groupsAdded += count; }
  void OnRowsChanged() override { ++rowsChanged; }
  void OnSelectionChanged(const ResultCounters&) override { ++selectionChanged; }
  void OnError(const WorkError& e) override { errors.push_back(e); }
};

struct Actions : ActionObserver {
  std::vector<std::string> lines;
  void OnLog(const std::string& text, bool) override { lines.push_back(text); }
};

// A started session over its own data folder, with three copies of one file to search.
class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    setenv("LANG", "de_DE.UTF-8", 1);
    for (const char* f : {"src/a/x.txt", "src/b/x.txt", "src/c/x.txt"}) dir.Write(f, "the same bytes");
    StartupRequest r;
    r.executablePath = dir / "bin/twinex";
    r.version = "4.0.0";
    ASSERT_EQ(session.Start(r), "");
    session.LoadSettings();
    MainSettings m = SettingsFor({dir / "src"});
    m.search.Suchkriterien[kCritContent] = true;
    session.settings() = m;
  }
  void TearDown() override {
    unsetenv("XDG_DATA_HOME");
    SetLogFiles({});
    SetSettingsFolders({});
    SetSettingsFilePath("");
  }
  FileManagerRequest DeleteRequest() {
    FileManagerRequest r;
    r.settings.Aktion = FileAction::Delete;
    r.settings.SecureHint = false;
    r.settings.IgnoreGroupsAllFilesSelected = true;
    return r;
  }
  // Wraps the per-file step so a test can act after the n-th file.
  std::function<void(Search&)> AfterFile(int n, std::function<void()> act) {
    return [this, n, act](Search& s) {
      s.checkFile = [this, n, act](Search& search, const EnumeratedFile& f) {
        Search_CheckFile(search, f);
        if (++seen == n) act();
      };
    };
  }

  TempDir dir;
  RecordingObserver observer;
  Actions actions;
  ScriptedPrompt prompt;
  RecordingListener listener;
  int seen = 0;
  Session session{{observer, actions, prompt, &listener}};
};

TEST_F(SessionTest, ACompleteSearchCanBeSelectedAndActedOnWithEventsForTheView) {
  const SearchReport report = session.RunSearch(session.MakeSearchEnvironment());
  ASSERT_TRUE(report.Complete());
  EXPECT_EQ(listener.groupsAdded, 1u);
  ASSERT_NE(session.selection(), nullptr);

  EXPECT_EQ(session.Select(SelectToolId::KeepFirst, {}).selected, 2u);
  EXPECT_EQ(listener.selectionChanged, 1u);
  EXPECT_EQ(session.ActionRefusal(), "");
  const FileManagerOutcome out = session.RunAction(DeleteRequest());
  ASSERT_TRUE(out.started) << out.refusal;
  EXPECT_EQ(out.counters.deleted, 2u);
  EXPECT_EQ(listener.rowsChanged, 1u);
  EXPECT_TRUE(Exists(session.app().paths.userDataFolder + "/TwinexActions.lock")) << "the run took turns by the lock";
  int left = 0;
  for (const char* f : {"src/a/x.txt", "src/b/x.txt", "src/c/x.txt"}) left += Exists(dir / f);
  EXPECT_EQ(left, 1);
  // The action's lines went to the front end and into the search's log.
  EXPECT_FALSE(actions.lines.empty());

  // A removal command takes the group of the one file left out of the list.
  RemovalRequest lone;
  lone.fileCount = 1;
  EXPECT_EQ(session.Remove(RemovalId::RemoveGroup_WithXfiles, lone), 1u);
  EXPECT_EQ(listener.rowsChanged, 2u);
  EXPECT_TRUE(session.search()->result.groups.empty());
}

TEST_F(SessionTest, AStoppedSearchKeepsItsReasonAndNoFileActionRunsOnItsResult) {
  const SearchReport report =
      session.RunSearch(session.MakeSearchEnvironment(), AfterFile(2, [&] { session.RequestStop(kStopUser); }));
  EXPECT_TRUE(report.started);
  EXPECT_EQ(report.stopReason, kStopUser);
  EXPECT_FALSE(report.Complete());
  session.Select(SelectToolId::SelectAll, {});
  EXPECT_NE(session.ActionRefusal(), "");
  const FileManagerOutcome out = session.RunAction(DeleteRequest());
  EXPECT_FALSE(out.started);
  EXPECT_EQ(out.refusal, session.ActionRefusal());
  for (const char* f : {"src/a/x.txt", "src/b/x.txt", "src/c/x.txt"}) EXPECT_TRUE(Exists(dir / f)) << f;

  // The next search starts afresh: the stop belonged to the one before.
  seen = 0;
  EXPECT_TRUE(session.RunSearch(session.MakeSearchEnvironment()).Complete());
}

TEST_F(SessionTest, APauseOrStopRightAfterAStartedSearchIsKept) {
  // The window's controls act on the search at once, before its thread has begun.
  std::future<SearchReport> started = session.StartSearch(session.MakeSearchEnvironment());
  session.searchControl().RequestStop(kStopUser);
  EXPECT_EQ(started.get().stopReason, kStopUser);

  started = session.StartSearch(session.MakeSearchEnvironment());
  session.searchControl().Pause();
  EXPECT_EQ(started.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
  // The window may edit the settings meanwhile: the running search keeps what it started with.
  session.settings().sources.sources.clear();
  session.searchControl().Resume();
  EXPECT_TRUE(started.get().Complete());
  ASSERT_NE(session.search(), nullptr);
  EXPECT_EQ(session.search()->result.groups.size(), 1u);
}

TEST_F(SessionTest, AnErrorInsideASearchBecomesAnErrorRecordAndAFailedRun) {
  const SearchReport report = session.RunSearch(
      session.MakeSearchEnvironment(), AfterFile(1, [] { throw std::runtime_error("disk went away"); }));
  EXPECT_EQ(report.stopReason, kStopFailed);
  EXPECT_EQ(observer.errors.back(), "Die Suche wurde wegen eines Fehlers abgebrochen: disk went away");
  EXPECT_NE(platform::DecodeUtf16LE(ReadFile(GetLogFiles().errorLog)).find("disk went away"), std::string::npos);
  EXPECT_NE(session.ActionRefusal(), "");
  // The session goes on working.
  seen = 0;
  EXPECT_TRUE(session.RunSearch(session.MakeSearchEnvironment()).Complete());
}

TEST_F(SessionTest, ASavedResultComesBackWithItsStateAndIsCheckedAgainstTheDiskBeforeActions) {
  ASSERT_TRUE(session.RunSearch(session.MakeSearchEnvironment()).Complete());
  session.Select(SelectToolId::KeepFirst, {});
  const SaveResultOutcome saved = session.SaveResult("", true);
  ASSERT_TRUE(saved.saved) << saved.error;
  EXPECT_EQ(saved.name, "AutoSave001");
  const std::string kept = session.search()->result.groups[0].files[0].FullPath();
  const std::string changed = session.search()->result.groups[0].files[1].FullPath();
  dir.Write(changed.substr(dir.path().size() + 1), "other bytes now");

  ASSERT_EQ(session.LoadResult("AutoSave001"), "");
  EXPECT_EQ(session.resultName(), "AutoSave001");
  EXPECT_EQ(session.search()->result.counters.DupCountSelected, 2);
  EXPECT_EQ(session.search()->sourceTable.size(), 1u);
  EXPECT_EQ(session.ActionRefusal(), "");
  const FileManagerOutcome out = session.RunAction(DeleteRequest());
  EXPECT_EQ(out.counters.deleted, 1u);
  EXPECT_EQ(out.counters.errors, 1u) << "the file changed since the save is left alone";
  EXPECT_TRUE(Exists(kept));
  EXPECT_TRUE(Exists(changed));
}

TEST_F(SessionTest, TheAfterSearchStepSavesTheResultUnderTheNextAutoSaveName) {
  SearchEnvironment env = session.MakeSearchEnvironment();
  env.saveReport = true;
  ASSERT_TRUE(session.RunSearch(env).Complete());
  EXPECT_EQ(session.resultName(), "AutoSave001");
  ASSERT_EQ(session.LoadResult("AutoSave001"), "");
  EXPECT_EQ(session.search()->result.counters.DupCount, 3);
}

TEST_F(SessionTest, TheResultOfAStoppedSearchStaysClosedToFileActionsAfterALoad) {
  session.RunSearch(session.MakeSearchEnvironment(), AfterFile(2, [&] { session.RequestStop(kStopUser); }));
  ASSERT_TRUE(session.SaveResult("halb").saved);
  seen = 0;
  ASSERT_TRUE(session.RunSearch(session.MakeSearchEnvironment()).Complete());
  EXPECT_EQ(session.ActionRefusal(), "");
  ASSERT_EQ(session.LoadResult("halb"), "");
  EXPECT_NE(session.ActionRefusal(), "");
  EXPECT_NE(session.LoadResult("nie gespeichert"), "");
  EXPECT_NE(prompt.texts.back().find("Das Suchergebnis kann nicht geladen werden:"), std::string::npos);
}

TEST(WorkRunner, AJobThatThrowsIsReportedAndTheNextOneStillRuns) {
  std::vector<WorkError> errors;
  WorkRunner runner([&](const WorkError& e) { errors.push_back(e); });
  EXPECT_FALSE(runner.Run("export", [] { throw std::runtime_error("no space left"); }));
  bool ran = false;
  EXPECT_TRUE(runner.Run("next", [&] { ran = true; }));
  EXPECT_TRUE(ran);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].job, "export");
  EXPECT_EQ(errors[0].message, "no space left");
}

TEST(WorkRunner, RunsJobsInOrderAndJobsPostedFromAJobRunInPlace) {
  std::vector<int> order;
  WorkRunner runner;
  std::future<bool> a = runner.Post("a", [&] { order.push_back(1); });
  EXPECT_TRUE(runner.Run("b", [&] {
    order.push_back(2);
    EXPECT_TRUE(runner.Run("inner", [&] { order.push_back(3); }));
  }));
  EXPECT_TRUE(a.get());
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

// Stands in for the desktop: records what the after-search actions asked of it.
struct FakeDesktop : platform::Desktop {
  std::vector<std::string> sounds;
  std::vector<bool> powerRequests;  // true: hibernation
  std::string powerError;
  void PlaySound(const std::string& file) override { sounds.push_back(file); }
  std::string RequestPowerState(bool hibernate) override {
    powerRequests.push_back(hibernate);
    return powerError;
  }
};

TEST_F(SessionTest, AfterSearchActionsReachTheDesktop) {
  FakeDesktop desktop;
  session.SetDesktop(&desktop);
  const std::string sound = dir.Write("ding.mp3", "sound");
  session.settings().options.PlaySoundAfterSearch = true;
  session.settings().options.SoundFileAfterSearch = sound;
  session.SetAfterSearchAction(2);
  prompt.answers = {PromptAnswer::Ok};
  ASSERT_TRUE(session.RunSearch(session.MakeSearchEnvironment()).Complete());
  EXPECT_EQ(desktop.sounds, std::vector<std::string>{sound});
  EXPECT_EQ(desktop.powerRequests, std::vector<bool>{true});

  // Cancel in the 20-second question skips standby; a refusal of the system is shown.
  session.SetAfterSearchAction(1);
  prompt.answers = {PromptAnswer::Cancel};
  session.RunSearch(session.MakeSearchEnvironment());
  EXPECT_EQ(desktop.powerRequests.size(), 1u);
  desktop.powerError = "Interactive authentication required.";
  prompt.answers = {PromptAnswer::Ok};
  session.RunSearch(session.MakeSearchEnvironment());
  EXPECT_EQ(desktop.powerRequests, (std::vector<bool>{true, false}));
  EXPECT_EQ(prompt.texts.back(),
            "Beim Starten des StandBy-Modus ist ein Fehler aufgetreten: Interactive authentication required.");

  // A search the user stopped plays nothing and keeps the machine awake.
  const std::size_t sounds = desktop.sounds.size();
  session.RunSearch(session.MakeSearchEnvironment(), AfterFile(1, [&] { session.RequestStop(kStopUser); }));
  EXPECT_EQ(desktop.sounds.size(), sounds);
  EXPECT_EQ(desktop.powerRequests.size(), 2u);
}

}  // namespace
}  // namespace twinex::test
