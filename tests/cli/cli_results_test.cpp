// Saved results from twinex-cli: save after a search, list, load and act, rename, delete.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/cli_run.h"

namespace twinex::test {
namespace {

CliRun Cli(const TempDir& home, const std::string& args) { return RunCli(home, args); }

TEST(CliResults, ASavedResultIsListedLoadedActedOnAndManaged) {
  TempDir t;
  SetMTime(t.Write("src/a/x.txt", "same"), 1500000000);
  SetMTime(t.Write("src/b/x.txt", "same"), 1600000000);
  const std::string src = " '" + (t / "src") + "'";

  CliRun saved = Cli(t, "-s34 -c2" + src + " --save urlaub --comment 'vor dem Aufräumen'");
  ASSERT_EQ(saved.exitCode, 0) << saved.err;
  EXPECT_TRUE(Has(saved.err, "result saved as urlaub"));
  EXPECT_TRUE(Exists(t / "data/Twinex/data/urlaub.asr4a") && Exists(t / "data/Twinex/data/urlaub.txt"));

  CliRun list = Cli(t, "--results");
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_TRUE(Has(list.out, "urlaub\t2\t")) << list.out;
  EXPECT_TRUE(Has(list.out, "\tvor dem Aufräumen\n")) << list.out;

  // The loaded result works as a fresh one: no search runs, the selection and action do.
  CliRun acted = Cli(t, "--load urlaub --select all-but-newest --action delete --yes");
  ASSERT_EQ(acted.exitCode, 0) << acted.err;
  EXPECT_FALSE(Has(acted.err, "Suchmethode"));
  EXPECT_FALSE(Exists(t / "src/a/x.txt"));
  EXPECT_TRUE(Exists(t / "src/b/x.txt"));
  EXPECT_TRUE(Has(acted.out, t / "src/b")) << acted.out;

  EXPECT_EQ(Cli(t, "--rename-result urlaub sommer").exitCode, 0);
  EXPECT_EQ(Cli(t, "--load urlaub").exitCode, 1);
  EXPECT_TRUE(Has(Cli(t, "--load urlaub").err, "Das Suchergebnis kann nicht geladen werden:"));
  CliRun kept = Cli(t, "--delete-result sommer");
  EXPECT_EQ(kept.exitCode, 1) << "deleting asks first";
  EXPECT_TRUE(Exists(t / "data/Twinex/data/sommer.asr4a"));
  EXPECT_EQ(Cli(t, "--delete-result sommer --yes").exitCode, 0);
  EXPECT_FALSE(Exists(t / "data/Twinex/data/sommer.asr4a"));

  EXPECT_EQ(Cli(t, "--load x" + src).exitCode, 2) << "a loaded result takes no search arguments";
  EXPECT_EQ(Cli(t, "--results --delete-result x").exitCode, 2);
  EXPECT_EQ(Cli(t, "-s3" + src + " --save a --autosave").exitCode, 2);
}

TEST(CliResults, AutoSaveCountsUp) {
  TempDir t;
  t.Write("src/a.txt", "same");
  t.Write("src/b.txt", "same");
  const std::string search = "-s3 '" + (t / "src") + "' --autosave";
  EXPECT_TRUE(Has(Cli(t, search).err, "result saved as AutoSave001"));
  EXPECT_TRUE(Has(Cli(t, search).err, "result saved as AutoSave002"));
}

}  // namespace
}  // namespace twinex::test
