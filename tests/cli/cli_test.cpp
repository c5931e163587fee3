// twinex-cli as a user runs it: a real process, real folders, its own data folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "platform/text.h"
#include "support/cli_run.h"

namespace twinex::test {
namespace {

CliRun Cli(const TempDir& home, const std::string& args) { return RunCli(home, args); }


TEST(Cli, SearchRunsAndLogsToStandardError) {
  TempDir t;
  t.Write("src/a.txt", "same");
  t.Write("src/sub/b.txt", "same");
  CliRun r = Cli(t, "-s3 '" + (t / "src") + "'");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(Has(r.err, " - Suchmethode: Finde Dateiduplikate anhand Ihrer Eigenschaften")) << r.err;
  EXPECT_TRUE(Has(r.err, " - Überprüfte Dateien: 2 / 2")) << r.err;
  // The settings file is made with the defaults on first use.
  EXPECT_EQ(ReadFile(t / "data/Twinex/config4.ini").substr(0, 2), "\xFF\xFE");
}

TEST(Cli, RefusalsAndUsageErrorsHaveTheirExitCodes) {
  TempDir t;
  CliRun missing = Cli(t, "-s3 '" + (t / "nothing-here") + "'");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(Has(missing.err, "folder not found, skipped"));
  EXPECT_TRUE(Has(missing.err, "Es ist kein Quellordner ausgewählt!"));

  CliRun usage = Cli(t, "--frobnicate");
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_EQ(Cli(t, "").exitCode, 2);
  EXPECT_EQ(Cli(t, "--help").exitCode, 0);
}

TEST(Cli, OptionValuesNeverSwallowASwitchAndEmptyNamesAreRefused) {
  TempDir t;
  t.Write("src/a.txt", "same");
  t.Write("src/b.txt", "same");
  const std::string src = " '" + (t / "src") + "'";
  // Each of these once took the next switch as its value or ran a search with an empty name.
  for (const std::string& bad : {"--delimiter -s34" + src, "--save-profile ''" + src,
                                "--export -s3" + src, std::string("--settings ''"), "--yes=1 -s3" + src}) {
    CliRun r = Cli(t, bad);
    EXPECT_EQ(r.exitCode, 2) << bad << "\n" << r.err;
    EXPECT_FALSE(Has(r.err, "Suchmethode")) << bad << ": no search may run";
  }
  EXPECT_TRUE(Has(Cli(t, "--delimiter -s34").err, "--delimiter=VALUE"));
  // A value that starts with "-" is given with "="; a lone "-" is a value of its own.
  CliRun dash = Cli(t, "-s34 -c2" + src + " --export '" + (t / "out.csv") + "' --delimiter=-x-");
  EXPECT_EQ(dash.exitCode, 0) << dash.err;
  EXPECT_TRUE(Has(ReadFile(t / "out.csv"), platform::EncodeUtf16LE("-x-", false))) << "the separator is used";
  EXPECT_EQ(Cli(t, "-s3" + src + " --log -").exitCode, 0);
}

TEST(Cli, LogFileIsUtf16WithMarkAndQuestionsTakeTheSafeAnswer) {
  TempDir t;
  t.Write("src/a.jpg", "x");
  t.Write("src/b.txt", "y");
  // A profile-like settings file with the filter question switched on.
  std::string settings = t.Write("settings.ini",
                                 "[DupVerz]\nFilterVerwendenBest=1\nSuchkriterien2=1\n[Dateifilter]\nVerwenden=1\n"
                                 "[DupFilter]\nFiltertyp=0\nF0=*.jpg\nC0=1\n");
  std::string log = t / "search.log";
  CliRun r = Cli(t, "--settings '" + settings + "' --log '" + log + "' -s3 '" + (t / "src") + "'");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Has(r.err, "Sollen die Datei- und Ordnerfilter bei der Suche verwendet werden?"));
  EXPECT_TRUE(Has(r.err, "-> answered no"));
  std::string bytes = ReadFile(log);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  std::string text = platform::DecodeUtf16LE(bytes);
  EXPECT_TRUE(Has(text, "Überprüfte Dateien: 2 / 2\r\n")) << text;  // the filters were not used

  CliRun yes = Cli(t, "--yes --settings '" + settings + "' -s3 '" + (t / "src") + "'");
  EXPECT_TRUE(Has(yes.err, "Überprüfte Dateien: 1 / 2")) << yes.err;
}

}  // namespace
}  // namespace twinex::test
