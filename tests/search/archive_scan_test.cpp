// One archive as a search sees it: members that take part, the excluded ones, the log lines,
// and temporary copies with their numbers.
#include <cstdlib>
#include <filesystem>

#include "archive_fixture.h"
#include "search/archive_scan.h"
#include "search/archive_temp.h"

namespace twinex::test {
namespace {

namespace fs = std::filesystem;

struct RecordingHooks : ArchiveScanHooks {
  std::vector<std::string> accepted, log;
  std::uint64_t excluded = 0, excludedBytes = 0;
  std::string rejectName;
  bool Rejected(const ArchiveMember& m) override { return m.name == rejectName; }
  void Excluded(std::uint64_t size) override {
    ++excluded;
    excludedBytes += size;
  }
  void Accepted(const ArchiveRef&, const ArchiveMember& m) override { accepted.push_back(m.pathInsideZip); }
  void Log(const std::string& line, bool isError) override { log.push_back((isError ? "E " : "I ") + line); }
};

TEST(ArchiveScan, PasswordSizeLimitAndFiltersExcludeMembers) {
  TempDir t;
  // Two members are locked; the archiver cannot mix, so the zip holds only locked ones and a
  // second zip the open ones.
  const std::string locked = t / "locked.zip";
  WriteWith7zz(t, locked, {{"secret.txt", "0123456789"}}, "pw");
  const std::string open = t / "open.zip";
  WriteArchive(open, "zip", "", {{"small.txt", "s"}, {"big.bin", std::string(2048, 'b')}, {"skip.me", "x"}});
  ArchiveScanOptions options;
  options.sizeLimit = 2048;
  options.logPasswordProtected = true;
  RunControl run;
  RecordingHooks hooks;
  hooks.rejectName = "skip.me";
  ScanArchiveMembers({locked, "zip", ""}, options, run, hooks);
  ArchiveScanResult r = ScanArchiveMembers({open, "zip", ""}, options, run, hooks);
  EXPECT_EQ(r.members, 3u);
  EXPECT_EQ(hooks.accepted, std::vector<std::string>{"small.txt"});
  EXPECT_EQ(hooks.excluded, 3u);
  EXPECT_EQ(hooks.excludedBytes, 10u + 2048u + 1u);
  ASSERT_EQ(hooks.log.size(), 1u);
  EXPECT_NE(hooks.log[0].find("INFO: Die Datei 'secret.txt' aus dem Archiv '" + locked), std::string::npos) << hooks.log[0];

  // Without the switch the locked member is still excluded, silently.
  options.logPasswordProtected = false;
  RecordingHooks quiet;
  ScanArchiveMembers({locked, "zip", ""}, options, run, quiet);
  EXPECT_TRUE(quiet.log.empty());
  EXPECT_EQ(quiet.excluded, 1u);
}

TEST(ArchiveScan, EmptyAndUnreadableArchivesAreLogged) {
  TempDir t;
  const std::string empty = t / "empty.zip";
  WriteArchive(empty, "zip", "", {});
  const std::string broken = t.Write("broken.7z", "7z but not really");
  RunControl run;
  RecordingHooks hooks;
  ScanArchiveMembers({empty, "zip", ""}, {}, run, hooks);
  ScanArchiveMembers({broken, "7z", ""}, {}, run, hooks);
  ASSERT_EQ(hooks.log.size(), 2u);
  EXPECT_EQ(hooks.log[0].rfind("I INFO: Es konnten keine Dateien", 0), 0u) << hooks.log[0];
  EXPECT_EQ(hooks.log[1].rfind("E Beim Öffnen der Datei '" + broken, 0), 0u) << hooks.log[1];
}

TEST(ArchiveTemp, SameNamesGetTheirOwnCopiesAndRemovalStaysInside) {
  TempDir t;
  const std::string archive = t / "pics.zip";
  WriteArchive(archive, "zip", "", {{"one/a.jpg", "first"}, {"two/a.jpg", "second"}});
  const std::string folder = ArchiveTempCopies::MakeSearchFolder(t / "temp");
  ASSERT_EQ(folder.rfind(t / "temp/TW", 0), 0u) << folder;
  EXPECT_NE(ArchiveTempCopies::MakeSearchFolder(t / "temp"), folder);  // a second search gets another

  ArchiveTempCopies copies(folder);
  RunControl run;
  TempCopyResult a = copies.Extract({archive, "zip", ""}, "one/a.jpg", run);
  TempCopyResult b = copies.Extract({archive, "zip", ""}, "two/a.jpg", run);
  ASSERT_TRUE(a.ok && b.ok);
  EXPECT_EQ(a.path, folder + "1_a.jpg");
  EXPECT_EQ(b.path, folder + "2_a.jpg");
  EXPECT_EQ(b.number, "2_");
  EXPECT_EQ(ReadFile(b.path), "second");
  EXPECT_EQ(copies.extracted(), 2u);

  TempCopyResult missing = copies.Extract({archive, "zip", ""}, "three/a.jpg", run);
  EXPECT_FALSE(missing.ok);
  EXPECT_TRUE(missing.isError);
  EXPECT_NE(missing.message.find("Beim Entpacken der Datei 'three/a.jpg'"), std::string::npos) << missing.message;

  // A stopped search extracts nothing and logs nothing.
  RunControl stopped;
  stopped.RequestStop();
  TempCopyResult none = copies.Extract({archive, "zip", ""}, "one/a.jpg", stopped);
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.message, "");

  const std::string outside = t.Write("keep.txt", "keep");
  copies.Remove(outside);
  copies.Remove(a.path);
  EXPECT_TRUE(fs::exists(outside));
  EXPECT_FALSE(fs::exists(a.path));
  copies.RemoveAll();
  EXPECT_FALSE(fs::exists(folder));

  // A base that cannot be made falls back to the system's temp folder (here the test's own).
  const std::string blocked = t.Write("file-not-folder", "x");
  const std::string previous = platform::GetEnv("TMPDIR");
  setenv("TMPDIR", t.path().c_str(), 1);
  const std::string fallback = ArchiveTempCopies::MakeSearchFolder(blocked + "/sub");
  setenv("TMPDIR", previous.c_str(), 1);
  if (previous.empty()) unsetenv("TMPDIR");
  EXPECT_EQ(fallback, t / "TWtemp/");
  EXPECT_TRUE(fs::is_directory(fallback));
}

}  // namespace
}  // namespace twinex::test
