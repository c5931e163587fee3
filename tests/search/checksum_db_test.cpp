// The checksum database file: versions, lookups and stores, exclusion, damaged files, and the
// maintenance of the options page.
#include "checksum_db_fixture.h"
#include "search/checksum_db_maintenance.h"

namespace twinex::test {
namespace {

const std::vector<std::uint8_t> kDigest(20, 0xAB);
const std::vector<std::uint8_t> kOtherDigest(20, 0xCD);
const std::string kIndexNames = "('file','file_archive','fileid_ctype','fileid_ctypes','fileid_seconds_algo')";

std::int64_t IndexCount(const DbFolder& f) {
  return f.Query("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name IN " + kIndexNames);
}

TEST(ChecksumDb, VersionTwoIsUpgradedOthersAreRefused) {
  DbFolder f;
  ChecksumDatabase db(f.loc);
  std::string error;
  EXPECT_FALSE(db.Init_Database_Checksum(error));
  EXPECT_EQ(error, "Die Datenbank '" + f.loc.file + "' konnte nicht gefunden werden!");

  f.Create();
  ASSERT_TRUE(db.Init_Database_Checksum(error)) << error;
  db.Close_Database();
  EXPECT_EQ(f.Query("SELECT ver FROM config WHERE id = 1"), 3);
  EXPECT_EQ(IndexCount(f), 4);

  // A version 2 file: the tables without their indexes.
  DbFolder old;
  old.Create();
  ASSERT_EQ(old.Exec("DROP INDEX file_archive;DROP INDEX fileid_ctype;DROP INDEX fileid_ctypes;"
                     "DROP INDEX fileid_seconds_algo;UPDATE config SET ver = 2;"),
            "");
  ChecksumDatabase upgraded(old.loc);
  ASSERT_TRUE(upgraded.Init_Database_Checksum(error)) << error;
  upgraded.Close_Database();
  EXPECT_EQ(old.Query("SELECT ver FROM config WHERE id = 1"), 3);
  EXPECT_EQ(IndexCount(old), 5);

  ASSERT_EQ(f.Exec("UPDATE config SET ver = 4;"), "");
  EXPECT_FALSE(db.Init_Database_Checksum(error));
  EXPECT_EQ(error, "Die Datenbank '" + f.loc.file + "' ist nicht kompatibel mit der Anwendung! (4)");
  EXPECT_FALSE(platform::LockFile::IsHeldElsewhere(f.loc.lockFile));  // a refusal keeps nothing

  // Made anew on request, after the question.
  ScriptedPrompt yes;
  yes.answers = {PromptAnswer::Yes, PromptAnswer::Ok};
  EXPECT_TRUE(DB_New(f.loc, yes));
  EXPECT_EQ(yes.texts, (std::vector<std::string>{"Soll die vorhandene Datenbank gelöscht und eine neue Datenbank erstellt werden?",
                                                 "Die Datenbank wurde neu erstellt."}));
  EXPECT_EQ(f.Query("SELECT ver FROM config WHERE id = 1"), 3);
}

TEST(ChecksumDb, StoredChecksumsAreFoundUntilTheFileChanges) {
  DbFolder f;
  f.Create();
  ChecksumDatabase db(f.loc);
  std::string error;
  ASSERT_TRUE(db.Init_Database_Checksum(error)) << error;
  const FileKey file{"/x/File.bin", ""};
  const FileStamp stamp{1000, 45000.5};
  const std::int64_t sha1[] = {2};
  std::vector<std::uint8_t> got;
  EXPECT_EQ(db.Get(kHashContent, file, sha1, stamp, true, true, got), LookupResult::NotFound);
  EXPECT_EQ(db.Save(kHashContent, file, sha1, stamp, kDigest), StoreResult::Stored);
  EXPECT_EQ(db.Get(kHashContent, file, sha1, stamp, true, true, got), LookupResult::Found);
  EXPECT_EQ(got, kDigest);

  const FileStamp touched{1000, 45001.0}, grown{1001, 45000.5};
  EXPECT_EQ(db.Get(kHashContent, file, sha1, touched, true, true, got), LookupResult::NotFound);
  EXPECT_EQ(db.Get(kHashContent, file, sha1, touched, true, false, got), LookupResult::Found);
  EXPECT_EQ(db.Get(kHashContent, file, sha1, grown, true, false, got), LookupResult::NotFound);
  EXPECT_EQ(db.Get(kHashContent, file, sha1, grown, false, false, got), LookupResult::Found);
  const std::int64_t md5[] = {1};
  EXPECT_EQ(db.Get(kHashContent, file, md5, stamp, true, true, got), LookupResult::NotFound);

  // Paths that differ only in case name two files; an archive member is a file of its own.
  const FileKey lower{"/x/file.bin", ""}, member{"/x/File.bin", "/x/a.zip"};
  EXPECT_EQ(db.Get(kHashContent, lower, sha1, stamp, false, false, got), LookupResult::NotFound);
  EXPECT_EQ(db.Get(kHashContent, member, sha1, stamp, false, false, got), LookupResult::NotFound);
  EXPECT_EQ(db.Save(kHashContent, lower, sha1, stamp, kOtherDigest), StoreResult::Stored);
  EXPECT_EQ(db.Save(kHashContent, file, sha1, touched, kOtherDigest), StoreResult::Updated);

  // Fingerprints are kept per length and algorithm.
  const std::int64_t tenSeconds[] = {10, 2}, twentySeconds[] = {20, 2};
  EXPECT_EQ(db.Save(kHashAudio, file, tenSeconds, stamp, kDigest), StoreResult::Stored);
  EXPECT_EQ(db.Get(kHashAudio, file, twentySeconds, stamp, true, true, got), LookupResult::NotFound);
  db.Close_Database();  // commits

  EXPECT_EQ(f.Query("SELECT count(*) FROM files"), 2);
  EXPECT_EQ(f.Query("SELECT count(*) FROM hashc"), 2);
  ASSERT_TRUE(db.Init_Database_Checksum(error)) << error;
  EXPECT_EQ(db.Get(kHashContent, file, sha1, touched, true, true, got), LookupResult::Found);
  EXPECT_EQ(got, kOtherDigest);
  EXPECT_EQ(db.Get(kHashAudio, file, tenSeconds, stamp, true, true, got), LookupResult::Found);
}

TEST(ChecksumDb, AnotherHolderOrADamagedFileIsRefusedAndNothingIsTouched) {
  DbFolder f;
  f.Create();
  std::string error;
  {
    ForeignLock other(f.loc.lockFile);
    ChecksumDatabase db(f.loc);
    EXPECT_TRUE(db.IsDBused(error));
    EXPECT_FALSE(db.Init_Database_Checksum(error));
    EXPECT_EQ(error,
              "Der Zugriff auf die Datenbank ist momentan nicht möglich, da diese von einer anderen Twinex-Instanz "
              "verwendet wird!");
    EXPECT_FALSE(db.Create_Checksum_Database(true, error));  // not deleted under the other's feet
    EXPECT_EQ(f.Query("SELECT ver FROM config WHERE id = 1"), 3);
  }

  const std::string garbage(8192, 'x');
  f.t.Write("data/db/checksum.adb", garbage);
  ChecksumDatabase damaged(f.loc);
  EXPECT_FALSE(damaged.Init_Database_Checksum(error));
  EXPECT_EQ(error, "Die Datenbank '" + f.loc.file + "' konnte nicht geöffnet werden: file is not a database");
  f.Create();  // the file exists: nothing to do
  EXPECT_EQ(ReadFile(f.loc.file), garbage);
}

TEST(ChecksumDbMaintenance, CleanRemovesVanishedFilesAndMembersOfVanishedArchives) {
  DbFolder f;
  f.Create();
  const std::string kept = f.t.Write("kept.bin", "k"), archive = f.t.Write("a.zip", "z");
  {
    ChecksumDatabase db(f.loc);
    std::string error;
    ASSERT_TRUE(db.Init_Database_Checksum(error)) << error;
    const std::int64_t sha1[] = {2}, md5[] = {1}, audio[] = {10, 2};
    const FileStamp stamp{1, 1};
    db.Save(kHashContent, {kept, ""}, sha1, stamp, kDigest);
    db.Save(kHashContent, {"inner/x.txt", archive}, sha1, stamp, kDigest);
    db.Save(kHashContent, {f.t / "gone.bin", ""}, sha1, stamp, kDigest);
    db.Save(kHashContent, {f.t / "gone.bin", ""}, md5, stamp, kDigest);
    // The member's own text names a file that exists; its archive does not.
    db.Save(kHashContent, {kept, f.t / "gone.zip"}, sha1, stamp, kDigest);
    db.Save(kHashAudio, {kept, f.t / "gone.zip"}, audio, stamp, kDigest);
  }
  ScriptedPrompt prompt;
  std::vector<std::string> status;
  MaintenanceProgress progress{[&](const std::string& s) { status.push_back(s); }, {}};
  CleanOutcome outcome;
  EXPECT_TRUE(DB_Clean(f.loc, prompt, progress, &outcome));
  EXPECT_EQ(outcome.files, 2);
  EXPECT_EQ(outcome.checksums, 4);
  EXPECT_EQ(prompt.texts, std::vector<std::string>{"Es wurden 2 Dateien mit insgesamt 4 Prüfsummen aus der Datenbank entfernt."});
  EXPECT_EQ(status, (std::vector<std::string>{"Komprimiere Datenbank...", "Optimiere Datenbank..."}));
  DatabaseInfo info;
  ASSERT_EQ(GetDBinfo(f.loc, info), "");
  EXPECT_EQ(info.files, 2);
  EXPECT_EQ(info.checksums, 2);
  EXPECT_EQ(f.Query("SELECT count(*) FROM files WHERE archive IS NULL AND file = '" + kept + "'"), 1);
}

}  // namespace
}  // namespace twinex::test
