// twinex-cli with selection tools: a real tree with set modification times, the selection applied
// after the search, and the export showing what would be acted on.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "platform/text.h"
#include "support/cli_run.h"

namespace twinex::test {
namespace {

CliRun Cli(const TempDir& home, const std::string& args) { return RunCli(home, args, "LC_ALL= LC_MESSAGES=de_DE.UTF-8", true); }


// Three copies of one content (the newest in b/) and two of another with equal dates.
void MakeTree(const TempDir& t) {
  SetMTime(t.Write("src/a/photo.jpg", "same content"), 1600000000);
  SetMTime(t.Write("src/b/photo.jpg", "same content"), 1700000000);
  SetMTime(t.Write("src/b/copy.jpg", "same content"), 1500000000);
  SetMTime(t.Write("src/a/note.tmp", "other"), 1600000000);
  SetMTime(t.Write("src/b/note.tmp", "other"), 1600000000);
}

TEST(CliSelect, AllButNewestExportsTheFilesThatWouldBeActedOn) {
  TempDir t;
  MakeTree(t);
  const std::string src = t / "src";
  CliRun r = Cli(t, "--select all-but-newest --export x.csv --which selected -s34 '" + src + "'");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Has(r.err, "--select all-but-newest: Es wurden 3 Dateien ausgewählt.")) << r.err;
  const std::string csv = platform::DecodeUtf16LE(ReadFile(t / "x.csv"));
  EXPECT_TRUE(Has(csv, "\"photo.jpg\";\"" + src + "/a\"")) << csv;
  EXPECT_TRUE(Has(csv, "\"copy.jpg\";\"" + src + "/b\"")) << csv;
  EXPECT_FALSE(Has(csv, "\"photo.jpg\";\"" + src + "/b\"")) << csv;  // the newest is kept
  // Equal dates: the upper row is kept, the lower one selected.
  EXPECT_TRUE(Has(csv, "\"note.tmp\";\"" + src + "/b\"")) << csv;
  EXPECT_FALSE(Has(csv, "\"note.tmp\";\"" + src + "/a\"")) << csv;
}

TEST(CliSelect, StepsRunInOrderWithinTheMode) {
  TempDir t;
  MakeTree(t);
  const std::string src = t / "src";
  CliRun r = Cli(t, "--select all --deselect 'in-folder=src/a' --deselect 'by-name=*.TMP' --file-list --which selected -s34 '" +
                        src + "'");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, src + "/b/copy.jpg\n" + src + "/b/photo.jpg\n") << r.err;

  // Mode 3 leaves groups that already have a selected file alone.
  r = Cli(t, "--select 'by-name=copy.*' --mode 3 --select all-but-oldest --file-list --which selected -s34 '" + src + "'");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, src + "/b/note.tmp\n" + src + "/b/copy.jpg\n") << r.err;
}

TEST(CliSelect, BadToolsAndValuesAreUsageErrorsBeforeAnySearch) {
  TempDir t;
  MakeTree(t);
  const std::string src = "'" + (t / "src") + "'";
  for (const char* bad : {"--select frobnicate", "--deselect all-but-newest", "--select all-but-newest=3",
                          "--select by-name", "--select 'by-name=[a-'", "--select by-date=older:3m",
                          "--select by-size=gt:1.23456MB", "--select similar-at-least=101", "--mode 1"}) {
    CliRun r = Cli(t, std::string(bad) + " -s34 " + src);
    EXPECT_EQ(r.exitCode, 2) << bad << "\n" << r.err;
    EXPECT_FALSE(Has(r.err, "Durchsuche")) << bad;
  }
  CliRun help = Cli(t, "--help");
  EXPECT_TRUE(Has(help.out, "  all-but-shortest-path ")) << help.out;
  EXPECT_TRUE(Has(help.out, "  by-name=PATTERN +")) << help.out;
}

}  // namespace
}  // namespace twinex::test
