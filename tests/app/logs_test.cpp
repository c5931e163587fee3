#include "app/logs.h"

#include <gtest/gtest.h>

#include "app/error_record.h"
#include "app/log_line.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "platform/run_control.h"
#include "settings/translate.h"
#include "support/temp_dir.h"

namespace twinex {
namespace {

using test::ReadFile;
using test::TempDir;

class LogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.generalLog = dir / "log/Twinex4.txt";
    files.searchLog = dir / "temp/123-4.txt";
    files.lastSearchLog = dir / "log/lastsearch.txt";
    files.errorLog = dir / "log/error.txt";
    files.debugLog = dir / "log/debug.txt";
    files.appTitle = "Twinex 4.0.0";
    files.dataFolder = dir.path();
    dir.MakeDir("log");
    dir.MakeDir("temp");
    SetLogFiles(files);
  }
  void TearDown() override { SetLogFiles({}); }

  // The lines of a log without their timestamps.
  std::vector<std::string> Lines(const std::string& file) {
    std::string bytes = ReadFile(file);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << file;
    std::vector<std::string> out;
    for (const std::string& l : platform::Split(platform::DecodeUtf16LE(bytes), '\n')) {
      std::string line = l.substr(0, l.size() - (platform::EndsWith(l, "\r") ? 1 : 0));
      std::size_t dash = line.find(" - ");
      out.push_back(dash == std::string::npos ? line : line.substr(dash + 3));
    }
    return out;
  }

  TempDir dir;
  LogFiles files;
};

TEST_F(LogsTest, SearchLogJoinsTheGeneralLogAndBecomesTheLastSearch) {
  LogProtokollMain("vorher");
  LogProtokoll("Suchmethode: x");
  LogProtokoll("kaputt", true);
  const std::string searchBytes = ReadFile(files.searchLog);
  EXPECT_EQ(SaveTmpLog(), "");
  EXPECT_EQ(Lines(files.generalLog), (std::vector<std::string>{"vorher", "Suchmethode: x", "ERROR: kaputt", ""}));
  EXPECT_EQ(ReadFile(files.lastSearchLog), searchBytes);
  EXPECT_FALSE(platform::ExistFile(files.searchLog));

  // A search log holding only its mark adds nothing, but is the last search all the same.
  const std::string general = ReadFile(files.generalLog);
  ASSERT_EQ(CreateLogFile(files.searchLog), "");
  EXPECT_EQ(SaveTmpLog(), "");
  EXPECT_EQ(ReadFile(files.generalLog), general);
  EXPECT_EQ(ReadFile(files.lastSearchLog), "\xFF\xFE");

  // Without a search log there is nothing to keep, and the last search stays.
  dir.Write("log/lastsearch.txt", platform::EncodeUtf16LE("x\r\n", true));
  EXPECT_EQ(SaveTmpLog(), "");
  EXPECT_EQ(platform::DecodeUtf16LE(ReadFile(files.lastSearchLog)), "x\r\n");
}

TEST_F(LogsTest, LastSearchPaneHeading) {
  EXPECT_EQ(Log_Show_Last_Search().heading, "Es ist keine Protokolldatei vorhanden.");
  LogProtokoll("eine Zeile");
  SaveTmpLog();
  LastSearchLog shown = Log_Show_Last_Search();
  EXPECT_EQ(shown.heading, "Protokoll der letzten Suche");
  EXPECT_NE(shown.text.find(" - eine Zeile\r\n"), std::string::npos);
}

TEST_F(LogsTest, ErrorRecordAndDebugLineFormats) {
  SetDiagnosticState({true, 2, {"eins", "", "", "vier"}});
  RunControl run;
  run.RequestStop(kStopUser);
  SetDiagnosticRun(&run);
  const int before = ErrorCount();
  LogErrorRecord("frmMain.Profil_Load", "Datei fehlt");
  SetDiagnosticRun(nullptr);
  SetDiagnosticState({});
  std::vector<std::string> lines = Lines(files.errorLog);
  std::vector<std::string> expected = {"frmMain.Profil_Load: Datei fehlt",
                                       "Apptitle: Twinex 4.0.0",
                                       "Datapath: " + dir.path(),
                                       "Admin: " + std::string(geteuid() == 0 ? "1" : "0"),
                                       "Errcount: " + std::to_string(before + 1),
                                       "Lang: " + std::to_string(CurrentLanguage()),
                                       "Stop:3/5",
                                       "Unicode:1",
                                       "SM:2",
                                       "Sb1:eins",
                                       "Sb2:",
                                       "Sb3:",
                                       "Sb4:vier",
                                       "",
                                       ""};
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(ErrorCount(), before + 1);

  LogDebug("WRITEW", {"a", "b"});
  LogDebug("plain");
  EXPECT_EQ(Lines(files.debugLog), (std::vector<std::string>{"WRITEW (, a, b)", "plain", ""}));
}

TEST_F(LogsTest, ActionLogWriterReportsAFailedWrite) {
  EXPECT_EQ(Write_To_Log(-1, "GELÖSCHT: x"), "Write_To_Log: Bad file descriptor");
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  EXPECT_EQ(Write_To_Log(fds[1], "Datei", true), "");
  char buf[256];
  ssize_t n = read(fds[0], buf, sizeof buf);
  close(fds[0]);
  close(fds[1]);
  std::string line = platform::DecodeUtf16LE(std::string(buf, static_cast<std::size_t>(n > 0 ? n : 0)));
  EXPECT_TRUE(platform::EndsWith(line, " - ERROR: Datei\r\n")) << line;
}

}  // namespace
}  // namespace twinex
