// twinex-cli goes through the program's start-up: its language, its log files and profiles.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/text.h"
#include "support/cli_run.h"

namespace twinex::test {
namespace {

CliRun Cli(const TempDir& home, const std::string& locale, const std::string& args) {
  return RunCli(home, args, "LC_ALL= LC_MESSAGES= LANG='" + locale + "'");
}


std::string Log(const TempDir& home, const std::string& name) {
  std::string bytes = ReadFile(home / ("data/Twinex/log/" + name));
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << name;
  return platform::DecodeUtf16LE(bytes);
}

TEST(CliStartup, TextsFollowTheLocale) {
  TempDir t;
  const std::string missing = "-s3 '" + (t / "nothing") + "'";
  EXPECT_TRUE(Has(Cli(t, "C", missing).err, "No source folder is selected!"));
  EXPECT_TRUE(Has(Cli(t, "en_US.UTF-8", missing).err, "No source folder is selected!"));
  EXPECT_TRUE(Has(Cli(t, "de_DE.UTF-8", missing).err, "Es ist kein Quellordner ausgewählt!"));
}

TEST(CliStartup, SearchWritesTheGeneralLogAndTheLastSearch) {
  TempDir t;
  t.Write("src/a.txt", "same");
  t.Write("src/b.txt", "same");
  CliRun r = Cli(t, "de_DE.UTF-8", "-s3 '" + (t / "src") + "'");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string general = Log(t, "Twinex4.txt"), last = Log(t, "lastsearch.txt");
  EXPECT_TRUE(Has(general, " - " + std::string(50, '-') + "\r\n")) << general;
  EXPECT_TRUE(Has(last, " - Suchmethode: Finde Dateiduplikate anhand Ihrer Eigenschaften\r\n")) << last;
  EXPECT_TRUE(Has(general, last.substr(0, last.find("\r\n")))) << "the search log joins the general log";
  EXPECT_TRUE(std::filesystem::is_empty(t / "data/Twinex/temp")) << "the temporary search log is gone";
  EXPECT_TRUE(Has(general, "Protokolleinträge älter als 10 Tag(e) werden aus der Protokolldatei"));

  // A refused search leaves the last search as it was.
  Cli(t, "de_DE.UTF-8", "-s3 '" + (t / "nothing") + "'");
  EXPECT_EQ(Log(t, "lastsearch.txt"), last);
}

TEST(CliStartup, ProfilesAreSavedAndListed) {
  TempDir t;
  t.MakeDir("fotos");
  CliRun saved = Cli(t, "C", "--save-profile 'Fotos 2024' --comment 'nur Bilder' -s34 '" + (t / "fotos") + "'");
  EXPECT_EQ(saved.exitCode, 0) << saved.err;
  CliRun again = Cli(t, "C", "--save-profile 'Fotos 2024' -s3");
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_TRUE(Has(again.err, "The profile was saved."));
  CliRun bad = Cli(t, "C", "--save-profile '../escape'");
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_TRUE(Has(bad.err, "cannot be used as a profile name")) << bad.err;
  EXPECT_FALSE(std::filesystem::exists(t / "data/Twinex/escape.pro4"));

  CliRun list = Cli(t, "C", "--profiles");
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out, "Fotos 2024\tnur Bilder\n");
  EXPECT_EQ(Cli(t, "C", "--comment x").exitCode, 2) << "a comment needs a profile";
}

}  // namespace
}  // namespace twinex::test
