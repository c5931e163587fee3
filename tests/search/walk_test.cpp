#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "search/walk.h"
#include "search_fixture.h"
#include "support/unprivileged.h"

namespace twinex::test {
namespace {

std::vector<std::string> Names(const std::vector<std::string>& paths, const std::string& base) {
  std::vector<std::string> out;
  for (const auto& p : paths) out.push_back(p.substr(base.size() + 1));
  std::sort(out.begin(), out.end());
  return out;
}

TEST(Walk, RecursionFiltersAndCounters) {
  TempDir t;
  t.Write("src/a.txt", "a");
  t.Write("src/sub/b.txt", "bb");
  t.Write("src/tmp/c.txt", "ccc");
  t.Write("src/tmp/deeper/d.txt", "d");
  std::string src = t / "src";

  RecordedSearch all;
  all.Run(SettingsFor({src}));
  ASSERT_TRUE(all.outcome.started);
  EXPECT_EQ(Names(all.files, src), (std::vector<std::string>{"a.txt", "sub/b.txt", "tmp/c.txt", "tmp/deeper/d.txt"}));
  EXPECT_EQ(all.outcome.search->counters.totalFiles, 4u);

  // Without subfolders only the folder's own files; subfolders are not counted as excluded.
  MainSettings flat = SettingsFor({src});
  flat.sources.sources[0].includeSubfolders = false;
  RecordedSearch one;
  one.Run(flat);
  EXPECT_EQ(Names(one.files, src), (std::vector<std::string>{"a.txt"}));
  EXPECT_EQ(one.outcome.search->counters.foldersExcluded, 0u);
  EXPECT_EQ(one.outcome.search->counters.totalFiles, 1u);

  // An exclusive folder filter skips the folder once; its files are not counted as excluded.
  MainSettings filtered = SettingsFor({src});
  filtered.sources.folderOptions = {true, 1, false, false, false};
  filtered.sources.folderFilters = {{"tmp", true}};
  RecordedSearch f;
  f.Run(filtered);
  EXPECT_EQ(Names(f.files, src), (std::vector<std::string>{"a.txt", "sub/b.txt"}));
  const SearchCounters& c = f.outcome.search->counters;
  EXPECT_EQ(c.foldersExcluded, 1u);
  EXPECT_EQ(c.filesExcluded, 0u);
  EXPECT_EQ(c.totalFiles, 2u);  // the counting walk applies the folder filter too
  EXPECT_TRUE(f.observer.Logged("Ordner ausgeschlossen: 1"));

  // File-level exclusions are counted with their size.
  MainSettings sized = SettingsFor({src});
  sized.sources.sizeActive = true;
  sized.sources.size1 = {0, 0, "2"};  // smaller than 2 bytes excluded
  RecordedSearch z;
  z.Run(sized);
  EXPECT_EQ(Names(z.files, src), (std::vector<std::string>{"sub/b.txt", "tmp/c.txt"}));
  EXPECT_EQ(z.outcome.search->counters.filesExcluded, 2u);
  EXPECT_EQ(z.outcome.search->counters.bytesExcluded, 2u);
  EXPECT_TRUE(z.observer.Logged("Dateien ausgeschlossen: 2 (2 Bytes)"));
}

TEST(Walk, SymbolicLinks) {
  TempDir t;
  t.Write("src/real/a.txt", "a");
  t.Write("elsewhere/b.txt", "b");
  std::string src = t / "src";
  ASSERT_EQ(symlink((t / "elsewhere").c_str(), (src + "/linked").c_str()), 0);
  ASSERT_EQ(symlink((src + "/real/a.txt").c_str(), (src + "/alink.txt").c_str()), 0);
  ASSERT_EQ(symlink(src.c_str(), (src + "/real/loop").c_str()), 0);  // points back up

  RecordedSearch skip;  // links to folders are not followed by default
  skip.Run(SettingsFor({src}));
  EXPECT_EQ(Names(skip.files, src), (std::vector<std::string>{"real/a.txt"}));
  EXPECT_EQ(skip.outcome.search->counters.filesSeen, 1u);  // the file link is neither grouped nor counted

  MainSettings follow = SettingsFor({src});
  follow.search.NTFSordner = false;
  RecordedSearch walked;
  walked.Run(follow);
  // The loop back to the source is entered no second time.
  EXPECT_EQ(Names(walked.files, src), (std::vector<std::string>{"linked/b.txt", "real/a.txt"}));
}

TEST(Walk, TempFolderInsideSourceIsSkippedOnce) {
  TempDir t;
  t.Write("src/temp/x.bin", "x");
  t.Write("src/other/temp/y.bin", "y");
  std::string src = t / "src";
  MainSettings m = SettingsFor({src});
  m.search.ScanArchives = true;
  m.search.TempFolder = src + "/temp";
  RecordedSearch r;
  r.Run(m);
  EXPECT_EQ(Names(r.files, src), (std::vector<std::string>{"other/temp/y.bin"}));
}

TEST(Walk, ArchiveNamesAndMethodExtensionLists) {
  TempDir t;
  for (const char* n : {"a.part1.rar", "b.part01.rar", "c.part2.rar", "d.rar", "x.tar.gz", "x.gz", "v.7z.001", "w.001",
                        "p.zip", "photo.jpg"})
    t.Write(std::string("src/") + n, "1");
  std::string src = t / "src";
  MainSettings m = SettingsFor({src});
  m.search.ScanArchives = true;
  m.search.ScanArchive.fill(true);
  m.search.SearchMethod = kMethodSimilarPictures;
  RecordedSearch r;
  r.RunWalkOnly(m);
  std::sort(r.archives.begin(), r.archives.end());
  EXPECT_EQ(r.archives, (std::vector<std::string>{"a.part1.rar:rar", "b.part01.rar:rar", "d.rar", "p.zip", "v.7z.001:7z", "x.gz",
                                                   "x.tar.gz:tar"}));
  // Only the picture reaches the comparison; the archives are opened but count as excluded files.
  EXPECT_EQ(Names(r.files, src), (std::vector<std::string>{"photo.jpg"}));
  EXPECT_EQ(r.outcome.search->counters.filesExcluded, 9u);
  EXPECT_EQ(r.outcome.search->counters.totalArchives, 7u);

  m.search.ScanArchive[1] = false;  // rar off
  RecordedSearch r2;
  r2.RunWalkOnly(m);
  EXPECT_EQ(r2.archives.size(), 4u);
}

TEST(Walk, LargeSparseFilesAndOddNames) {
  TempDir t;
  t.WriteSparse("src/big.bin", 4294967296ULL);
  t.Write("src/bad\xff name.txt", "x");
  std::string src = t / "src";
  std::uint64_t seen = 0;
  RecordingObserver obs;
  ScriptedPrompt prompt;
  SearchEnvironment env;
  std::vector<std::string> names;
  StartSearchForDups(SettingsFor({src}), env, obs, prompt, [&](Search& s) {
    s.checkFile = [&](Search&, const EnumeratedFile& f) {
      names.emplace_back(f.name);
      if (f.name == "big.bin") seen = f.size;
    };
  });
  EXPECT_EQ(seen, 4294967296ULL);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"bad\xff name.txt", "big.bin"}));
}

TEST(Walk, UnreadableFolderIsPassedOverAndLogged) {
  TempDir t;
  t.Write("src/locked/a.txt", "a");
  t.Write("src/b.txt", "b");
  chmod((t / "src/locked").c_str(), 0);
  OpenToEveryone(t.path());
  // Root reads every folder: the walk runs as a user who cannot.
  EXPECT_TRUE(RunUnprivileged([&] {
    RecordedSearch r;
    r.Run(SettingsFor({t / "src"}));
    const std::string logged = "Der Ordner '" + (t / "src/locked") + "' konnte nicht durchsucht werden: ";
    return r.files.size() == 1u && r.observer.errors.size() == 1u && r.observer.errors[0].rfind(logged, 0) == 0;
  }));
}

}  // namespace
}  // namespace twinex::test
