#include "similar/first_match.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>

#include "similar/name_measure.h"

namespace twinex::similar {
namespace {

// Similarities given by a table, symmetric, so that the grouping rule is seen on its own.
struct TableMeasure {
  using Item = std::size_t;
  using Summary = int;
  std::vector<std::vector<double>> table;
  Summary Summarize(std::size_t) const { return 0; }
  std::size_t SizeOf(Summary) const { return 0; }
  std::size_t Needed(Summary, std::size_t, double) const { return 0; }
  std::size_t Matchable(Summary, Summary) const { return 0; }
  void Begin(std::size_t) {}
  double Similarity(std::size_t a, std::size_t b, double) const { return table[a][b]; }
};

TableMeasure Table(std::size_t n, std::initializer_list<std::tuple<std::size_t, std::size_t, double>> pairs) {
  TableMeasure m;
  m.table.assign(n, std::vector<double>(n, 0.0));
  for (auto [a, b, s] : pairs) m.table[a][b] = m.table[b][a] = s;
  return m;
}

std::vector<SimilarGroup> GroupAll(TableMeasure& m, int scope, std::vector<int> sources = {}) {
  RunControl run;
  FirstMatchGrouping<TableMeasure> g(m, {.scope = scope, .threshold = 0.8}, run);
  for (std::size_t i = 0; i < m.table.size(); ++i) g.Add(i, {sources.empty() ? 1 : sources[i], 0});
  return g.Groups();
}

SimilarGroup G(std::initializer_list<SimilarMember> members) { return {members}; }

TEST(FirstMatch, FirstHitInCollectionOrderDecidesAndIsNotTransitive) {
  // B resembles A, C resembles B only: C joins through B.
  auto chain = Table(3, {{0, 1, 0.9}, {1, 2, 0.85}});
  EXPECT_EQ(GroupAll(chain, 0), (std::vector{G({{0, 100}, {1, 90}, {2, 85}})}));
  // C resembles A and the founder of a later group D; the earlier A decides, although D is closer.
  auto first = Table(4, {{0, 2, 0.8}, {1, 2, 0.99}});
  RunControl run;
  FirstMatchGrouping<TableMeasure> g(first, {.scope = 0, .threshold = 0.8}, run);
  g.Add(0);
  g.Add(1);
  GroupChange c = g.Add(2);
  EXPECT_TRUE(c.opened);
  EXPECT_EQ(c.added, (std::vector<SimilarMember>{{0, 100}, {2, 80}}));
  EXPECT_EQ(g.GroupOf(1), -1);
  EXPECT_EQ(g.Counters().comparisons, 2u);  // the first hit ends the search
  GroupChange none = g.Add(3);
  EXPECT_EQ(none.group, -1);
  EXPECT_EQ(g.Counters().comparisons, 5u);
}

TEST(FirstMatch, ScopesChooseThePairs) {
  // 0 and 1 in source 1, 2 in source 2; all alike.
  auto all = Table(3, {{0, 1, 0.9}, {0, 2, 0.95}, {1, 2, 0.85}});
  EXPECT_EQ(GroupAll(all, 0, {1, 1, 2}), (std::vector{G({{0, 100}, {1, 90}, {2, 95}})}));
  EXPECT_EQ(GroupAll(all, 1, {1, 1, 2}), (std::vector{G({{0, 100}, {1, 90}})}));
  // Scope 2 goes on after the hit on 0: 1 is in no group yet and joins with its own percentage.
  EXPECT_EQ(GroupAll(all, 2, {1, 1, 2}), (std::vector{G({{0, 100}, {2, 95}, {1, 85}})}));
  // Scope 3: same source and subfolder.
  RunControl run;
  FolderNumbers folders;
  FirstMatchGrouping<TableMeasure> g(all, {.scope = 3, .threshold = 0.8}, run);
  g.Add(0, {1, folders.Of(1, "a")});
  g.Add(1, {1, folders.Of(1, "b")});
  g.Add(2, {2, folders.Of(1, "a")});  // (source, folder) numbers come from the caller's pairs
  EXPECT_EQ(g.Groups(), (std::vector{G({{0, 100}, {2, 95}})}));
  EXPECT_EQ(g.Counters().comparisons, 1u);
}

TEST(FirstMatch, ScopeTwoLeavesOtherGroupsAlone) {
  // 0 (source 1) and 2 (source 2) form a group; 1 (source 1) and 3 (source 2) another; 4 (source
  // 2) resembles 0 and 1: it joins 0's group, and 1 stays in its own.
  auto m = Table(5, {{0, 2, 0.9}, {1, 3, 0.9}, {4, 0, 0.9}, {4, 1, 0.9}});
  EXPECT_EQ(GroupAll(m, 2, {1, 1, 2, 2, 2}), (std::vector{G({{0, 100}, {2, 90}, {4, 90}}), G({{1, 100}, {3, 90}})}));
}

TEST(FirstMatch, StopAndSkipEndTheComparisonsBetweenPairs) {
  auto m = Table(3, {{0, 1, 0.9}, {0, 2, 0.9}});
  RunControl run;
  int reports = 0;
  FirstMatchGrouping<TableMeasure> g(m, {.scope = 0, .threshold = 0.8, .progressInterval = {}}, run,
                                     [&](const GroupingCounters&) { ++reports; });
  g.Add(0);
  run.RequestSkip();
  GroupChange skipped = g.Add(1);  // gives up this item only
  EXPECT_FALSE(skipped.stopped);
  EXPECT_EQ(skipped.group, -1);
  EXPECT_EQ(g.Add(2).group, 0);
  run.RequestStop();
  GroupChange stopped = g.Add(2);
  EXPECT_TRUE(stopped.stopped);
  EXPECT_EQ(stopped.group, -1);
  EXPECT_EQ(g.Size(), 4u);  // still collected, so indexes stay those of the caller's table
}

TEST(FirstMatch, PauseHoldsBetweenPairsUntilResumed) {
  auto m = Table(2, {{0, 1, 0.9}});
  RunControl run;
  FirstMatchGrouping<TableMeasure> g(m, {.scope = 0, .threshold = 0.8}, run);
  g.Add(0);
  run.Pause();
  std::thread resume([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    run.Resume();
  });
  auto start = std::chrono::steady_clock::now();
  GroupChange c = g.Add(1);
  resume.join();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));
  EXPECT_EQ(c.group, 0);
}

// Names with shared words, numbers and Unicode of varied lengths, so that every measure sees
// near hits, misses by length and misses by characters.
std::vector<std::string> RandomNames(std::mt19937& rng, std::size_t n) {
  static const char* const kWords[] = {"img", "IMG", "holiday", "beach", "Straße", "strasse", "東京", "Ωmega",
                                       "song", "live", "01", "02", "2019", "a", "bb", "final"};
  static const char* const kGlue[] = {"_", " ", "-", "", "."};
  std::uniform_int_distribution<int> words(0, 4), word(0, 15), glue(0, 4), typo(0, 5);
  std::vector<std::string> names;
  for (std::size_t i = 0; i < n; ++i) {
    if (!names.empty() && typo(rng) == 0) {  // a variant of an earlier name
      std::string s = names[std::uniform_int_distribution<std::size_t>(0, names.size() - 1)(rng)];
      if (!s.empty()) s[std::uniform_int_distribution<std::size_t>(0, s.size() - 1)(rng)] = 'x';
      names.push_back(s + (typo(rng) == 0 ? "1" : ""));
      continue;
    }
    std::string s;
    for (int w = words(rng); w > 0; --w) s += std::string(kWords[word(rng)]) + kGlue[glue(rng)];
    names.push_back(s);
  }
  return names;
}

struct Outcome {
  std::vector<SimilarGroup> groups;
  std::vector<std::uint8_t> percents;
  std::uint64_t comparisons = 0;
  std::uint64_t measured = 0;
};

Outcome Group(const std::vector<std::string>& names, int measure, int scope, int percent, bool prune) {
  NamePreparer preparer(measure, " ,_.;-");
  NameMeasure m(measure, prune);
  RunControl run;
  FirstMatchGrouping<NameMeasure> g(m, {.scope = scope, .threshold = percent / 100.0, .prune = prune}, run);
  for (std::size_t i = 0; i < names.size(); ++i) {
    g.Add(preparer.Prepare(names[i]), {static_cast<int>(i % 3) + 1, static_cast<int>(i % 5)});
  }
  Outcome o{g.Groups(), {}, g.Counters().comparisons, g.Counters().measured};
  for (std::size_t i = 0; i < names.size(); ++i) o.percents.push_back(g.PercentOf(i));
  return o;
}

TEST(FirstMatch, PruningKeepsGroupsPercentagesAndCountsOfThePlainLoop) {
  std::mt19937 rng(2026);
  std::vector<std::string> names = RandomNames(rng, 400);
  for (int measure = 0; measure < kNameMeasureCount; ++measure) {
    for (int scope = 0; scope <= 3; ++scope) {
      for (int percent : {50, 80, 100}) {
        Outcome plain = Group(names, measure, scope, percent, false);
        Outcome pruned = Group(names, measure, scope, percent, true);
        SCOPED_TRACE(testing::Message() << "measure " << measure << " scope " << scope << " at " << percent);
        ASSERT_EQ(pruned.groups, plain.groups);
        ASSERT_EQ(pruned.percents, plain.percents);
        ASSERT_EQ(pruned.comparisons, plain.comparisons);
        EXPECT_LE(pruned.measured, plain.measured);
        if (percent == 80 && scope == 0) {
          EXPECT_FALSE(plain.groups.empty());
        }
      }
    }
  }
}

}  // namespace
}  // namespace twinex::similar
