#include "results/export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/number_format.h"
#include "platform/text.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace twinex {
namespace {

using test::TempDir;

const std::string kOddName = "Заметка \"1\".txt";  // non-Latin letters and a double quote

ResultFile File(const std::string& name, const std::string& folder, std::uint64_t size) {
  ResultFile f;
  f.dupname = name;
  f.path = folder;
  f.size = size;
  f.SetHardlinkID("-");
  return f;
}

// Two groups; only the second file of the first group is selected.
ResultTree SampleTree() {
  ResultTree tree;
  tree.captionType = kCaptionNameWithExtension;
  ResultGroup& a = tree.AddGroup("a.txt");
  tree.AddFile(a, File("a.txt", "/data", 1234));
  tree.AddFile(a, File("a.txt", "/backup", 1234));
  tree.SetSelected(a, a.files[1], true);
  ResultGroup& b = tree.AddGroup(kOddName);
  tree.AddFile(b, File(kOddName, "/data/ru", 10));
  tree.AddFile(b, File(kOddName, "/data/копия", 10));
  return tree;
}

ExportRequest Request(const std::string& target, int format, int which = kExportAll) {
  ExportRequest r;
  r.target = target;
  r.format = format;
  r.which = which;
  r.searchDescription = "Testsuche";
  r.descriptionLines = {"   Suchmethode: Gleiche Eigenschaften", "\tKriterien: Dateiname"};
  return r;
}

// The decoded text of a UTF-16LE export; checks the byte-order mark and that every line break
// is CR LF.
std::vector<std::string> ExportLines(const std::string& path) {
  const std::string bytes = test::ReadFile(path);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  const std::string text = platform::DecodeUtf16LE(bytes);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1) {
    EXPECT_TRUE(lf > 0 && text[lf - 1] == '\r') << "bare LF in line " << lines.size();
    lines.push_back(text.substr(start, lf - start - 1));
  }
  EXPECT_EQ(start, text.size()) << "last line without CR LF";
  return lines;
}

// Splits a CSV line with a separator of any length; doubled quotes inside fields are one quote.
std::vector<std::string> CsvFields(const std::string& line, const std::string& sep) {
  std::vector<std::string> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    EXPECT_EQ(line[i], '"') << line;
    std::string field;
    for (++i; i < line.size(); ++i) {
      if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') field += line[i++];
      else if (line[i] == '"') break;
      else field += line[i];
    }
    fields.push_back(field);
    ++i;
    if (i < line.size()) {
      EXPECT_EQ(line.compare(i, sep.size(), sep), 0) << line;
      i += sep.size();
    }
  }
  return fields;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  return names;
}

TEST(ExportText, ReportHasHeaderBlockGroupsAndSelectionMarks) {
  TempDir dir;
  const ResultTree tree = SampleTree();
  ExportRequest req = Request(dir / "r.txt", kExportTxt);
  SilentPrompt prompt;
  ASSERT_TRUE(ExportResult(tree, req, prompt).Ok());
  const std::vector<std::string> lines = ExportLines(dir / "r.txt");
  ASSERT_EQ(lines.size(), 19u);
  EXPECT_EQ(lines[0], "Suchergebnis 'Testsuche'");
  EXPECT_EQ(lines[1], "Suchmethode: Gleiche Eigenschaften");
  EXPECT_EQ(lines[2], "Kriterien: Dateiname");
  EXPECT_EQ(lines[3], "Speichertyp: Alle Dateien");
  EXPECT_EQ(lines[4].rfind("Datum: ", 0), 0u);
  EXPECT_EQ(lines[5], std::string(80, '-'));
  EXPECT_EQ(lines[6], "Gruppenspalten:");
  EXPECT_EQ(lines[7], "Gruppe - Dateiname mit Endung\tDuplikate\tGröße (Bytes)");
  EXPECT_EQ(lines[8], "Dateispalten:");
  EXPECT_EQ(lines[9], "Datei\tDateipfad\tArchivpfad\tGröße (Bytes)");
  EXPECT_EQ(lines[10], std::string(80, '-'));
  const std::string size = platform::FormatCount(std::uint64_t{1234});
  const std::vector<std::string> body(lines.begin() + 11, lines.end());
  const std::vector<std::string> expected{
      "",
      "a.txt\t2\t" + platform::FormatCount(std::uint64_t{2468}),
      "[ ]\ta.txt\t/data\t\t" + size,
      "[x]\ta.txt\t/backup\t\t" + size,
      "",
      kOddName + "\t2\t20",
      "[ ]\t" + kOddName + "\t/data/ru\t\t10",
      "[ ]\t" + kOddName + "\t/data/копия\t\t10"};
  EXPECT_EQ(body, expected);

  // The command line prints the same lines.
  std::vector<std::string> printed;
  ASSERT_TRUE(WriteTextReport(tree, req, [&](const std::string& l) { printed.push_back(l); }));
  printed.erase(printed.begin() + 4);  // the time stamp
  std::vector<std::string> written = lines;
  written.erase(written.begin() + 4);
  EXPECT_EQ(printed, written);
}

TEST(ExportText, SelectedReportLeavesOutMarksAndUnexportedGroups) {
  TempDir dir;
  SilentPrompt prompt;
  ExportRequest req = Request(dir / "s.txt", kExportTxt, kExportSelected);
  req.columns.filePath = req.columns.zipPath = req.columns.size = false;
  req.columns.hardlinks = true;
  ASSERT_TRUE(ExportResult(SampleTree(), req, prompt).Ok());
  const std::vector<std::string> lines = ExportLines(dir / "s.txt");
  EXPECT_EQ(lines[3], "Speichertyp: Ausgewählte Dateien");
  EXPECT_EQ(lines[7], "Gruppe - Dateiname mit Endung\tDuplikate");
  EXPECT_EQ(lines[9], "Datei\tHardlinks");
  const std::vector<std::string> body(lines.begin() + 11, lines.end());
  EXPECT_EQ(body, (std::vector<std::string>{"", "a.txt\t2", "a.txt\t-"}));
}

TEST(ExportCsv, QuotesEveryFieldAndWritesTheSeparatorAsGiven) {
  TempDir dir;
  SilentPrompt prompt;
  ExportRequest req = Request(dir / "t.csv", kExportCsv);
  req.separator = kSeparatorCustom;
  req.customSeparator = "<;>";
  std::vector<int> progress;
  req.progress = [&](int p) { progress.push_back(p); };
  const ExportOutcome outcome = ExportResult(SampleTree(), req, prompt);
  ASSERT_TRUE(outcome.Ok()) << outcome.error;
  EXPECT_EQ(outcome.files, 4);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), 100);

  const std::vector<std::string> lines = ExportLines(dir / "t.csv");
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(CsvFields(lines[0], "<;>"),
            (std::vector<std::string>{"Gruppen-Nr.", "Gruppe", "Gruppe - Duplikate", "Gruppe - Größe (Bytes)", "Selektiert",
                                      "Datei", "Dateipfad", "Archivpfad", "Größe (Bytes)"}));
  EXPECT_EQ(CsvFields(lines[2], "<;>")[4], "1");
  EXPECT_EQ(CsvFields(lines[2], "<;>")[6], "/backup");
  EXPECT_EQ(CsvFields(lines[3], "<;>"), (std::vector<std::string>{"2", kOddName, "2", "20", "0", kOddName,
                                                                   "/data/ru", "", "10"}));
  EXPECT_NE(lines[3].find("\"Заметка \"\"1\"\".txt\""), std::string::npos);
}

TEST(ExportCsv, UnselectedExportHasNoSelectionColumn) {
  TempDir dir;
  SilentPrompt prompt;
  ExportRequest req = Request(dir / "u.csv", kExportCsv, kExportUnselected);
  req.separator = kSeparatorTab;
  ASSERT_TRUE(ExportResult(SampleTree(), req, prompt).Ok());
  const std::vector<std::string> lines = ExportLines(dir / "u.csv");
  ASSERT_EQ(lines.size(), 4u);
  const std::vector<std::string> header = CsvFields(lines[0], "\t");
  EXPECT_EQ(std::count(header.begin(), header.end(), "Selektiert"), 0);
  EXPECT_EQ(CsvFields(lines[1], "\t")[4], "a.txt");
  EXPECT_EQ(CsvFields(lines[1], "\t")[5], "/data");
  // Group numbers count the exported groups.
  EXPECT_EQ(CsvFields(lines[3], "\t")[0], "2");
}

TEST(ExportFileList, OnePathPerLineAndNoLineBreakInsideAnEntry) {
  TempDir dir;
  SilentPrompt prompt;
  ResultTree tree = SampleTree();
  ResultGroup& g = tree.groups[1];
  tree.AddFile(g, File("evil\n/etc/passwd", "/data", 10));
  tree.SetSelected(g, g.files.back(), true);
  ExportRequest req = Request(dir / "l.txt", kExportCsv, kExportSelected);
  req.fileListOnly = true;
  ASSERT_TRUE(ExportResult(tree, req, prompt).Ok());
  EXPECT_EQ(ExportLines(dir / "l.txt"),
            (std::vector<std::string>{"/backup/a.txt", "/data/evil\xEF\xBF\xBD/etc/passwd"}));
}

TEST(ExportNothing, EmptySelectionGivesTheMessageAndNoFile) {
  TempDir dir;
  ResultTree tree = SampleTree();
  SilentPrompt prompt;
  tree.SetSelected(tree.groups[0], tree.groups[0].files[1], false);
  const ExportOutcome none = ExportResult(tree, Request(dir / "n.txt", kExportTxt, kExportSelected), prompt);
  EXPECT_EQ(none.status, ExportStatus::NothingToExport);
  ASSERT_EQ(prompt.asked.size(), 1u);
  EXPECT_EQ(prompt.asked[0].Text(), "Die zu exportierenden Dateien konnten im Suchergebnis nicht gefunden werden!");
  EXPECT_EQ(none.error, prompt.asked[0].Text());

  for (ResultGroup& g : tree.groups)
    for (ResultFile& f : g.files) tree.SetSelected(g, f, true);
  EXPECT_EQ(ExportResult(tree, Request(dir / "n.txt", kExportXlsx, kExportUnselected), prompt).status,
            ExportStatus::NothingToExport);
  EXPECT_TRUE(FolderEntries(dir.path()).empty());
}

TEST(ExportEmpty, EmptyResultGivesValidExportsOfEveryKind) {
  TempDir dir;
  const ResultTree tree;
  SilentPrompt prompt;
  ASSERT_TRUE(ExportResult(tree, Request(dir / "e.txt", kExportTxt), prompt).Ok());
  const std::vector<std::string> report = ExportLines(dir / "e.txt");
  ASSERT_EQ(report.size(), 11u);
  EXPECT_EQ(report.back(), std::string(80, '-'));

  ASSERT_TRUE(ExportResult(tree, Request(dir / "e.csv", kExportCsv), prompt).Ok());
  EXPECT_EQ(ExportLines(dir / "e.csv").size(), 1u);

  ExportRequest list = Request(dir / "e.lst", kExportTxt);
  list.fileListOnly = true;
  ASSERT_TRUE(ExportResult(tree, list, prompt).Ok());
  EXPECT_EQ(test::ReadFile(dir / "e.lst"), "\xFF\xFE");

  ASSERT_TRUE(ExportResult(tree, Request(dir / "e.xlsx", kExportXlsx), prompt).Ok());
  EXPECT_EQ(test::ReadFile(dir / "e.xlsx").substr(0, 4), "PK\x03\x04");
  EXPECT_TRUE(prompt.asked.empty());
}

// A member of the workbook through Python's zip module; empty when Python is not installed.
std::string ZipMember(const TempDir& dir, const std::string& zip, const std::string& member) {
  if (std::system("command -v python3 >/dev/null 2>&1") != 0) return "";
  const std::string out = dir / "member.out";
  const std::string cmd = "python3 -c 'import sys,zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))' '" +
                          zip + "' '" + member + "' > '" + out + "'";
  if (std::system(cmd.c_str()) != 0) return "";
  std::string text = test::ReadFile(out);
  std::remove(out.c_str());
  return text;
}

TEST(ExportXlsx, WritesANewWorkbookWithTheSheetTwinex) {
  TempDir dir;
  const std::string target = dir.Write("w.xlsx", "an older file");
  SilentPrompt prompt;
  ExportRequest req = Request(target, kExportXlsx);
  req.columns.dateM = true;
  ASSERT_TRUE(ExportResult(SampleTree(), req, prompt).Ok());
  const std::string bytes = test::ReadFile(target);
  EXPECT_EQ(bytes.substr(0, 4), "PK\x03\x04");
  // Member names stand uncompressed in the zip directory.
  EXPECT_NE(bytes.find("xl/workbook.xml"), std::string::npos);
  EXPECT_NE(bytes.find("xl/worksheets/sheet1.xml"), std::string::npos);
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"w.xlsx"});

  const std::string workbook = ZipMember(dir, target, "xl/workbook.xml");
  if (workbook.empty()) GTEST_SKIP() << "python3 not available to read the workbook";
  EXPECT_NE(workbook.find("name=\"Twinex\""), std::string::npos);
  const std::string sheet = ZipMember(dir, target, "xl/worksheets/sheet1.xml");
  EXPECT_TRUE(sheet.find("Заметка \"1\".txt") != std::string::npos ||
              sheet.find("Заметка &quot;1&quot;.txt") != std::string::npos);
  EXPECT_NE(sheet.find("Änderungsdatum"), std::string::npos);
  EXPECT_NE(sheet.find("<v>1234</v>"), std::string::npos);  // sizes are numbers
  const std::string styles = ZipMember(dir, target, "xl/styles.xml");
  EXPECT_NE(styles.find("formatCode=\"dd/mm/yyyy hh:mm:ss\""), std::string::npos);
}

TEST(ExportFailure, UnwritableTargetsReportAnErrorAndLeaveNothingBehind) {
  TempDir dir;
  SilentPrompt prompt;
  const std::string missing = dir / "no/such/folder/x.csv";
  const ExportOutcome outcome = ExportResult(SampleTree(), Request(missing, kExportCsv), prompt);
  EXPECT_EQ(outcome.status, ExportStatus::Failed);
  EXPECT_NE(outcome.error.find(missing), std::string::npos);
  ASSERT_EQ(prompt.asked.size(), 1u);
  EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Exclamation);
  EXPECT_TRUE(FolderEntries(dir.path()).empty());

  // A folder the user may not write to: root writes everywhere, so a user who cannot tries.
  const std::string locked = dir.Write("ro/locked.txt", "keep me");
  ::chmod((dir / "ro").c_str(), 0555);
  test::OpenToEveryone(dir.path());
  EXPECT_TRUE(test::RunUnprivileged([&] {
    SilentPrompt quiet;
    return ExportResult(SampleTree(), Request(locked, kExportTxt), quiet).status == ExportStatus::Failed;
  }));
  EXPECT_EQ(test::ReadFile(locked), "keep me");
  EXPECT_EQ(FolderEntries(dir / "ro"), std::vector<std::string>{"locked.txt"});
}

TEST(ExportCancel, CancelledExportKeepsTheOldFileAndRemovesTheTemporaryOne) {
  for (int format : {kExportTxt, kExportXlsx}) {
    TempDir dir;
    const std::string target = dir.Write("c.out", "previous");
    SilentPrompt prompt;
    ExportRequest req = Request(target, format);
    int polls = 0;
    req.cancelled = [&] { return ++polls > 2; };
    EXPECT_EQ(ExportResult(SampleTree(), req, prompt).status, ExportStatus::Cancelled);
    EXPECT_EQ(test::ReadFile(target), "previous");
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"c.out"});
    EXPECT_TRUE(prompt.asked.empty());
  }
}

TEST(ExportSettingsFile, RoundTripAndDefaults) {
  TempDir dir;
  const std::string ini = dir / "config4.ini";
  const ExportSettings defaults = LoadExportSettings(ini, "/home/u/export");
  EXPECT_EQ(defaults.LastSaveDir, "/home/u/export");
  EXPECT_EQ(defaults.Delimiter, kSeparatorSemicolon);

  ExportSettings s;
  s.Delimiter = kSeparatorCustom;
  s.DelimiterChars = " | ";
  s.FileFormat = kExportXlsx;
  s.SaveFileType = kExportUnselected;
  s.SaveOnlyFiles = true;
  s.OpenFile = true;
  s.LastSaveDir = "/tmp/Ausgabe";
  s.LastSaveFileName = "Liste.xlsx";
  ASSERT_EQ(SaveExportSettings(s, ini), "");
  EXPECT_EQ(LoadExportSettings(ini), s);

  ASSERT_EQ(ProfilePutItemWide("ExportList", "FileFormat", "7", ini), "");
  EXPECT_EQ(LoadExportSettings(ini).FileFormat, kExportTxt);

  EXPECT_EQ(LoadExportColumns(ini), ExportColumns{});
  ASSERT_EQ(ProfilePutItemWide("Optionen", "ColumnOwner", "1", ini), "");
  ASSERT_EQ(ProfilePutItemWide("Optionen", "ColumnZipPath", "0", ini), "");
  ExportColumns expected;
  expected.owner = true;
  expected.zipPath = false;
  EXPECT_EQ(LoadExportColumns(ini), expected);
}

}  // namespace
}  // namespace twinex
