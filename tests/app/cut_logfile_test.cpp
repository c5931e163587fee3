#include "app/cut_logfile.h"

#include <gtest/gtest.h>

#include "app/logs.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "settings/translate.h"
#include "support/temp_dir.h"

namespace twinex {
namespace {

using test::ReadFile;
using test::TempDir;

std::string Dated(double daysAgo, const std::string& text) {
  return platform::FormatGeneralDate(platform::Now() - daysAgo) + " - " + text + "\r\n";
}

std::string WriteLog(const TempDir& dir, const std::string& text, const std::string& name = "Twinex4.txt") {
  return dir.Write(name, platform::EncodeUtf16LE(text, true));
}

std::string LogText(const std::string& path) { return platform::DecodeUtf16LE(ReadFile(path)); }

TEST(CutLogfile, OldLinesGoUntilTheFirstYoungLine) {
  TempDir dir;
  const std::string today = Dated(0, "heute") + Dated(0, "auch heute");
  const std::string log = WriteLog(dir, Dated(40, "alt") + Dated(35, "auch alt") + today + Dated(40, "alt, aber spät"));
  EXPECT_EQ(Cut_Logfile(log, 30), "");
  const std::string bytes = ReadFile(log);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(LogText(log), today + Dated(40, "alt, aber spät")) << "the scan stops at the first young line";
  EXPECT_FALSE(platform::ExistFile(log + ".tmp"));
}

TEST(CutLogfile, LogsThatDoNotStartWithAnOldDatedLineStayByteForByte) {
  TempDir dir;
  for (const std::string& first : std::vector<std::string>{std::string(50, '-') + "\r\n", Dated(0, "heute"), "x - kein Datum\r\n"}) {
    const std::string log = WriteLog(dir, first + Dated(40, "alt"));
    const std::string before = ReadFile(log);
    EXPECT_EQ(Cut_Logfile(log, 30), "");
    EXPECT_EQ(ReadFile(log), before) << first;
  }
  // Not one of the program's logs: without the mark nothing is touched.
  const std::string plain = dir.Write("plain.txt", Dated(40, "alt"));
  EXPECT_EQ(Cut_Logfile(plain, 30), "");
  EXPECT_EQ(ReadFile(plain), Dated(40, "alt"));
  EXPECT_EQ(Cut_Logfile(dir / "missing.txt", 30), "");
  EXPECT_FALSE(platform::ExistFile(dir / "missing.txt"));
}

TEST(CutLogfile, LinesAcrossReadBlocksAndALastLineWithoutLineEnd) {
  TempDir dir;
  std::string old;
  for (int i = 0; i < 400; ++i) old += Dated(31, "Zeile " + std::to_string(i) + " mit etwas mehr Text, damit es lang wird");
  ASSERT_GT(old.size() * 2, 3u * 8192);
  const std::string log = WriteLog(dir, old + Dated(1, "gestern"));
  EXPECT_EQ(Cut_Logfile(log, 30), "");
  EXPECT_EQ(LogText(log), Dated(1, "gestern"));

  std::string last = Dated(40, "ohne Zeilenende");
  last.resize(last.size() - 2);
  const std::string all = WriteLog(dir, Dated(40, "alt") + last, "all.txt");
  EXPECT_EQ(Cut_Logfile(all, 30), "");
  EXPECT_EQ(ReadFile(all), "\xFF\xFE");
}

TEST(CutLogfile, AFailureLeavesTheLogAsItWas) {
  TempDir dir;
  const std::string log = WriteLog(dir, Dated(40, "alt") + Dated(0, "neu"));
  const std::string before = ReadFile(log);
  dir.MakeDir("Twinex4.txt.tmp/inside");  // the temporary file cannot be made
  std::string error = Cut_Logfile(log, 30);
  EXPECT_EQ(error.rfind("Die Datei '" + log + ".tmp' konnte nicht erstellt werden. (", 0), 0u) << error;
  EXPECT_EQ(ReadFile(log), before);
}

TEST(CutLogfile, TrimmingTheGeneralLogSaysSoAndObeysLogDel) {
  TempDir dir;
  const std::string log = WriteLog(dir, Dated(40, "alt"));
  SetLogFiles({log, "", "", "", "", "", ""});
  ProgramOptions options;
  options.LogDel = false;
  TrimGeneralLog(options);
  EXPECT_EQ(LogText(log), Dated(40, "alt"));

  options.LogDel = true;
  options.LogDelDays = "0";  // not a usable age: 30 days
  const std::string line = "Protokolleinträge älter als 30 Tag(e) werden aus der Protokolldatei '" + log + "' gelöscht.";
  const std::string before = Dated(0, line);
  TrimGeneralLog(options);
  // The line carries the time it was written, which may fall in the next second.
  const std::string written = LogText(log);
  EXPECT_TRUE(written == before || written == Dated(0, line)) << written;
  SetLogFiles({});
}

}  // namespace
}  // namespace twinex
