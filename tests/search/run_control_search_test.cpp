// Stop, pause and skip reaching a running search from another thread, one control per search.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "search/check_file.h"
#include "search_fixture.h"

namespace twinex::test {
namespace {

// A one-shot signal between the search thread and the test thread.
class Latch {
 public:
  void Open() {
    std::lock_guard<std::mutex> lock(m_);
    open_ = true;
    cv_.notify_all();
  }
  void Wait() {
    std::unique_lock<std::mutex> lock(m_);
    cv_.wait(lock, [this] { return open_; });
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  bool open_ = false;
};

struct PauseObserver : RecordingObserver {
  Latch paused;
  std::atomic<bool> resumed{false};
  void OnPaused(bool p) override {
    if (p)
      paused.Open();
    else
      resumed = true;
  }
};

// A search on its own thread whose per-file step stops at the first file until released, so
// that the test thread acts while the search is known to be mid-walk.
struct ThreadedSearch {
  PauseObserver observer;
  ScriptedPrompt prompt;
  std::shared_ptr<RunControl> run = std::make_shared<RunControl>();
  Latch reached, release;
  std::atomic<int> checked{0};
  SearchOutcome outcome;
  std::thread thread;

  void Start(const MainSettings& m, bool realStep = false, const std::string& holdAt = "") {
    SearchEnvironment env;
    env.run = run;
    thread = std::thread([this, m, env, realStep, holdAt] {
      outcome = StartSearchForDups(m, env, observer, prompt, [&](Search& s) {
        s.checkFile = [&](Search& search, const EnumeratedFile& f) {
          const bool hold = holdAt.empty() ? checked == 0 : f.name == holdAt;
          ++checked;
          if (hold) {
            reached.Open();
            release.Wait();
          }
          if (realStep)
            Search_CheckFile(search, f);
          else
            ++search.counters.filesChecked;
        };
      });
    });
  }
  void Join() { thread.join(); }
};

MainSettings FiveFiles(TempDir& t, const std::string& folder) {
  for (int i = 0; i < 5; ++i) t.Write(folder + "/f" + std::to_string(i), "x");
  return SettingsFor({t / folder});
}

TEST(SearchRunControl, TwoSearchesAreStoppedApart) {
  TempDir t;
  ThreadedSearch a, b;
  a.Start(FiveFiles(t, "a"));
  b.Start(FiveFiles(t, "b"));
  a.reached.Wait();
  b.reached.Wait();
  a.run->RequestStop(kStopUser);
  a.release.Open();
  b.release.Open();
  a.Join();
  b.Join();

  EXPECT_EQ(a.checked, 1);
  EXPECT_EQ(a.outcome.stopReason, kStopUser);
  EXPECT_EQ(a.observer.errors, std::vector<std::string>{"Die Suche wurde von dem Anwender abgebrochen."});
  EXPECT_EQ(b.checked, 5);
  EXPECT_EQ(b.outcome.stopReason, kStopNone);
  EXPECT_TRUE(b.observer.errors.empty());
}

TEST(SearchRunControl, PauseHoldsTheWalkUntilResumed) {
  TempDir t;
  ThreadedSearch s;
  s.Start(FiveFiles(t, "src"));
  s.reached.Wait();
  s.run->Pause();
  s.release.Open();
  s.observer.paused.Wait();
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_EQ(s.checked, 1);
  s.run->Resume();
  s.Join();
  EXPECT_TRUE(s.observer.resumed);
  EXPECT_EQ(s.checked, 5);
  EXPECT_EQ(s.outcome.stopReason, kStopNone);
}

TEST(SearchRunControl, SkipGivesUpOnlyTheCurrentComparison) {
  TempDir t;
  std::string big(300000, 'q');
  t.Write("src/a1", big);
  t.Write("src/a2", big);
  t.Write("src/b1", big + "b");
  t.Write("src/b2", big + "b");
  MainSettings m = SettingsFor({t / "src"});
  m.search.Suchkriterien[kCritContent] = true;
  m.search.ContentCompare = 0;

  ThreadedSearch s;
  s.Start(m, true, "a2");
  s.reached.Wait();
  s.run->RequestSkip();
  s.release.Open();
  s.Join();

  EXPECT_EQ(s.outcome.stopReason, kStopNone);
  EXPECT_TRUE(s.observer.errors.empty());
  ASSERT_EQ(s.outcome.search->result.groups.size(), 1u);
  const auto& files = s.outcome.search->result.groups[0].files;
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].dupname, "b1");
  EXPECT_EQ(files[1].dupname, "b2");
}

TEST(SearchRunControl, AnErrorEndsTheSearchMarkedAsFailed) {
  TempDir t;
  MainSettings m = FiveFiles(t, "src");
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome out = StartSearchForDups(m, {}, observer, prompt, [](Search& s) {
    s.checkFile = [](Search&, const EnumeratedFile&) { throw std::runtime_error("disk on fire"); };
  });
  EXPECT_TRUE(out.started);
  EXPECT_EQ(out.stopReason, kStopFailed);
  EXPECT_EQ(observer.errors, std::vector<std::string>{"Die Suche wurde wegen eines Fehlers abgebrochen: disk on fire"});
}

}  // namespace
}  // namespace twinex::test
