#include "results/saved_results.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/ini_file.h"
#include "platform/text.h"
#include "platform/file_ops.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

namespace twinex::test {
namespace {

// A result with every kind of value a row can hold: extras, archive members, odd names.
ResultTree SampleTree(int groups = 3) {
  ResultTree t;
  t.captionType = kCaptionSize;
  for (int g = 0; g < groups; ++g) {
    ResultGroup& group = t.AddGroup("Gruppe " + std::to_string(g), 1000 + g, 45000.5 + g);
    group.expanded = g % 2 == 0;
    for (int i = 0; i < 3; ++i) {
      ResultFile f;
      f.dupname = i == 1 ? std::string("b\xFFroken-\xC3\xA4.txt") : "datei" + std::to_string(i) + ".jpg";
      f.path = "/data/ordner " + std::to_string(g % 2);
      f.SetPathA(i == 2 ? "inner/member.txt" : "");
      f.archiv = i == 2 ? 3 : 0;
      f.size = 1000 + static_cast<std::uint64_t>(g);
      f.dateVal = 45123.25 + i;
      f.dateEval = 44000.125;
      f.attr = 0x21;
      f.hardlinks = i == 0 ? 2 : 0;
      f.SetHardlinkID(i == 0 ? "1-2" : "-");
      f.similar = 91;
      f.picW = 4000;
      f.picH = -1;
      f.SetAudioDurationVal(12.5);
      f.SetAudioBitrate(320000);
      f.qnr = 1 + i % 2;
      f.device = 2049;
      f.inode = 123456789012ull + static_cast<std::uint64_t>(i);
      f.selected = i != 0;
      f.protectedFile = i == 2;
      if (i == 1) f.EditExtras().owner = "anna";
      t.AddFile(group, std::move(f));
    }
  }
  return t;
}

std::string Rows(const ResultTree& t) { return EncodeResultRows(t, {}); }

SaveResultRequest Request(const TempDir& dir, const std::string& name) {
  SaveResultRequest r;
  r.dataFolder = dir / "data";
  r.name = name;
  r.info.searchMethod = 0;
  r.info.searchCriteria = "00110000";
  r.info.searchCriteriaDesc = "Dateigröße + Dateiinhalt";
  r.info.sources = {{"/data/ordner 0", true, false, 2049}, {"/data/ordner 1", false, true, 77}};
  r.rowsHeader.descriptionLines = {"Suchmethode: Finde Dateiduplikate anhand Ihrer Eigenschaften"};
  return r;
}

TEST(SavedResults, SaveAndLoadGiveBackEveryRowValueAndState) {
  TempDir dir;
  dir.Write("search.log", "\xFF\xFElog");
  const ResultTree tree = SampleTree();
  SaveResultRequest r = Request(dir, "Fotos 2026");
  r.searchLog = dir / "search.log";
  r.rowsHeader.stopReason = 5;
  ScriptedPrompt prompt;
  ASSERT_TRUE(Report_Save(tree, r, prompt).saved);

  const SavedResultFiles files = SavedResultPaths(dir / "data", "Fotos 2026");
  EXPECT_EQ(ReadFile(files.info).substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(platform::IniRead(files.info, "General", "v", ""), "405");
  EXPECT_EQ(platform::IniRead(files.info, "General", "DupCount", ""), "9");
  EXPECT_EQ(platform::IniRead(files.info, "General", "DupCountSelected", ""), "6");
  EXPECT_EQ(platform::IniRead(files.info, "General", "ListCount", ""), "12");
  EXPECT_EQ(platform::IniRead(files.info, "General", "Context2", ""), "/data/ordner 1");
  EXPECT_EQ(platform::IniRead(files.info, "General", "ContextS2", ""), "1");
  EXPECT_EQ(platform::IniRead(files.info, "General", "ContextQserials", ""), "2049,77");
  EXPECT_EQ(ReadFile(files.log), "\xFF\xFElog");

  const LoadedResult loaded = Report_Laden(dir / "data", "Fotos 2026");
  ASSERT_TRUE(loaded.ok()) << loaded.error;
  EXPECT_EQ(Rows(loaded.tree), Rows(tree));
  EXPECT_EQ(loaded.tree.counters.DupCountSelected, tree.counters.DupCountSelected);
  EXPECT_EQ(loaded.tree.counters.FilesizeSelected, tree.counters.FilesizeSelected);
  EXPECT_EQ(loaded.tree.counters.GroupID, 3);
  EXPECT_EQ(loaded.tree.groups[1].Sel, 2);
  EXPECT_EQ(loaded.rowsHeader.stopReason, 5);
  EXPECT_EQ(loaded.rowsHeader.descriptionLines, r.rowsHeader.descriptionLines);
  ASSERT_EQ(loaded.info.sources.size(), 2u);
  EXPECT_FALSE(loaded.info.sources[1].includeSubfolders);
  EXPECT_EQ(loaded.info.sources[1].volume, 77u);
  EXPECT_EQ(loaded.info.searchCriteria, "00110000");
}

// The archive path, link identity and audio values live outside the row: they must come back from
// a saved result and a copy, a common row must not grow extras on the way, and "-" must stay the
// identity of a single-link row while any other stored text (an empty one too) is kept.
TEST(SavedResults, RareRowValuesSurviveLoadAndCopyAndCommonRowsStaySmall) {
  ResultTree tree;
  ResultGroup& group = tree.AddGroup("g");
  ResultFile member;
  member.dupname = "a.mp3";
  member.path = "/data/box.zip";
  member.archiv = 1;
  member.hardlinks = 2;
  member.SetPathA("inner/a.mp3");
  member.SetHardlinkID("7-9");
  member.SetAudioDurationVal(12.5);
  member.SetAudioBitrate(320000);
  member.SetAudioSamplingrate(44100);
  ResultFile plain;
  plain.dupname = "b.mp3";
  plain.path = "/data";
  plain.SetPathA("");
  plain.SetHardlinkID("-");
  plain.SetAudioBitrate(0);
  EXPECT_EQ(plain.extras.get(), nullptr);
  ResultFile emptyId = plain;
  emptyId.SetHardlinkID("");
  tree.AddFile(group, member);
  tree.AddFile(group, plain);
  tree.AddFile(group, emptyId);

  ResultTree loaded;
  ResultRowsHeader header;
  header.lastGroupId = tree.counters.GroupID;
  ASSERT_EQ(DecodeResultRows(EncodeResultRows(tree, header), loaded, header), RowsError::None);
  const std::vector<ResultFile>& rows = loaded.groups[0].files;
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(loaded.FileValue(rows[0], "pathA").text, "inner/a.mp3");
  EXPECT_EQ(loaded.FileValue(rows[0], "hardlinkID").text, "7-9");
  EXPECT_EQ(rows[0].AudioDurationVal(), 12.5);
  EXPECT_EQ(rows[0].AudioBitrate(), 320000);
  EXPECT_EQ(rows[0].AudioSamplingrate(), 44100);
  EXPECT_EQ(rows[1].extras.get(), nullptr) << "a common row loads without extras";
  EXPECT_EQ(loaded.FileValue(rows[1], "hardlinkID").text, "-");
  EXPECT_EQ(rows[2].HardlinkID(), "");
  EXPECT_EQ(rows[2].extras.get(), nullptr) << "a link identity alone makes no extras";

  ResultFile copy = rows[0];
  copy.SetPathA("");
  copy.SetHardlinkID("-");  // the file lost its second link
  EXPECT_EQ(copy.PathA(), "");
  EXPECT_EQ(copy.HardlinkID(), "-");
  EXPECT_EQ(copy.AudioBitrate(), 320000);
  EXPECT_EQ(rows[0].PathA(), "inner/a.mp3") << "the copy has extras of its own";
  EXPECT_EQ(rows[0].HardlinkID(), "7-9");
}

// Rows of one folder, spread over groups and saved from texts of their own, load sharing one text.
TEST(SavedResults, LoadedRowsOfOneFolderShareItsText) {
  ResultTree tree;
  const char* folders[] = {"/data/a long folder name/2019", "/data/other", "/data/a long folder name/2019"};
  for (int g = 0; g < 2; ++g) {
    ResultGroup& group = tree.AddGroup("g" + std::to_string(g));
    for (const char* folder : folders) {
      ResultFile f;
      f.dupname = "f" + std::to_string(g);
      f.path = std::string(folder);
      tree.AddFile(group, f);
    }
  }
  ResultTree loaded;
  ResultRowsHeader header;
  header.lastGroupId = tree.counters.GroupID;
  ASSERT_EQ(DecodeResultRows(EncodeResultRows(tree, header), loaded, header), RowsError::None);
  ASSERT_EQ(loaded.groups.size(), 2u);
  const ResultFile& first = loaded.groups[0].files[0];
  for (const ResultGroup& g : loaded.groups) {
    ASSERT_EQ(g.files.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(g.files[i].path, folders[i]);
    EXPECT_EQ(g.files[0].path.data(), first.path.data());
    EXPECT_EQ(g.files[2].path.data(), first.path.data());
    EXPECT_NE(g.files[1].path.data(), first.path.data());
  }
}

TEST(SavedResults, AutoSaveNamesCountUpAndAnExistingNameIsOnlyReplacedOnYes) {
  TempDir dir;
  ScriptedPrompt prompt;
  SaveResultRequest r = Request(dir, "");
  r.autoSave = true;
  EXPECT_EQ(Report_Save(SampleTree(), r, prompt).name, "AutoSave001");
  EXPECT_EQ(Report_Save(SampleTree(), r, prompt).name, "AutoSave002");
  EXPECT_TRUE(prompt.texts.empty()) << "AutoSave asks nothing";

  r = Request(dir, "AutoSave001");
  SaveResultOutcome declined = Report_Save(SampleTree(1), r, prompt);
  EXPECT_FALSE(declined.saved);
  EXPECT_EQ(prompt.texts.back(), "Ein Suchergebnis mit dem Dateinamen 'AutoSave001' ist schon vorhanden! Überschreiben?");
  EXPECT_EQ(Report_Laden(dir / "data", "AutoSave001").tree.groups.size(), 3u) << "the old result stays";
  prompt.answers = {PromptAnswer::Yes};
  EXPECT_TRUE(Report_Save(SampleTree(1), r, prompt).saved);
  EXPECT_EQ(Report_Laden(dir / "data", "AutoSave001").tree.groups.size(), 1u);

  for (const std::string& bad : {std::string(), std::string("a/b"), std::string(".."), std::string(300, 'x')}) {
    r.name = bad;
    SaveResultOutcome out = Report_Save(SampleTree(), r, prompt);
    EXPECT_FALSE(out.saved) << bad;
    EXPECT_FALSE(out.error.empty()) << bad;
  }
}

TEST(SavedResults, FilesThatAreMissingForeignOlderOrNewerAreRefusedWithTheirMessage) {
  TempDir dir;
  ScriptedPrompt prompt;
  ASSERT_TRUE(Report_Save(SampleTree(), Request(dir, "r"), prompt).saved);
  const SavedResultFiles files = SavedResultPaths(dir / "data", "r");
  const std::string rows = ReadFile(files.rows);
  const std::string prefix = "Das Suchergebnis kann nicht geladen werden:\r\n\r\n";

  EXPECT_EQ(Report_Laden(dir / "data", "gone").error, prefix + "File '" + (dir / "data/gone.asr4a") + "' not exist");
  ASSERT_EQ(platform::IniWrite(files.info, "General", "v", "404"), "");
  EXPECT_EQ(Report_Laden(dir / "data", "r").error, prefix + "File is not compatible");
  ASSERT_EQ(platform::IniWrite(files.info, "General", "v", "405"), "");

  std::string newer = rows;
  newer[8] = 2;  // the row layout's version
  dir.Write("data/r.asr4a", newer);
  EXPECT_EQ(Report_Laden(dir / "data", "r").error, prefix + "File is not compatible");
  dir.Write("data/r.asr4a", "PK\x03\x04 not ours at all");
  EXPECT_EQ(Report_Laden(dir / "data", "r").error, prefix + "File is not compatible");

  // Rows of another result beside this ".ini4a" do not belong to it.
  ASSERT_TRUE(Report_Save(SampleTree(1), Request(dir, "other"), prompt).saved);
  dir.Write("data/r.asr4a", ReadFile(SavedResultPaths(dir / "data", "other").rows));
  EXPECT_NE(Report_Laden(dir / "data", "r").error.find("does not belong"), std::string::npos);
}

// The checksum catches any change; these mutations are sealed again so that the structural
// checks behind it are tried too.
std::string Sealed(std::string body) {
  body.resize(body.size() - 8);
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : body) h = (h ^ c) * 1099511628211ull;
  for (int i = 0; i < 8; ++i) body.push_back(static_cast<char>((h >> (8 * i)) & 0xFF));
  return body;
}

TEST(SavedResults, DamagedAndTruncatedRowsNeverLoadHalfAndNeverCrash) {
  const std::string rows = Rows(SampleTree(4));
  std::mt19937 random(20261206);
  int refused = 0, loaded = 0;
  for (std::size_t cut = 0; cut < rows.size(); ++cut) {
    ResultTree t;
    ResultRowsHeader h;
    EXPECT_NE(DecodeResultRows(std::string_view(rows).substr(0, cut), t, h), RowsError::None) << cut;
    EXPECT_TRUE(t.groups.empty());
  }
  for (int round = 0; round < 4000; ++round) {
    std::string bytes = rows;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int c = 0; c < changes; ++c)
      bytes[12 + random() % (bytes.size() - 20)] = static_cast<char>(random() % 256);
    if (round % 2) bytes = Sealed(bytes);
    ResultTree t;
    ResultRowsHeader h;
    if (DecodeResultRows(bytes, t, h) == RowsError::None) {
      ++loaded;  // a sealed change of a value can still be a valid file: it must be whole
      std::int64_t files = 0;
      for (const ResultGroup& g : t.groups) files += static_cast<std::int64_t>(g.files.size());
      EXPECT_EQ(files, t.counters.DupCount);
    } else {
      ++refused;
      EXPECT_TRUE(t.groups.empty());
    }
  }
  EXPECT_GT(refused, 2000);
}

TEST(SavedResults, ListRenameCommentAndDelete) {
  TempDir dir;
  ScriptedPrompt prompt;
  SaveResultRequest r = Request(dir, "eins");
  dir.Write("search.log", "x");
  r.searchLog = dir / "search.log";
  ASSERT_TRUE(Report_Save(SampleTree(), r, prompt).saved);
  ASSERT_TRUE(Report_Save(SampleTree(1), Request(dir, "zwei"), prompt).saved);

  std::vector<SavedResultEntry> list = Init_SearchResults(dir / "data");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "eins");
  EXPECT_EQ(list[0].dupCount, 9);
  EXPECT_EQ(list[0].comment, "Dateigröße + Dateiinhalt");
  EXPECT_TRUE(list[0].hasLog);
  EXPECT_FALSE(list[1].hasLog);

  // A rename never replaces another result; one without a log copy renames its two files.
  EXPECT_NE(Searchresult_Rename(dir / "data", "eins", "zwei"), "");
  EXPECT_EQ(Report_Laden(dir / "data", "zwei").tree.groups.size(), 1u);
  EXPECT_EQ(Searchresult_Rename(dir / "data", "zwei", "drei"), "");
  EXPECT_TRUE(Report_Laden(dir / "data", "drei").ok());
  EXPECT_FALSE(platform::PathExists(dir / "data/zwei.ini4a"));

  EXPECT_EQ(Searchresult_Save_Comment(dir / "data", "drei", "vor dem Umzug"), "");
  EXPECT_EQ(Init_SearchResults(dir / "data")[0].comment, "vor dem Umzug");

  EXPECT_FALSE(Searchresult_Delete(dir / "data", "eins", prompt));
  EXPECT_EQ(prompt.texts.back(), "Suchergebnis 'eins' löschen?");
  prompt.answers = {PromptAnswer::Yes};
  EXPECT_TRUE(Searchresult_Delete(dir / "data", "eins", prompt));
  EXPECT_FALSE(platform::PathExists(dir / "data/eins.asr4a"));
  EXPECT_TRUE(platform::PathExists(dir / "data/eins.txt")) << "the log copy stays";
}

}  // namespace
}  // namespace twinex::test
