// Size-and-content searches over random trees full of near misses, checked against a plain
// reference: files grouped by their exact bytes, in the order the walk meets them.
#include <unistd.h>

#include <algorithm>
#include <map>
#include <random>

#include "search_fixture.h"

namespace twinex::test {
namespace {

struct TreeFile {
  std::string rel;      // below the tree's folder
  std::string content;  // what a correct search compares
};

// A tree whose files share few sizes and whose contents differ in the places the shortcuts look
// at (first block, last block, the middle only), with empty files, files no longer than a
// digest, and hard links. Files are listed in the order the walk meets them.
std::vector<TreeFile> MakeTree(const TempDir& t, unsigned seed) {
  std::mt19937 rnd(seed);
  auto pick = [&rnd](std::size_t n) { return static_cast<std::size_t>(rnd() % n); };
  static const std::size_t kSizes[] = {0, 1, 16, 20, 21, 64, 5000, 20000, 40000, 70000};
  static const char* kFolders[] = {"a", "a/x", "b", "b/y/z", "c"};
  std::map<std::string, std::string> files;  // walk order is name order, folder by folder
  std::vector<std::string> written;
  for (int i = 0; i < 120; ++i) {
    const std::string rel = std::string(kFolders[pick(5)]) + "/f" + std::to_string(100 + i);
    if (!written.empty() && pick(10) == 0) {  // another name of an earlier file
      const std::string& target = written[pick(written.size())];
      t.MakeDir(rel.substr(0, rel.rfind('/')));
      if (::link((t / target).c_str(), (t / rel).c_str()) == 0) files[rel] = files[target];
      continue;
    }
    const std::size_t size = kSizes[pick(std::size(kSizes))];
    std::string content(size, '\0');
    std::mt19937 fill(static_cast<unsigned>(size));  // one base content per size
    for (char& c : content) c = static_cast<char>(fill());
    if (size > 0) {
      switch (pick(5)) {  // variants 0 and 1 keep the base content
        case 2: content.back() ^= 1; break;
        case 3: content[size / 2] ^= 2; break;  // same first and last blocks
        case 4: content.front() ^= 4; break;
        default: break;
      }
    }
    files[rel] = t.Write(rel, content).empty() ? std::string() : content;
    written.push_back(rel);
  }
  // std::map orders "a/f1" after "a/x/..." exactly as the walk does (names compared bytewise),
  // but a folder is walked at its name's place among the files: sort by path components.
  std::vector<TreeFile> ordered;
  for (auto& [rel, content] : files) ordered.push_back({rel, content});
  std::sort(ordered.begin(), ordered.end(), [](const TreeFile& x, const TreeFile& y) {
    std::string a = x.rel, b = y.rel;
    std::replace(a.begin(), a.end(), '/', '\x01');
    std::replace(b.begin(), b.end(), '/', '\x01');
    return a < b;
  });
  return ordered;
}

using Groups = std::vector<std::vector<std::string>>;

// Groups by exact content: formed when a content's second file arrives, first file first, then
// sorted by size as the closing steps do (stable, so equal sizes keep their order).
Groups Reference(const std::vector<TreeFile>& tree) {
  std::map<std::string, std::vector<std::string>> byContent;
  std::vector<std::string> formed;
  for (const TreeFile& f : tree) {
    auto& members = byContent[f.content];
    members.push_back(f.rel);
    if (members.size() == 2) formed.push_back(f.content);
  }
  std::stable_sort(formed.begin(), formed.end(),
                   [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
  Groups out;
  for (const std::string& c : formed) out.push_back(byContent[c]);
  return out;
}

struct Outcome {
  Groups groups;
  std::vector<std::string> summary;  // the log lines of the counters
};

Outcome Search(const std::string& root, int contentMethod) {
  MainSettings m = SettingsFor({root});
  m.search.Suchkriterien[kCritContent] = true;
  m.search.ContentCompare = contentMethod;
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome run = StartSearchForDups(m, {}, observer, prompt);
  Outcome out;
  for (const auto& g : run.search->result.groups) {
    std::vector<std::string> files;
    for (const auto& f : g.files) files.push_back(f.FullPath().substr(root.size() + 1));
    out.groups.push_back(files);
  }
  for (const std::string& line : observer.log)
    if (line.find("Dateivergleiche") == 0 || line.find("Prüfsummen erstellt") == 0 || line.find("Gruppen") == 0)
      out.summary.push_back(line);
  EXPECT_TRUE(observer.errors.empty());
  return out;
}

TEST(ContentGrouping, RandomTreesGroupByExactContentInWalkOrder) {
  // Groups, file comparisons and checksums made, per seed and content method (byte by byte,
  // MD5, SHA-1), as the search logs them: a faster grouping must read and compare no more.
  const std::map<std::pair<unsigned, int>, std::vector<std::string>> counters = {
      {{1, 0}, {"Gruppen: 24", "Dateivergleiche: 92"}},
      {{1, 1}, {"Gruppen: 24", "Dateivergleiche: 160", "Prüfsummen erstellt: 106"}},
      {{1, 2}, {"Gruppen: 24", "Dateivergleiche: 162", "Prüfsummen erstellt: 106"}},
      {{2, 0}, {"Gruppen: 29", "Dateivergleiche: 88"}},
      {{2, 1}, {"Gruppen: 29", "Dateivergleiche: 175", "Prüfsummen erstellt: 111"}},
      {{2, 2}, {"Gruppen: 29", "Dateivergleiche: 177", "Prüfsummen erstellt: 111"}},
      {{3, 0}, {"Gruppen: 28", "Dateivergleiche: 89"}},
      {{3, 1}, {"Gruppen: 28", "Dateivergleiche: 167", "Prüfsummen erstellt: 108"}},
      {{3, 2}, {"Gruppen: 28", "Dateivergleiche: 174", "Prüfsummen erstellt: 108"}},
  };
  for (unsigned seed : {1u, 2u, 3u}) {
    TempDir t;
    const std::vector<TreeFile> tree = MakeTree(t, seed);
    const Groups expected = Reference(tree);
    for (int method : {0, 1, 2}) {
      const Outcome got = Search(t.path(), method);
      EXPECT_EQ(got.groups, expected) << "seed " << seed << " method " << method;
      EXPECT_EQ(got.summary, counters.at({seed, method})) << "seed " << seed << " method " << method;
    }
  }
}

TEST(ContentGrouping, NeighbourFoldersAndLargePairsKeepGroupsAndCounters) {
  // Digests may be made on a second thread: of the next folder before the walk enters it (even
  // one the folder filter then skips), of the earlier file a new one meets, and of both large
  // files of a pair side by side. None of that may show in groups or counters.
  TempDir t;
  auto content = [](std::size_t size, unsigned seed) {
    std::string c(size, '\0');
    std::mt19937 fill(seed);
    for (char& ch : c) ch = static_cast<char>(fill());
    return c;
  };
  const std::string big = content((3u << 20) / 2, 1), small = content(5000, 2), mid = content(20000, 3);
  std::string bigLastByte = big, bigFirstByte = big, midLastByte = mid;
  bigLastByte.back() ^= 1;
  bigFirstByte.front() ^= 1;
  midLastByte.back() ^= 1;
  const std::pair<const char*, const std::string*> files[] = {
      {"a/big1", &big},         {"a/s1", &small},         {"a/m1", &mid},  {"b/big2", &big}, {"b/s2", &small},
      {"c/big3", &big},         {"c/big4", &bigLastByte}, {"c/big5", &bigFirstByte},
      {"c/m2", &midLastByte},   {"c/m3", &mid},           {"d/s3", &small}, {"d/x/s4", &small}};
  for (const auto& [rel, bytes] : files) ASSERT_FALSE(t.Write(rel, *bytes).empty());

  MainSettings m = SettingsFor({t.path()});
  m.search.Suchkriterien[kCritContent] = true;
  m.search.ContentCompare = 2;
  m.sources.folderOptions = {true, 1, false, false, false};
  m.sources.folderFilters = {{"b", true}};
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome run = StartSearchForDups(m, {}, observer, prompt);
  Groups groups;
  for (const auto& g : run.search->result.groups) {
    groups.emplace_back();
    for (const auto& f : g.files) groups.back().push_back(f.FullPath().substr(t.path().size() + 1));
  }
  EXPECT_EQ(groups, (Groups{{"a/s1", "d/s3", "d/x/s4"}, {"a/m1", "c/m3"}, {"a/big1", "c/big3"}}));
  // Digests: s1 and s3, s4; m1 and m3 (m2's last block differs); big1 and big3 (big4 and big5
  // differ at an end from every file of their size).
  EXPECT_TRUE(observer.Logged("Prüfsummen erstellt: 7"));
  EXPECT_TRUE(observer.Logged("Dateivergleiche: 8"));
  EXPECT_TRUE(observer.Logged("Ordner ausgeschlossen: 1"));
  EXPECT_TRUE(observer.errors.empty());
}

}  // namespace
}  // namespace twinex::test
