// Members of an archive inside an exact search: members of one size are compared with each
// other without reading the archive once per pair, the copies of members without a duplicate
// are gone after the search, and the progress total counts the members.
#include <filesystem>

#include "archive_fixture.h"
#include "search_fixture.h"

namespace twinex::test {
namespace {

std::size_t FilesBelow(const std::string& folder) {
  std::size_t n = 0;
  if (std::filesystem::exists(folder))
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) n += e.is_regular_file();
  return n;
}

// Size and SHA-1 over "src", looking into tar and gz archives, with copies under "temp".
SearchOutcome SearchWithArchives(const TempDir& t, RecordingObserver& observer, ScriptedPrompt& prompt) {
  MainSettings m = SettingsFor({t / "src"});
  m.search.Suchkriterien[kCritContent] = true;
  m.search.ContentCompare = 2;
  m.search.ScanArchives = true;
  m.search.ScanArchive[5] = m.search.ScanArchive[6] = true;  // tar, gz
  m.search.TempFolder = t / "temp";
  SearchEnvironment env;
  env.programTempFolder = t / "programtemp";
  return StartSearchForDups(m, env, observer, prompt);
}

TEST(ArchiveSearch, MembersOfOneSizeAreComparedFromCopiesMadeInOnePass) {
  TempDir t;
  const std::string a(5000, 'a'), b(5000, 'b');
  // Members of one size out of archive order, so the first of a size would lie behind the reader.
  std::filesystem::create_directories(t / "src");
  WriteArchive(t / "src/box.tar.gz", "pax", "gzip",
               {{"x/first.txt", a}, {"x/other.txt", b}, {"unique.txt", "short"}, {"y/second.txt", a}});
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome out = SearchWithArchives(t, observer, prompt);
  ASSERT_TRUE(out.search);
  const Search& s = *out.search;
  ASSERT_EQ(s.result.groups.size(), 1u) << ::testing::PrintToString(observer.log);
  std::vector<std::string> members;
  for (const auto& f : s.result.groups[0].files) members.push_back(f.PathA());
  EXPECT_EQ(members, (std::vector<std::string>{"x/first.txt", "y/second.txt"}));
  EXPECT_EQ(s.counters.filesExtracted, 3u);  // the three of one size, once each
  EXPECT_TRUE(observer.errors.empty()) << observer.errors.front();
  // The archive itself and its four members: the progress ends at its total.
  EXPECT_EQ(s.counters.filesChecked, s.counters.totalFiles);
  // Only the copies of the two grouped members stay with the result.
  EXPECT_EQ(FilesBelow(t / "temp"), 2u);
  out.search.reset();
  EXPECT_EQ(FilesBelow(t / "temp"), 0u);
}

TEST(ArchiveSearch, LooseCopiesInAnotherOrderReadTheSolidArchiveOnceMore) {
  TempDir t;
  std::vector<FixtureEntry> members;
  const int kFiles = 12;
  // The archive holds the files in the reverse of the order the walk meets their loose copies.
  for (int i = kFiles - 1; i >= 0; --i) {
    const std::string name = "f" + std::string(1, static_cast<char>('a' + i)) + ".bin";
    const std::string content(1000 + static_cast<std::size_t>(i), static_cast<char>('A' + i));
    members.push_back({name, content});
    t.Write("src/loose/" + name, content);
  }
  WriteArchive(t / "src/box.tar.gz", "pax", "gzip", members);
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome out = SearchWithArchives(t, observer, prompt);
  ASSERT_TRUE(out.search);
  const Search& s = *out.search;
  ASSERT_EQ(s.result.groups.size(), static_cast<std::size_t>(kFiles));
  for (const auto& g : s.result.groups) {
    ASSERT_EQ(g.files.size(), 2u);
    EXPECT_EQ(g.files[0].dupname, g.files[1].dupname);
  }
  EXPECT_EQ(s.counters.filesExtracted, static_cast<std::uint64_t>(kFiles));  // each member once
  EXPECT_EQ(FilesBelow(t / "temp"), static_cast<std::size_t>(kFiles));
}

}  // namespace
}  // namespace twinex::test
