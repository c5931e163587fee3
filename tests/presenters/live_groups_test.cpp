// Groups shown while a search runs: the batches a real search hands over add up to its result,
// and a merge announces exactly the rows that are new.
#include "presenters/live_groups.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "search/search_fixture.h"

namespace twinex {
namespace {

using test::TempDir;

struct LiveObserver : test::RecordingObserver {
  bool WantsLiveGroups() const override { return true; }
  void OnGroupsChanged(const ResultTree& result, const std::vector<ResultGroup>& groups) override {
    ++batches;
    live.Merge({result.captionType, result.display, groups});
  }
  LiveGroups live;
  int batches = 0;
};

std::vector<std::vector<std::string>> Paths(const ResultTree& t) {
  std::vector<std::vector<std::string>> out;
  for (const ResultGroup& g : t.groups) {
    out.emplace_back();
    for (const ResultFile& f : g.files) out.back().push_back(f.FullPath());
  }
  // The closing steps sort the groups; the live view shows them in the order they formed.
  std::sort(out.begin(), out.end());
  return out;
}

TEST(LiveGroups, BatchesOfARealSearchAddUpToItsResult) {
  TempDir t;
  for (int i = 0; i < 30; ++i) t.Write("src/d" + std::to_string(i % 3) + "/f" + std::to_string(i), std::string(i % 7 + 1, 'x'));
  MainSettings m = test::SettingsFor({t / "src"});
  LiveObserver observer;
  test::ScriptedPrompt prompt;
  SearchOutcome out = StartSearchForDups(m, {}, observer, prompt);
  ASSERT_TRUE(out.search);
  EXPECT_GE(observer.batches, 1);
  EXPECT_EQ(observer.live.tree().captionType, out.search->result.captionType);
  EXPECT_EQ(Paths(observer.live.tree()), Paths(out.search->result));
  EXPECT_EQ(Paths(out.search->result).size(), 7u);
}

TEST(LiveGroups, MergeAnnouncesNewGroupsAndGrownGroupsBeforeAndAfter) {
  ResultTree search;
  ResultGroup& a = search.AddGroup("a");
  ResultFile f;
  f.dupname = "1";
  search.AddFile(a, f);
  search.AddFile(a, f);
  LiveGroups live;
  std::vector<std::string> calls;
  const auto notify = [&](const LiveGroupEdit& e, bool after) {
    calls.push_back(std::string(after ? "after " : "before ") + (e.added ? "new " : "grown ") + std::to_string(e.row) +
                    " " + std::to_string(e.filesBefore) + "->" + std::to_string(e.filesAfter) + " rows " +
                    std::to_string(live.tree().groups.size()));
  };
  live.Merge({kCaptionName, {}, {search.groups[0]}}, notify);
  ResultGroup& b = search.AddGroup("b");
  search.AddFile(b, f);
  search.AddFile(b, f);
  search.AddFile(search.groups[0], f);
  live.Merge({kCaptionName, {}, {search.groups[0], search.groups[1]}}, notify);
  EXPECT_EQ(calls, (std::vector<std::string>{"before new 0 0->2 rows 0", "after new 0 0->2 rows 1",
                                             "before grown 0 2->3 rows 1", "after grown 0 2->3 rows 1",
                                             "before new 1 0->2 rows 1", "after new 1 0->2 rows 2"}));
  EXPECT_EQ(live.tree().groups[0].files.size(), 3u);
  live.Clear();
  EXPECT_TRUE(live.tree().groups.empty());
}

}  // namespace
}  // namespace twinex
