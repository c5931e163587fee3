// Grouping by properties and content over real trees.
#include <algorithm>

#include "search_fixture.h"

namespace twinex::test {
namespace {

// Runs the real per-file step and returns the groups as sorted lists of paths relative to base.
struct Grouped {
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome outcome;
  std::vector<std::vector<std::string>> groups;

  Grouped(const MainSettings& m, const std::string& base) {
    outcome = StartSearchForDups(m, {}, observer, prompt);
    if (!outcome.search) return;
    for (const auto& g : outcome.search->result.groups) {
      std::vector<std::string> files;
      for (const auto& f : g.files) files.push_back(f.FullPath().substr(base.size() + 1));
      groups.push_back(files);
    }
  }
  const ResultTree& result() const { return outcome.search->result; }
};

MainSettings With(std::vector<std::string> folders, std::initializer_list<int> criteria) {
  MainSettings m = SettingsFor(folders);
  m.search.Suchkriterien = {};
  for (int c : criteria) m.search.Suchkriterien[static_cast<std::size_t>(c)] = true;
  return m;
}

using Groups = std::vector<std::vector<std::string>>;

TEST(Grouping, NameAndExtensionCriteria) {
  TempDir t;
  t.Write("s/Report.TXT", "1");
  t.Write("s/a/report.doc", "22");
  t.Write("s/b/a.txt", "333");
  t.Write("s/c/a", "4444");
  std::string s = t / "s";

  // The name is compared without extension and without regard to case.
  Grouped byName(With({s}, {kCritName}), t.path());
  // Groups are sorted by their caption, without regard to case.
  EXPECT_EQ(byName.groups, (Groups{{"s/b/a.txt", "s/c/a"}, {"s/Report.TXT", "s/a/report.doc"}}));
  EXPECT_EQ(byName.result().groups[1].dupname, "Report");

  // With the extension, a file without one matches nothing that has one.
  Grouped nameExt(With({s}, {kCritName, kCritExtension}), t.path());
  EXPECT_TRUE(nameExt.groups.empty());

  Grouped ext(With({s}, {kCritExtension}), t.path());  // TXT and txt are one extension
  EXPECT_EQ(ext.groups, (Groups{{"s/Report.TXT", "s/b/a.txt"}}));
}

TEST(Grouping, ExtensionCaptionAndSizeGroupsSortedBySize) {
  TempDir t;
  t.Write("s/x.txt", "aa");
  t.Write("s/y.TXT", "bbbb");
  t.Write("s/n1", "cccc");
  t.Write("s/n2", "dd");
  Grouped ext(With({t / "s"}, {kCritExtension}), t.path());
  ASSERT_EQ(ext.groups.size(), 2u);
  std::vector<std::string> captions;
  for (const auto& g : ext.result().groups) captions.push_back(g.dupname);
  std::sort(captions.begin(), captions.end());
  EXPECT_EQ(captions, (std::vector<std::string>{"[Ohne Dateiendung]", "txt"}));

  Grouped size(With({t / "s"}, {kCritSize}), t.path());
  ASSERT_EQ(size.groups.size(), 2u);
  EXPECT_EQ(size.result().groups[0].sizeG, 2u);  // sorted ascending by size
  EXPECT_EQ(size.result().groups[1].sizeG, 4u);
  EXPECT_TRUE(size.observer.Logged("Gruppen: 2"));
}

// The rows of a folder share its one text, across groups, and keep it after the search has dropped
// its file table.
TEST(Grouping, RowsOfOneFolderShareItsText) {
  TempDir t;
  t.Write("s/a folder with a long enough name/1", "aa");
  t.Write("s/a folder with a long enough name/2", "bbb");
  t.Write("s/other folder with a long name/1", "aa");
  t.Write("s/other folder with a long name/2", "bbb");
  Grouped size(With({t / "s"}, {kCritSize}), t.path());
  ASSERT_EQ(size.groups.size(), 2u);
  const ResultFile* first[2] = {nullptr, nullptr};  // a row of each folder
  for (const ResultGroup& g : size.result().groups) {
    ASSERT_EQ(g.files.size(), 2u);
    for (const ResultFile& f : g.files) {
      const int folder = f.path == t / "s/a folder with a long enough name" ? 0 : 1;
      EXPECT_EQ(f.path, t / (folder == 0 ? "s/a folder with a long enough name" : "s/other folder with a long name"));
      if (!first[folder]) first[folder] = &f;
      EXPECT_EQ(f.path.data(), first[folder]->path.data()) << f.FullPath();
    }
  }
  ASSERT_TRUE(first[0] && first[1]);
  EXPECT_NE(first[0]->path.data(), first[1]->path.data());
}

TEST(Grouping, ContentSlotsKeepOrder) {
  TempDir t;
  // Same size, two contents: the third file equals the second and joins it after being
  // compared with the first.
  t.Write("s/1", "AAAA");
  t.Write("s/2", "BBBB");
  std::string s = t / "s";
  MainSettings m = With({s}, {kCritSize, kCritContent});
  for (int method : {0, 1, 2, 3, 4, 5}) {
    SCOPED_TRACE(method);
    t.Write("s/3", "BBBB");
    m.search.ContentCompare = method;
    Grouped g(m, t.path());
    ASSERT_EQ(g.groups.size(), 1u);
    std::sort(g.groups[0].begin(), g.groups[0].end());
    EXPECT_EQ(g.groups[0], (std::vector<std::string>{"s/2", "s/3"}));
  }
}

TEST(Grouping, DatesAttributesAndIgnoreTime) {
  TempDir t;
  std::string a = t.Write("s/a", "1"), b = t.Write("s/b", "2"), c = t.Write("s/c", "3");
  SetMTime(a, 1700000000);            // same day, other time
  SetMTime(b, 1700000000 + 60 * 30);
  SetMTime(c, 1700000000 + 86400 * 3);
  MainSettings m = With({t / "s"}, {kCritModified});
  Grouped exact(m, t.path());
  EXPECT_TRUE(exact.groups.empty());
  m.search.IgnoreTime = true;
  Grouped days(m, t.path());
  EXPECT_EQ(days.groups.size(), 1u);
}

TEST(Grouping, SourceFolderScopes) {
  TempDir t;
  t.Write("one/a", "same");
  t.Write("one/b", "same");
  t.Write("two/c", "same");
  t.Write("one/x/d", "diff");
  t.Write("two/x/e", "diff");
  std::string one = t / "one", two = t / "two";

  MainSettings m = With({one, two}, {kCritSize, kCritContent});
  m.search.SourceFolderCompareMode = 1;  // same source folder only
  Grouped sameSource(m, t.path());
  EXPECT_EQ(sameSource.groups, (Groups{{"one/a", "one/b"}}));

  // Different source folders only: the file of the second folder forms a group with the first
  // and takes the second file of the first folder in too.
  m.search.SourceFolderCompareMode = 2;
  Grouped across(m, t.path());
  ASSERT_EQ(across.groups.size(), 2u);
  auto g0 = across.groups[0], g1 = across.groups[1];
  std::sort(g0.begin(), g0.end());
  std::sort(g1.begin(), g1.end());
  EXPECT_TRUE((g0 == std::vector<std::string>{"one/a", "one/b", "two/c"} && g1 == std::vector<std::string>{"one/x/d", "two/x/e"}) ||
              (g1 == std::vector<std::string>{"one/a", "one/b", "two/c"} && g0 == std::vector<std::string>{"one/x/d", "two/x/e"}));

  // Same source and same relative folder, with and without the content criterion.
  m.search.SourceFolderCompareMode = 3;
  Grouped relative(m, t.path());
  EXPECT_EQ(relative.groups, (Groups{{"one/a", "one/b"}}));
  MainSettings bySize = With({one, two}, {kCritSize});
  bySize.search.SourceFolderCompareMode = 3;
  Grouped relativeSize(bySize, t.path());
  EXPECT_EQ(relativeSize.groups, (Groups{{"one/a", "one/b"}}));
}

TEST(Grouping, FilesWithoutDuplicatesAndGroupsMissingASource) {
  TempDir t;
  t.Write("one/a", "same");
  t.Write("one/b", "same");
  t.Write("one/c", "diff");
  t.Write("two/d", "other!");
  t.Write("two/e", "other!");
  t.Write("one/f", "other!");
  MainSettings m = With({t / "one", t / "two"}, {kCritSize, kCritContent});
  m.search.ShowOnlyFilesWithoutDups = true;
  Grouped alone(m, t.path());
  EXPECT_EQ(alone.groups, (Groups{{"one/c"}}));
  EXPECT_EQ(alone.result().groups[0].dupname, "Dateien ohne Duplikate");
  EXPECT_TRUE(alone.observer.Logged("Es wurden 1 Dateien ohne Duplikate gefunden."));

  m.search.ShowOnlyFilesWithoutDups = false;
  m.search.RemoveGroupsDupsNotInsideAllSources = true;
  m.search.LogFilesWithNoDups = true;
  Grouped spanning(m, t.path());
  ASSERT_EQ(spanning.groups.size(), 1u);  // {a, b} lies in folder one only
  EXPECT_EQ(spanning.groups[0].size(), 3u);
  EXPECT_TRUE(spanning.observer.Logged("Dateien ohne Duplikate:"));
  EXPECT_TRUE(spanning.observer.Logged(t / "one/c"));
}

TEST(Grouping, SummaryCountsDuplicatesAndSourceTotals) {
  TempDir t;
  t.Write("s/a", "12345");
  t.Write("s/b", "12345");
  t.Write("s/c", "x");
  Grouped g(With({t / "s"}, {kCritSize, kCritContent}), t.path());
  EXPECT_TRUE(g.observer.Logged("Duplikate: 2 (66.67%) (10 Bytes)"));
  EXPECT_TRUE(g.observer.Logged("2 Duplikate mit insgesamt 10 Bytes in '" + (t / "s") + "' gefunden"));
  EXPECT_TRUE(g.observer.Logged("Prüfsummen erstellt: 2"));
}

}  // namespace
}  // namespace twinex::test

namespace twinex::test {
namespace {

std::string Id3v2(const std::string& body) {
  std::string h = "ID3";
  h += '\x03';
  h += '\x00';
  h += '\x00';
  std::size_t n = body.size();
  for (int shift : {21, 14, 7, 0}) h += static_cast<char>((n >> shift) & 0x7F);
  return h + body;
}

TEST(Grouping, TaggedMusicMatchesOnItsAudioOnly) {
  TempDir t;
  std::string audio(5000, '\x5A');
  t.Write("s/a.mp3", Id3v2(std::string(100, 'T')) + audio);
  t.Write("s/b.mp3", Id3v2(std::string(300, 'U')) + audio + "TAG" + std::string(125, 'x'));
  MainSettings m = With({t / "s"}, {kCritSize, kCritContent});
  Grouped plain(m, t.path());
  EXPECT_TRUE(plain.groups.empty());
  m.search.IgnoreMP3Tags = true;
  Grouped tagless(m, t.path());
  ASSERT_EQ(tagless.groups.size(), 1u);
  EXPECT_EQ(tagless.result().groups[0].sizeG, 5110u);  // shown by the first file's full size
}

}  // namespace
}  // namespace twinex::test
