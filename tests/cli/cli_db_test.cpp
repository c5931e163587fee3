// twinex-cli with the checksum database: searches that cache, and the maintenance commands.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/cli_run.h"

namespace twinex::test {
namespace {

CliRun Cli(const TempDir& home, const std::string& args) { return RunCli(home, args); }

TEST(CliDatabase, SearchesCacheAndDestructiveCommandsNeedYes) {
  TempDir t;
  t.Write("src/a", std::string(5000, 'q'));
  t.Write("src/b", std::string(5000, 'q'));
  const std::string src = t / "src", settings = t.Write("db.ini", "[database]\nusedb=1\n");
  const std::string search = "--settings '" + settings + "' -s34 -c2 '" + src + "'";

  EXPECT_TRUE(Cli(t, "--db-info").Says("Version: 3\nGröße: "));  // made by the start-up
  EXPECT_FALSE(Cli(t, "-s34 -c2 '" + src + "'").Says("Datenbank"));  // off by default
  EXPECT_TRUE(Cli(t, search).Says("Datenbank-Prüfsummen gespeichert: 2"));
  CliRun second = Cli(t, search);
  EXPECT_TRUE(second.Says("Datenbank-Prüfsummen verwendet: 2")) << second.err;
  EXPECT_FALSE(second.Says(" - Prüfsummen erstellt:"));
  EXPECT_TRUE(Cli(t, "--db-info").Says("Dateien: 2\nPrüfsummen: 2\n"));

  CliRun refused = Cli(t, "--db-clear");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(refused.Says("Sollen alle Prüfsummen in der Datenbank gelöscht werden?"));
  EXPECT_EQ(Cli(t, "--db-new --no").exitCode, 1);
  EXPECT_TRUE(Cli(t, "--db-info").Says("Dateien: 2\n"));

  unlink((src + "/b").c_str());
  EXPECT_TRUE(Cli(t, "--db-clean").Says("Es wurden 1 Dateien mit insgesamt 1 Prüfsummen aus der Datenbank entfernt."));
  EXPECT_TRUE(Cli(t, "--db-clear --yes").Says("Die Datenbank wurde erfolgreich zurückgesetzt."));
  EXPECT_TRUE(Cli(t, "--db-info").Says("Dateien: 0\n"));
  EXPECT_TRUE(Cli(t, "--db-new --yes").Says("Die Datenbank wurde neu erstellt."));
  EXPECT_EQ(Cli(t, "--db-info '" + src + "'").exitCode, 2);
}

}  // namespace
}  // namespace twinex::test
