#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/text.h"
#include "support/temp_dir.h"

namespace twinex {
namespace {

using test::TempDir;

std::string FileText(const std::string& path) { return platform::DecodeUtf16LE(test::ReadFile(path)); }

std::string WriteIni(const TempDir& dir, const std::string& name, const std::string& text) {
  return dir.Write(name, platform::EncodeUtf16LE(text, true));
}

MainSettings LoadedDefaults() {
  MainSettings m;
  ApplyLoadInvariants(m.search);
  return m;
}

TEST(ProfileItems, QuotesProtectBlanksAndQuotedValues) {
  TempDir dir;
  const std::string f = dir / "p.ini";
  EXPECT_EQ(ProfilePutItemWide("S", "blanks", "  padded  ", f), "");
  EXPECT_EQ(ProfilePutItemWide("S", "quoted", "\"abc\"", f), "");
  EXPECT_EQ(ProfilePutItemWide("S", "empty", "", f), "");
  EXPECT_EQ(ProfilePutItemWide("S", "trimmed", "  t  ", f, false, true), "");
  EXPECT_EQ(ProfileGetItemWide("S", "blanks", "d", f), "  padded  ");
  EXPECT_EQ(ProfileGetItemWide("S", "quoted", "d", f), "\"abc\"");
  EXPECT_EQ(ProfileGetItemWide("S", "empty", "d", f), "d");
  EXPECT_EQ(ProfileGetItemWide("S", "trimmed", "d", f), "t");
  EXPECT_EQ(ProfileGetItemWide("S", "missing", "d", f), "d");
  EXPECT_NE(FileText(f).find("quoted=\"\"\"abc\"\"\""), std::string::npos);

  SetSettingsFilePath(dir / "config4.ini");
  EXPECT_EQ(ProfilePutItemWide("S", "k", "v"), "");
  EXPECT_EQ(ProfileGetItemWide("S", "k", "", dir / "config4.ini"), "v");
  EXPECT_EQ(ProfileDeleteSection("S"), "");
  EXPECT_EQ(ProfileGetItemWide("S", "k", "gone"), "gone");
  SetSettingsFilePath("");
}

MainSettings NonDefault() {
  MainSettings m;
  SearchSettings& s = m.search;
  s.SearchMethod = 3;
  s.Suchkriterien = {false, true, true, true, false, true, true};
  s.ContentCompare = 0;
  s.ContentComparePercent = "80";
  s.CompareFileEndFirst = false;
  s.CompareBuffer = {"1024", "2048", "4096", "8192"};
  s.IgnoreMP3Tags = s.IgnoreFlacMetadata = s.IgnoreExif = s.DontCompareHardlinks = s.IgnoreTime = s.IgnoreSeconds = true;
  s.FileNameCompareMethod = 4;
  s.FileNameCompareOnlyFirstCharsCount = "7";
  s.IgnoreChars = s.IgnoreText = true;
  s.IgnoreCharsText = " _:";
  s.IgnoreTextText = ":copy/ (1) ";
  s.PartialFilenameCompareMethod = 7;
  s.PartialFilenameComparePercent = "55";
  s.PartialFilenameCompareMethodDelimiterChars = " *;";
  s.SimiliarImagesAlgo = 9;
  s.SimilarPicsMatchPercent = "77";
  s.SimilarPicsThumbSizeIndex = 0;
  s.SimilarPicsChecksumBitsIndex = 1;
  s.SimilarPicsChecksumOptionIndex = 1;
  s.SimiliarImagesCompareSource = 4;
  s.SimiliarImagesCompareSourceWH = "32";
  s.SimiliarImagesOnlySameFileName = s.SimiliarImagesOnlySameDimension = s.SimiliarImagesRotateFlip = true;
  s.SimiliarImagesOnlySameFileType = s.SimiliarImagesOnlySameFormat = s.SimiliarImagesOnlySameRatio = false;
  s.SimiliarImagesRotateFlipN = {true, false, true, false, true, false, true};
  for (auto& e : s.SimilarImageExtensions) e.ticked = !e.ticked;
  s.SimilarAudioAlgo = 0;
  s.SimilarAudioMatchPercent = "60";
  s.SimilarAudioSeconds = "120";
  s.SimilarAudioOnlySameFileType = s.AudioOnlySameFileName = s.AudioOnlySameFileType = true;
  s.AudioSeconds = "3";
  s.SourceFolderCompareMode = 3;
  s.NullByte = s.Prio = s.RemoveGroupsDupsNotInsideAllSources = s.CancelSearchMaxDup = true;
  s.NTFSordner = s.WOW64 = false;
  s.CancelSearchMaxDupCount = "12";
  s.LogFilesWithNoDups = s.ShowOnlyFilesWithoutDups = s.LogStatistic = s.FilterVerwendenBest = true;
  s.LogStatisticMinutes = "9";
  s.ScanArchives = true;
  for (std::size_t i = 0; i < s.ScanArchive.size(); i += 3) s.ScanArchive[i] = true;
  s.TempFolder = "/var/tmp/tw ";
  s.TempFolderOrig = "/home/u/.local/share/Twinex/temp";
  s.DeleteTempFilesAfterCreateChecksum = s.LogPasswordProtectedFiles = true;
  s.ZipSizeFilter = false;
  s.ZipSizeFilterTyp = 4;
  s.ZipSizeFilterSize = "3";
  s.usedb = true;
  s.usedbcontent = s.usedbpic = s.usedbaudio = s.checksize = s.checkdate = false;

  SourcesAndFilters& f = m.sources;
  f.sources = {{"/data/Bilder", true, false, true, "Netzlaufwerk"}, {"/müll ", false, true, false, "?"}};
  f.fileFilters = {{"*.jpg|*.png", true}, {"  spaced  ", false}};
  f.folderFilters = {{"/proc", false}, {"\"quoted\"", true}};
  f.fileOptions = {true, 1, true, true, false};
  f.folderOptions = {false, 0, true, true, true};
  f.dateActive = true;
  f.dateType = 2;
  f.date = 43840.5417;
  f.sizeActive = f.size2Active = true;
  f.size1 = {1, 3, "2,5"};
  f.size2 = {0, 4, "7"};
  return m;
}

TEST(SettingsFile, SaveThenLoadGivesBackEveryField) {
  TempDir dir;
  const std::string f = dir / "profile.pro4";
  const MainSettings saved = NonDefault();
  ASSERT_EQ(EinstellungenSpeichern(saved, f), "");
  MainSettings loaded;
  EinstellungenLaden(loaded, f, false, true);
  // Text fields with blanks, quotes and the wrapping characters are the likely casualties.
  EXPECT_EQ(loaded.search.IgnoreTextText, saved.search.IgnoreTextText);
  EXPECT_EQ(loaded.search.PartialFilenameCompareMethodDelimiterChars,
            saved.search.PartialFilenameCompareMethodDelimiterChars);
  EXPECT_EQ(loaded.sources.folderFilters, saved.sources.folderFilters);
  EXPECT_TRUE(loaded.search == saved.search);
  EXPECT_TRUE(loaded.sources == saved.sources);

  const std::string text = FileText(f);
  EXPECT_NE(text.find("IgnoreCharsText=\": _::\""), std::string::npos);
  EXPECT_NE(text.find("PartialFilenameCompareMethodDelimiterChars=\"* *;\""), std::string::npos);
  EXPECT_NE(text.find("[FilterGrösse]"), std::string::npos);
  EXPECT_NE(text.find("1ScanArchive=\"1\""), std::string::npos);
  EXPECT_NE(text.find("16ScanArchive=\"1\""), std::string::npos);
}

TEST(SettingsFile, MissingFileLoadsDefaults) {
  TempDir dir;
  MainSettings m;
  EinstellungenLaden(m, dir / "none.ini", false, true);
  EXPECT_TRUE(m == LoadedDefaults());
  EXPECT_FALSE(platform::ExistFile(dir / "none.ini"));
}

TEST(SettingsFile, GarbageAndOutOfRangeValuesFallBack) {
  TempDir dir;
  const std::string f = WriteIni(dir, "c.ini",
                                 "garbage without equals\r\n=\r\n[DupVerz]\r\nSearchMethod=17\r\nContentCompare=abc\r\n"
                                 "Suchkriterien0=0\r\nNullByte=yes\r\nNTFSordner=0\r\nSimiliarImagesAlgo=12\r\n"
                                 "ContentComparePercent=250\r\nSimilarAudioSeconds=\"1000\"\r\nSimilarPicsMatchPercent=\r\n"
                                 "PartialFilenameCompareMethodDelimiterChars=no star\r\n"
                                 "[Ordnerlist]\r\nV0=/data\r\nA0=1\r\nV2=/skipped\r\n"
                                 "[DupFilter]\r\nFiltertyp=7\r\nF0=*.jpg\r\nC0=1\r\nF1=*.JPG\r\nF2=\r\nF3=*.png\r\n"
                                 "[FilterGrösse]\r\nTyp=9\r\nArt2=-1\r\n[FilterFileDate]\r\nFilterType=4\r\nDate=soon\r\n");
  MainSettings m;
  EinstellungenLaden(m, f, false, true);
  EXPECT_EQ(m.search.SearchMethod, 0);
  EXPECT_EQ(m.search.ContentCompare, 2);
  EXPECT_TRUE(m.search.Suchkriterien[kCritName]);
  EXPECT_FALSE(m.search.NullByte);
  EXPECT_FALSE(m.search.NTFSordner);
  EXPECT_EQ(m.search.SimiliarImagesAlgo, 2);
  EXPECT_EQ(m.search.ContentComparePercent, "100");
  EXPECT_EQ(m.search.SimilarAudioSeconds, "30");
  EXPECT_EQ(m.search.SimilarPicsMatchPercent, "91") << "an empty value reads as missing";
  EXPECT_EQ(m.search.PartialFilenameCompareMethodDelimiterChars, "no star");
  ASSERT_EQ(m.sources.sources.size(), 1u);
  EXPECT_EQ(m.sources.sources[0].path, "/data");
  EXPECT_TRUE(m.sources.sources[0].ticked);
  EXPECT_EQ(m.sources.fileOptions.filterType, 0);
  EXPECT_EQ(m.sources.fileFilters, (std::vector<FilterRow>{{"*.jpg", true}}))
      << "duplicates without regard to case are dropped, the list ends at the first empty text";
  EXPECT_EQ(m.sources.size1.unit, 0);
  EXPECT_EQ(m.sources.size2.comparison, 1);
  EXPECT_EQ(m.sources.dateType, 0);
  EXPECT_EQ(m.sources.date, 0);
}

TEST(SettingsFile, SaveKeepsForeignOptionsAndRewritesLists) {
  TempDir dir;
  const std::string f = WriteIni(dir, "c.ini",
                                 "[DupVerz]\r\nFutureOption=5\r\n[Ordnerlist]\r\nV0=/a\r\nV1=/b\r\nV2=/c\r\n"
                                 "[DupFilterOrdner]\r\nF0=/x\r\nF1=/y\r\n[Allgemein]\r\nLang=7\r\n");
  MainSettings m;
  Folder_Add_to_List(m.sources.sources, "/only");
  m.sources.sources.push_back({"", true, true, false, ""});  // a row without a path is not written
  m.sources.folderFilters = {{"/z", true}};
  ASSERT_EQ(EinstellungenSpeichern(m, f), "");
  EXPECT_EQ(ProfileGetItemWide("DupVerz", "FutureOption", "", f), "5") << "a newer build's option survives";
  EXPECT_EQ(ProfileGetItemWide("Allgemein", "Lang", "", f), "7");
  EXPECT_EQ(ProfileGetItemWide("Ordnerlist", "V0", "", f), "/only");
  EXPECT_EQ(ProfileGetItemWide("Ordnerlist", "V1", "", f), "");
  EXPECT_EQ(ProfileGetItemWide("DupFilterOrdner", "F1", "", f), "");
  EXPECT_EQ(ProfileGetItemWide("DupFilterOrdner", "Filtertyp", "", f), "1");
}

TEST(SettingsFile, LoadFlagsAndExtensionSentinel) {
  TempDir dir;
  MainSettings stored = NonDefault();
  const std::string f = dir / "p.pro4";
  ASSERT_EQ(EinstellungenSpeichern(stored, f), "");
  ASSERT_EQ(platform::IniDeleteSection(f, "SimilarImageExtensions"), "");
  ASSERT_EQ(platform::IniWrite(f, "SimilarImageExtensions", "jpg", "1"), "");

  MainSettings m;
  m.search.SimilarImageExtensions[0].ticked = true;  // "ico", not in the file: keeps its tick
  m.search.SimilarImageExtensions[1].ticked = false;
  Folder_Add_to_List(m.sources.sources, "/keep");
  m.search.SearchMethod = 5;
  EinstellungenLaden(m, f, true, false);
  EXPECT_EQ(m.search.SearchMethod, 5) << "the search selection is read only on request";
  EXPECT_EQ(m.search.ContentCompare, 2);
  EXPECT_EQ(m.search.SimilarPicsMatchPercent, "77") << "everything else is read";
  ASSERT_EQ(m.sources.sources.size(), 1u);
  EXPECT_EQ(m.sources.sources[0].path, "/keep");
  EXPECT_TRUE(m.search.SimilarImageExtensions[0].ticked);
  EXPECT_TRUE(m.search.SimilarImageExtensions[1].ticked);

  EinstellungenLaden(m, f, false, true);
  EXPECT_EQ(m.search.SearchMethod, 3);
  ASSERT_EQ(m.sources.sources.size(), 3u) << "the file's folders join the list";
  EXPECT_EQ(m.sources.sources[1], stored.sources.sources[0]);
}

}  // namespace
}  // namespace twinex
