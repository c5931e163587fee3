#include "settings/filters.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/date_time.h"
#include "settings/prompt.h"

namespace twinex {
namespace {

class AnswerPrompt : public Prompt {
 public:
  explicit AnswerPrompt(PromptAnswer a) : answer(a) {}
  PromptAnswer Ask(const PromptMessage& m) override {
    asked.push_back(m);
    return answer;
  }
  PromptAnswer answer;
  std::vector<PromptMessage> asked;
};

SourcesAndFilters FileFilters(std::vector<FilterRow> rows, int filterType = 0) {
  SourcesAndFilters sf;
  sf.fileFilters = std::move(rows);
  sf.fileOptions.enabled = true;
  sf.fileOptions.filterType = filterType;
  sf.folderOptions.enabled = false;
  return sf;
}

SourcesAndFilters FolderFilters(std::vector<FilterRow> rows, bool subfolders, bool caseSensitive) {
  SourcesAndFilters sf;
  sf.folderFilters = std::move(rows);
  sf.folderOptions.subfoldersNotFiltered = subfolders;
  sf.folderOptions.caseSensitive = caseSensitive;
  return sf;
}

TEST(FilterKinds, NameOrPathExactOrWildcard) {
  EXPECT_EQ(FilterTyp_Festlegen("name", false), 0);
  EXPECT_EQ(FilterTyp_Festlegen("/data", false), 1);
  EXPECT_EQ(FilterTyp_Festlegen("*.jpg", false), 2);
  EXPECT_EQ(FilterTyp_Festlegen("/data/img#", false), 3);
  EXPECT_EQ(FilterTyp_Festlegen("[abc]", false), 0) << "brackets alone make no wildcard text";
  EXPECT_EQ(FilterTyp_Festlegen("a*b.txt", true), 0);
}

TEST(FileFilters, AlternativesAndCaseModes) {
  CompiledFilters c = Init_FilterOptionen(FileFilters({{"*.JPG| *.png |", true}, {"*.gif", false}}), false, false, nullptr);
  ASSERT_EQ(c.fileEntries.size(), 2u) << "one row, two alternatives; unticked rows and empty pieces drop out";
  EXPECT_TRUE(c.Check_Filter_Dateien("a.jpg", "/x/a.jpg"));
  EXPECT_TRUE(c.Check_Filter_Dateien("B.PNG", "/x/B.PNG"));
  EXPECT_FALSE(c.Check_Filter_Dateien("c.gif", "/x/c.gif"));

  SourcesAndFilters sf = FileFilters({{"*.JPG", true}});
  sf.fileOptions.caseSensitive = true;
  c = Init_FilterOptionen(sf, false, false, nullptr);
  EXPECT_FALSE(c.Check_Filter_Dateien("a.jpg", "/x/a.jpg"));
  EXPECT_TRUE(c.Check_Filter_Dateien("a.JPG", "/x/a.JPG"));
}

TEST(FileFilters, WildcardsAsTextAndPathKinds) {
  SourcesAndFilters sf = FileFilters({{"a*b.txt", true}, {"/data/Exact.doc", true}, {"/tmp/*.log", true}});
  sf.fileOptions.wildcardsAsText = true;
  CompiledFilters c = Init_FilterOptionen(sf, false, false, nullptr);
  EXPECT_TRUE(c.Check_Filter_Dateien("a*b.txt", "/x/a*b.txt"));
  EXPECT_FALSE(c.Check_Filter_Dateien("axxb.txt", "/x/axxb.txt"));
  EXPECT_TRUE(c.Check_Filter_Dateien("exact.doc", "/data/exact.doc"));
  EXPECT_FALSE(c.Check_Filter_Dateien("exact.doc", "/other/exact.doc"));
  EXPECT_FALSE(c.Check_Filter_Dateien("x.log", "/tmp/x.log"));
  sf.fileOptions.wildcardsAsText = false;
  c = Init_FilterOptionen(sf, false, false, nullptr);
  EXPECT_TRUE(c.Check_Filter_Dateien("x.log", "/tmp/x.log"));
}

TEST(FileFilters, MalformedPatternNeverReachesASearch) {
  CompiledFilters c = Init_FilterOptionen(FileFilters({{"*[z-a]", true}, {"*.txt", true}}), false, false, nullptr);
  ASSERT_EQ(c.fileEntries.size(), 1u);
  EXPECT_EQ(c.fileEntries[0].text, "*.txt");
}

TEST(FolderFilters, SubfolderRuleEndsAtASeparator) {
  for (bool caseSensitive : {false, true}) {
    SCOPED_TRACE(caseSensitive ? "case-sensitive" : "case-insensitive");
    CompiledFilters c = Init_FilterOptionen(FolderFilters({{"/data/Temp", true}}, true, caseSensitive), false, false, nullptr);
    EXPECT_TRUE(c.Check_Filter_Ordner("Temp", "/data/Temp/"));
    EXPECT_TRUE(c.Check_Filter_Ordner("x", "/data/Temp/x"));
    EXPECT_FALSE(c.Check_Filter_Ordner("Temporary", "/data/Temporary"));
    EXPECT_FALSE(c.Check_Filter_Ordner("x", "/data/Temporary/x"));
    EXPECT_EQ(c.Check_Filter_Ordner("x", "/data/temp/x"), !caseSensitive);
  }
  CompiledFilters c = Init_FilterOptionen(FolderFilters({{"/data/Temp/", true}}, false, false), false, false, nullptr);
  EXPECT_TRUE(c.Check_Filter_Ordner("Temp", "/data/Temp")) << "a trailing slash in the filter text is harmless";
  EXPECT_FALSE(c.Check_Filter_Ordner("x", "/data/Temp/x")) << "without the option only the folder itself";
}

TEST(FolderFilters, DefaultsExcludeSystemAndTrashFolders) {
  std::vector<FilterRow> rows;
  for (const std::string& t : DefaultFolderFilters()) Filter_Add_to_List(rows, t, true);
  SourcesAndFilters sf;  // folder filters are on and exclusive by default
  sf.folderFilters = rows;
  CompiledFilters c = Init_FilterOptionen(sf, false, false, nullptr);
  EXPECT_TRUE(c.FolderRejected("proc", "/proc"));
  EXPECT_TRUE(c.FolderRejected("run", "/run/"));
  EXPECT_TRUE(c.FolderRejected("lost+found", "/mnt/disk/lost+found"));
  EXPECT_TRUE(c.FolderRejected(".Trash-1000", "/media/usb/.Trash-1000"));
  EXPECT_FALSE(c.FolderRejected("tmp", "/tmp"));
  EXPECT_FALSE(c.FolderRejected("process", "/process"));
  EXPECT_FALSE(c.FolderRejected("docs", "/home/u/docs"));
}

TEST(FileLevelTest, SizeBoundsAreStrict) {
  SourcesAndFilters sf;
  sf.sizeActive = true;
  sf.size1 = {0, 2, "1"};  // reject "kleiner als 1 MB"
  CompiledFilters c = Init_FilterOptionen(sf, false, false, nullptr);
  EXPECT_FALSE(c.Search_CheckFileFilter(1048576, "a", "/a", 0, 0));
  EXPECT_TRUE(c.Search_CheckFileFilter(1048575, "a", "/a", 0, 0));

  sf.size2Active = true;
  sf.size2 = {1, 1, "2048"};  // and "größer als 2048 KB"
  c = Init_FilterOptionen(sf, false, false, nullptr);
  EXPECT_FALSE(c.Search_CheckFileFilter(2097152, "a", "/a", 0, 0));
  EXPECT_TRUE(c.Search_CheckFileFilter(2097153, "a", "/a", 0, 0));
}

TEST(FileLevelTest, DatesRoundToWholeDays) {
  using platform::MakeDate;
  SourcesAndFilters sf;
  sf.dateActive = true;
  sf.dateType = 0;  // "geändert vor dem"
  sf.date = MakeDate(2020, 1, 10);
  CompiledFilters c = Init_FilterOptionen(sf, false, false, nullptr);
  EXPECT_FALSE(c.Search_CheckFileFilter(5, "a", "/a", MakeDate(2020, 1, 9, 13, 0, 0), 0)) << "from noon the next day";
  EXPECT_TRUE(c.Search_CheckFileFilter(5, "a", "/a", MakeDate(2020, 1, 9, 11, 0, 0), 0));

  sf.dateType = 3;  // "erstellt nach dem" looks at the creation time
  c = Init_FilterOptionen(sf, false, false, nullptr);
  EXPECT_TRUE(c.Search_CheckFileFilter(5, "a", "/a", 0, MakeDate(2020, 1, 10, 12, 0, 0)));
  EXPECT_FALSE(c.Search_CheckFileFilter(5, "a", "/a", 0, MakeDate(2020, 1, 10, 11, 59, 0)));
}

TEST(FileLevelTest, OrderAndInclusiveExclusive) {
  CompiledFilters c = Init_FilterOptionen(FileFilters({{"*.jpg", true}}, 0), true, false, nullptr);
  EXPECT_TRUE(c.Search_CheckFileFilter(0, "a.jpg", "/a.jpg", 0, 0)) << "zero bytes first";
  EXPECT_FALSE(c.Search_CheckFileFilter(1, "a.jpg", "/a.jpg", 0, 0));
  EXPECT_TRUE(c.Search_CheckFileFilter(1, "a.png", "/a.png", 0, 0));
  c = Init_FilterOptionen(FileFilters({{"*.jpg", true}}, 1), false, false, nullptr);
  EXPECT_TRUE(c.Search_CheckFileFilter(1, "a.jpg", "/a.jpg", 0, 0));
  EXPECT_FALSE(c.Search_CheckFileFilter(1, "a.png", "/a.png", 0, 0));
}

TEST(FilterCompile, ConfirmationAnsweredNoKeepsDateAndZeroByte) {
  SourcesAndFilters sf = FileFilters({{"*.jpg", true}});
  sf.sizeActive = true;
  sf.size1 = {0, 0, "10"};
  sf.dateActive = true;
  sf.date = platform::MakeDate(2020, 1, 10);
  AnswerPrompt no(PromptAnswer::No);
  CompiledFilters c = Init_FilterOptionen(sf, true, true, &no);
  ASSERT_EQ(no.asked.size(), 1u);
  EXPECT_EQ(no.asked[0].Text(), "Sollen die Datei- und Ordnerfilter bei der Suche verwendet werden?");
  EXPECT_EQ(no.asked[0].buttons, PromptButtons::YesNo);
  EXPECT_TRUE(c.fileEntries.empty() && c.folderEntries.empty());
  EXPECT_FALSE(c.fileOptions.enabled || c.folderOptions.enabled || c.sizeActive);
  EXPECT_TRUE(c.dateActive && c.nullByte);

  AnswerPrompt yes(PromptAnswer::Yes);
  c = Init_FilterOptionen(sf, true, true, &yes);
  EXPECT_EQ(c.fileEntries.size(), 1u);
  EXPECT_TRUE(c.sizeActive);

  AnswerPrompt unused(PromptAnswer::No);
  SourcesAndFilters plain;
  plain.folderOptions.enabled = false;
  Init_FilterOptionen(plain, false, true, &unused);
  EXPECT_TRUE(unused.asked.empty()) << "nothing to confirm";
}

TEST(FilterCompile, EnvironmentVariablesAreReplacedBeforeFolding) {
  setenv("TWINEX_TEST_DIR", "/Data/Mixed", 1);
  setenv("TWINEX_TEST_LOOP", "%TWINEX_TEST_DIR%", 1);
  unsetenv("TWINEX_TEST_UNSET");
  EXPECT_EQ(ReplaceSystemvariablen("%TWINEX_TEST_DIR%/a|%TWINEX_TEST_DIR%"), "/Data/Mixed/a|/Data/Mixed");
  EXPECT_EQ(ReplaceSystemvariablen("%TWINEX_TEST_UNSET%/x"), "%TWINEX_TEST_UNSET%/x");
  EXPECT_EQ(ReplaceSystemvariablen("100% sure"), "100% sure");
  EXPECT_EQ(ReplaceSystemvariablen("%TWINEX_TEST_LOOP%"), "%TWINEX_TEST_DIR%") << "values are not expanded again";

  // Without a "/" of its own the text still becomes a path filter once the variable is replaced.
  CompiledFilters c = Init_FilterOptionen(FolderFilters({{"%TWINEX_TEST_DIR%", true}}, false, false), false, false, nullptr);
  ASSERT_EQ(c.folderEntries.size(), 1u);
  EXPECT_EQ(c.folderEntries[0].kind, 1);
  EXPECT_TRUE(c.FolderRejected("mixed", "/data/mixed"));
}

TEST(FilterRows, ValidationEscapingAndUnticking) {
  SilentPrompt prompt;
  EXPECT_TRUE(ValidateFilterWildcards("*.jpg", true, &prompt));
  EXPECT_FALSE(ValidateFilterWildcards("[abc", true, &prompt));
  EXPECT_FALSE(ValidateFilterWildcards("[z-a]", false, &prompt));
  ASSERT_EQ(prompt.asked.size(), 1u);
  EXPECT_EQ(prompt.asked[0].Text(), "Die Verwendung der Platzhalter im Filtertext '[abc' ist ungültig!");
  EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Exclamation);

  std::vector<FilterRow> rows = {{"a[b]*?#c.txt", true}, {"[*]", true}, {"plain", true}, {"[x", true}};
  const std::vector<FilterRow> original = rows;
  Filter_Escape_Wildcards(rows);
  EXPECT_EQ(rows[0].text, "a[[]b][*][?][#]c.txt");
  EXPECT_TRUE(WildcardMatch("a[b]*?#c.txt", rows[0].text, true)) << "escaped text matches only itself";
  EXPECT_FALSE(WildcardMatch("a[b]xx1c.txt", rows[0].text, true));
  Filter_Unescape_Wildcards(rows);
  EXPECT_EQ(rows, original);

  UntickInvalidWildcardRows(rows);
  EXPECT_TRUE(rows[0].ticked && rows[1].ticked && rows[2].ticked);
  EXPECT_FALSE(rows[3].ticked);
}

TEST(NameCleanup, CharactersAndTexts) {
  NameCleanup n = PrepareNameCleanup(true, "_-_ä", true, "copy// (1)");
  EXPECT_EQ(n.chars, (std::vector<std::string>{"_", "-", "ä"}));
  EXPECT_EQ(n.texts, (std::vector<std::string>{"copy", " (1)"}));
  EXPECT_EQ(n.Search_ReplaceFileNameChars("my_file-ä_x"), "myfilex");
  EXPECT_EQ(n.Search_ReplaceFileNameText("file copy (1)"), "file ");
  EXPECT_EQ(n.Search_ReplaceFileNameText("COPY"), "COPY") << "exact case";
  EXPECT_FALSE(PrepareNameCleanup(true, "", false, "copy").ignoreChars);
}

TEST(SourceList, FoldersCompareAsTheFileSystemDoes) {
  std::vector<SourceFolder> list;
  EXPECT_TRUE(Folder_Add_to_List(list, "/data/"));
  EXPECT_EQ(list[0].path, "/data");
  EXPECT_FALSE(list[0].driveType.empty());
  EXPECT_FALSE(Folder_Add_to_List(list, "/data"));
  EXPECT_TRUE(Folder_Add_to_List(list, "/Data", false)) << "Linux paths are case-sensitive";
  EXPECT_FALSE(Folder_Add_to_List(list, ""));
  std::vector<FilterRow> filters;
  EXPECT_TRUE(Filter_Add_to_List(filters, "*.JPG", false));
  EXPECT_FALSE(Filter_Add_to_List(filters, "*.jpg", true));
}

}  // namespace
}  // namespace twinex
