// Searches with the checksum database: stored digests replace reading, changed files are read
// and their rows updated, and a database that cannot be used leaves the search to work alone.
#include "checksum_db_fixture.h"
#include "platform/file_system.h"
#include "search/checksum_db_search.h"

namespace twinex::test {
namespace {

std::string Content(char seed, std::size_t n = 3000) {
  std::string s(n, seed);
  for (std::size_t i = 0; i < n; i += 7) s[i] = static_cast<char>(seed + i % 13);
  return s;
}

struct Tree {
  DbFolder f;
  std::string src = f.t / "src";
  Tree() {
    f.Create();
    f.t.Write("src/a", Content('a'));
    f.t.Write("src/sub/b", Content('a'));
    f.t.Write("src/c", Content('c'));  // same size, other content
    f.t.Write("src/tiny1", "0123456789");  // not longer than a digest: compared by its bytes
    f.t.Write("src/tiny2", "0123456789");
  }
};

TEST(ChecksumDbSearch, StoredDigestsReplaceReadingUntilAFileChanges) {
  Tree tree;
  MainSettings m = ContentSearchSettings(tree.src);
  DbSearch first(m, tree.f.loc);
  EXPECT_EQ(first.groups(), 2u);
  EXPECT_EQ(first.counters().checksumsCreated, 5u);
  EXPECT_EQ(first.counters().dbChecksumsStored, 3u);
  EXPECT_TRUE(first.observer.Logged("Option: Datenbank verwenden"));
  EXPECT_TRUE(first.observer.Logged("Datenbank-Prüfsummen gespeichert: 3"));

  DbSearch second(m, tree.f.loc);
  EXPECT_EQ(second.groups(), 2u);
  EXPECT_EQ(second.counters().dbChecksumsUsed, 3u);
  EXPECT_EQ(second.counters().checksumsCreated, 2u);  // the tiny pair only
  EXPECT_EQ(second.counters().dbChecksumsStored, 0u);

  // A new modification date: that file is read again and its one row replaced.
  SetMTime(tree.src + "/c", 1000000000);
  DbSearch third(m, tree.f.loc);
  EXPECT_EQ(third.counters().dbChecksumsUsed, 2u);
  EXPECT_EQ(third.counters().dbChecksumsUpdated, 1u);
  EXPECT_EQ(third.counters().dbChecksumsStored, 0u);
  EXPECT_EQ(tree.f.Query("SELECT count(*) FROM hashc"), 3);
  EXPECT_EQ(tree.f.Query("SELECT count(*) FROM files"), 3);

  // Without the checks a stored digest is trusted even for a file that changed since.
  tree.f.t.Write("src/c", Content('a'));  // now a copy of a, with a new date
  m.search.checksize = m.search.checkdate = false;
  DbSearch trusting(m, tree.f.loc);
  EXPECT_EQ(trusting.counters().dbChecksumsUsed, 3u);
  EXPECT_EQ(trusting.groups(), 2u);  // the stored digest still says c differs from a
  m.search.checkdate = true;
  DbSearch checking(m, tree.f.loc);
  EXPECT_EQ(checking.counters().dbChecksumsUpdated, 1u);
  ASSERT_EQ(checking.groups(), 2u);
  EXPECT_EQ(checking.outcome.search->result.groups[1].files.size(), 3u);
}

TEST(ChecksumDbSearch, UnusableDatabaseIsReportedOnceAndTheSearchGoesOn) {
  Tree tree;
  MainSettings m = ContentSearchSettings(tree.src);
  {
    ForeignLock other(tree.f.loc.lockFile);
    DbSearch busy(m, tree.f.loc);
    EXPECT_EQ(busy.ErrorsWith("von einer anderen Twinex-Instanz verwendet wird!"), 1u);
    EXPECT_FALSE(busy.observer.Logged("Option: Datenbank verwenden"));
    EXPECT_EQ(busy.groups(), 2u);
    EXPECT_EQ(busy.counters().dbChecksumsStored, 0u);
  }

  const std::string path = tree.f.loc.file;
  const std::string good = ReadFile(path);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  {
    WithoutDacOverride asUser;
    DbSearch readOnly(m, tree.f.loc);
    EXPECT_EQ(readOnly.observer.errors.size(), 1u);
    EXPECT_EQ(readOnly.ErrorsWith("attempt to write a readonly database"), 1u);
    EXPECT_EQ(readOnly.groups(), 2u);
  }
  EXPECT_EQ(ReadFile(path), good);

  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  tree.f.t.Write("data/db/checksum.adb", "not a database, just text");
  DbSearch damaged(m, tree.f.loc);
  EXPECT_EQ(damaged.observer.errors.size(), 1u);
  EXPECT_EQ(damaged.ErrorsWith("konnte nicht geöffnet werden"), 1u);
  EXPECT_EQ(damaged.groups(), 2u);
  EXPECT_EQ(ReadFile(path), "not a database, just text");
}

// Deletes the database file once the search has opened it and starts walking.
struct DeletingObserver : RecordingObserver {
  std::string file;
  void OnStep(const std::string& caption) override {
    RecordingObserver::OnStep(caption);
    if (caption.rfind("Durchsuche: ", 0) == 0) ::unlink(file.c_str());
  }
};

TEST(ChecksumDbSearch, DatabaseDeletedDuringTheSearchIsReportedOnce) {
  Tree tree;
  DeletingObserver observer;
  observer.file = tree.f.loc.file;
  ScriptedPrompt prompt;
  SearchEnvironment env;
  env.database = tree.f.loc;
  SearchOutcome out = StartSearchForDups(ContentSearchSettings(tree.src), env, observer, prompt);
  ASSERT_TRUE(out.started);
  EXPECT_EQ(out.search->result.groups.size(), 2u);
  ASSERT_EQ(observer.errors.size(), 1u);
  EXPECT_NE(observer.errors[0].find("konnte nicht gefunden werden!"), std::string::npos) << observer.errors[0];
  EXPECT_NE(observer.errors[0].find("Die Suche wird ohne die Datenbank fortgesetzt."), std::string::npos);
  EXPECT_FALSE(platform::ExistFile(tree.f.loc.file));
}

TEST(ChecksumDbSearch, PictureHashesAndFingerprintsRoundTripPerTheirSwitches) {
  DbFolder f;
  f.Create();
  RecordingObserver observer;
  SilentPrompt prompt;
  Search s(MainSettings{}, SearchEnvironment{}, observer, prompt);
  s.files.Init(4, 4);
  s.database = std::make_unique<ChecksumDatabase>(f.loc);
  std::string error;
  ASSERT_TRUE(s.database->Init_Database_Checksum(error)) << error;
  FileRecord r;
  r.FolderIndex = s.files.InternFolder(f.t.path());
  s.files.SetFileName(r, "p.jpg", "jpg");
  r.SIZE = 10;
  const long index = s.files.Add("k", r);

  const std::vector<std::uint8_t> hash{1, 2, 3, 4, 5, 6, 7, 8};
  const std::vector<std::int32_t> print{-1, 0, 0x7FFFFFFF, 42};
  DB_Save_Pic_Hash(s, index, 23, hash);
  DB_Save_Audio_Hash(s, index, 120, 2, print);
  std::vector<std::uint8_t> gotHash;
  std::vector<std::int32_t> gotPrint;
  EXPECT_TRUE(DB_Get_Pic_Hash(s, index, 23, gotHash));
  EXPECT_EQ(gotHash, hash);
  EXPECT_FALSE(DB_Get_Pic_Hash(s, index, 24, gotHash));  // another orientation slot
  EXPECT_TRUE(DB_Get_Audio_Hash(s, index, 120, 2, gotPrint));
  EXPECT_EQ(gotPrint, print);
  EXPECT_EQ(s.counters.dbChecksumsStored, 2u);
  EXPECT_EQ(s.counters.dbChecksumsUsed, 2u);

  s.settings.usedbpic = s.settings.usedbaudio = false;
  EXPECT_FALSE(DB_Get_Pic_Hash(s, index, 23, gotHash));
  EXPECT_FALSE(DB_Get_Audio_Hash(s, index, 120, 2, gotPrint));
}

}  // namespace
}  // namespace twinex::test
