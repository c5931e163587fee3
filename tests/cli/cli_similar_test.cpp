// Similar file names from twinex-cli: groups by first match, the match percentage in exports,
// and the selection tools that read it.
#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"
#include "support/cli_run.h"

namespace twinex::test {
namespace {

TEST(CliSimilarNames, NamesAlikeAreGroupedWithTheirMatchInTheExport) {
  TempDir t;
  for (const char* n : {"a/holiday_001.jpg", "a/holiday_002.jpg", "b/holiday_001.png", "a/report_final.txt",
                        "a/report_finale.txt", "a/zebra.txt", "a/Übersicht.txt", "b/übersicht2.txt"})
    t.Write(std::string("src/") + n, n);
  const std::string settings = t.Write("settings.ini", "[Optionen]\nColumnSimilar=1\n");
  const std::string csv = t / "similar.csv";
  CliRun r = RunCli(t, "--settings '" + settings + "' -sc -f2 '" + (t / "src") + "' --export '" + csv +
                           "' --select similar-at-most=90 --delimiter tab");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Has(r.err, "Vergleichsmethode: Levenshtein (90%)")) << r.err;
  EXPECT_TRUE(Has(r.err, "Gruppen: 3")) << r.err;
  // Of the 28 pairs of 8 files, a file's comparisons end at its first match.
  EXPECT_TRUE(Has(r.err, "Dateivergleiche: 22")) << r.err;
  const std::string table = platform::DecodeUtf16LE(ReadFile(csv));
  // The first file of a group matches itself; holiday_002 differs in one of eleven characters,
  // and the .png of another folder has the same comparison name.
  EXPECT_TRUE(Has(table, "\"holiday_001.jpg\"\t\"" + (t / "src/a") + "\"\t\"\"\t\"17\"\t\"100%\"")) << table;
  EXPECT_TRUE(Has(table, "\"holiday_002.jpg\"\t\"" + (t / "src/a") + "\"\t\"\"\t\"17\"\t\"91%\"")) << table;
  EXPECT_TRUE(Has(table, "\"holiday_001.png\"\t\"" + (t / "src/b") + "\"\t\"\"\t\"17\"\t\"100%\"")) << table;
  EXPECT_FALSE(Has(table, "zebra")) << table;
  // Case folding: "Übersicht" and "übersicht2" are alike (9 of 10 characters). The selection
  // read the percentages: only that file is at most 90 %.
  EXPECT_TRUE(Has(table, "\"1\"\t\"übersicht2.txt\"")) << table;
  EXPECT_TRUE(Has(table, "\"0\"\t\"report_finale.txt\"")) << table;
}

}  // namespace
}  // namespace twinex::test
