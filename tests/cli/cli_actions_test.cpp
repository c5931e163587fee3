// File actions from twinex-cli: a real process on real folders with its own data folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "platform/text.h"
#include "support/cli_run.h"

namespace twinex::test {
namespace {

CliRun Cli(const TempDir& home, const std::string& args) { return RunCli(home, args); }

// Three copies of one file, the newest in b/; and a pair of another file.
void MakeTree(const TempDir& t) {
  SetMTime(t.Write("src/a/x.txt", "same"), 1500000000);
  SetMTime(t.Write("src/b/x.txt", "same"), 1600000000);
  SetMTime(t.Write("src/c/x.txt", "same"), 1400000000);
  SetMTime(t.Write("src/a/y.txt", "other text"), 1500000000);
  SetMTime(t.Write("src/c/y.txt", "other text"), 1400000000);
}

TEST(CliActions, DeleteAsksFirstThenDeletesExactlyTheSelected) {
  TempDir t;
  MakeTree(t);
  const std::string search = "-s34 -c2 '" + (t / "src") + "' --select all-but-newest --action delete";
  CliRun refused = Cli(t, search);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(Has(refused.err, "Soll die Aktion 'Dateien löschen' durchgeführt werden?")) << refused.err;
  EXPECT_TRUE(Has(refused.err, "-> answered no"));
  for (const char* f : {"a/x.txt", "b/x.txt", "c/x.txt", "a/y.txt", "c/y.txt"}) EXPECT_TRUE(Exists(t / ("src/" + std::string(f)))) << f;

  CliRun done = Cli(t, search + " --yes");
  EXPECT_EQ(done.exitCode, 0) << done.err;
  EXPECT_TRUE(Exists(t / "src/b/x.txt"));
  EXPECT_TRUE(Exists(t / "src/a/y.txt"));
  EXPECT_FALSE(Exists(t / "src/a/x.txt") || Exists(t / "src/c/x.txt") || Exists(t / "src/c/y.txt"));
  EXPECT_TRUE(Has(done.err, "Dateien gelöscht: 3 von 3")) << done.err;
  // The report is written after the action: the deleted rows are gone from it.
  EXPECT_FALSE(Has(done.out, (t / "src/c")));
  EXPECT_TRUE(Has(done.out, (t / "src/b")));
  // The action's lines follow the search in the search's log.
  const std::string last = platform::DecodeUtf16LE(ReadFile(t / "data/Twinex/log/lastsearch.txt"));
  EXPECT_TRUE(Has(last, " - Aktion 'Dateien löschen' beendet.\r\n")) << last;
}

TEST(CliActions, DryRunAndCopyChangeNoSourceFile) {
  TempDir t;
  MakeTree(t);
  const std::string src = "-s34 -c2 '" + (t / "src") + "' --select all-but-newest ";
  CliRun dry = Cli(t, src + "--action move --target '" + t.MakeDir("backup") + "' --dry-run");
  EXPECT_EQ(dry.exitCode, 0) << dry.err;
  EXPECT_TRUE(Has(dry.err, "PROBELAUF: VERSCHOBEN: '" + (t / "src/a/x.txt") + "'")) << dry.err;
  EXPECT_TRUE(Exists(t / "src/a/x.txt"));

  // Copying changes no source file, so it runs without --yes.
  CliRun copy = Cli(t, src + "--action copy --target '" + (t / "backup") + "' --flat --subfolder ''");
  EXPECT_EQ(copy.exitCode, 0) << copy.err;
  EXPECT_EQ(ReadFile(t / "backup/x.txt"), "same");
  EXPECT_EQ(ReadFile(t / "backup/x-001.txt"), "same");
  EXPECT_EQ(ReadFile(t / "backup/y.txt"), "other text");
  EXPECT_TRUE(Exists(t / "src/a/x.txt") && Exists(t / "src/c/x.txt"));
}

TEST(CliActions, ProtectedSourceAndOptionErrors) {
  TempDir t;
  SetMTime(t.Write("one/p.txt", "same"), 1400000000);
  SetMTime(t.Write("two/q.txt", "same"), 1400000000);
  SetMTime(t.Write("two/r.txt", "same"), 1600000000);
  CliRun r = Cli(t, "-s34 -c2 '" + (t / "one") + "' '" + (t / "two") +
                        "' --select all-but-newest --action delete --protect 1 --yes");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Exists(t / "one/p.txt"));
  EXPECT_FALSE(Exists(t / "two/q.txt"));
  EXPECT_FALSE(Has(r.err, "Dateien geschützt: 1"));  // the tools never selected the protected file

  EXPECT_EQ(Cli(t, "-s3 '" + (t / "one") + "' --action copy --hardlink").exitCode, 2);
  EXPECT_EQ(Cli(t, "-s3 '" + (t / "one") + "' --target /tmp").exitCode, 2);
  EXPECT_EQ(Cli(t, "-s3 '" + (t / "one") + "' --action shred").exitCode, 2);
  EXPECT_TRUE(Has(Cli(t, "--help").out, "--action delete|trash|copy|move|rename"));
}

}  // namespace
}  // namespace twinex::test
