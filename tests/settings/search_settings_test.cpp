#include "settings/search_settings.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace twinex {
namespace {

TEST(SearchSettingsDefaults, PictureExtensionsKeepTheirOrderAndTickTheCommonFormats) {
  const auto list = SearchSettings::DefaultPictureExtensions();
  ASSERT_EQ(list.size(), 43u);
  EXPECT_EQ(list.front().ext, "ico");
  EXPECT_EQ(list.back().ext, "x3f");
  std::vector<std::string> ticked;
  for (const auto& e : list)
    if (e.ticked) ticked.push_back(e.ext);
  EXPECT_EQ(ticked, (std::vector<std::string>{"jpg", "jpeg", "png", "gif", "bmp"}));
}

TEST(SearchSettingsDefaults, LoadInvariants) {
  SearchSettings s;
  ApplyLoadInvariants(s);
  EXPECT_EQ(s.Suchkriterien, (std::array<bool, 7>{true, false, false, false, false, false, false}));
  s.Suchkriterien = {};
  s.Suchkriterien[kCritSize] = true;
  ApplyLoadInvariants(s);
  EXPECT_FALSE(s.Suchkriterien[kCritName]) << "a set criterion must not be joined by the file name";

  s.SearchMethod = 6;
  s.ContentCompare = -1;
  s.SimiliarImagesAlgo = 10;
  s.SimilarAudioAlgo = 4;
  ApplyLoadInvariants(s);
  EXPECT_EQ(s.SearchMethod, 0);
  EXPECT_EQ(s.ContentCompare, 2);
  EXPECT_EQ(s.SimiliarImagesAlgo, 2);
  EXPECT_EQ(s.SimilarAudioAlgo, 2);

  s.SimiliarImagesAlgo = 3;  // pHash offers a single comparison size
  s.SimilarPicsThumbSizeIndex = 1;
  ApplyLoadInvariants(s);
  EXPECT_EQ(s.SimilarPicsThumbSizeIndex, 0);
}

TEST(SearchSettingsLists, PictureListOrderMapsToCodes) {
  std::vector<std::string> shown;
  for (int code : kPictureAlgorithmListOrder) shown.push_back(PictureAlgorithmText(code));
  EXPECT_EQ(shown, (std::vector<std::string>{"aHash", "bHash", "dHash", "mHash", "pHash", "MD5 (128-Bit)",
                                             "SHA-1 (160-Bit)", "SHA-2 (256-Bit)", "SHA-2 (384-Bit)",
                                             "SHA-2 (512-Bit)"}));
}

struct NormalizeRow {
  std::string (*fn)(const std::string&);
  const char* field;
  const char* in;
  const char* out;
};

TEST(SearchSettingsNormalize, TableRows) {
  const NormalizeRow rows[] = {
      {NormalizeContentComparePercent, "ContentComparePercent", "0", "100"},
      {NormalizeContentComparePercent, "ContentComparePercent", "250", "100"},
      {NormalizeContentComparePercent, "ContentComparePercent", "abc", "100"},
      {NormalizeContentComparePercent, "ContentComparePercent", "-5", "100"},
      {NormalizeSimilarPicsMatchPercent, "SimilarPicsMatchPercent", "x", "95"},
      {NormalizeSimilarPicsMatchPercent, "SimilarPicsMatchPercent", "-1", "100"},
      {NormalizeSimilarAudioSeconds, "SimilarAudioSeconds", "10", "15"},
      {NormalizeSimilarAudioSeconds, "SimilarAudioSeconds", "1000", "30"},
      {NormalizeSimiliarImagesCompareSourceWH, "SimiliarImagesCompareSourceWH", "1000", "999"},
      {NormalizeSimiliarImagesCompareSourceWH, "SimiliarImagesCompareSourceWH", "0", "16"},
      {NormalizeCancelSearchMaxDupCount, "CancelSearchMaxDupCount", "5000000", "5000000"},
      {NormalizePartialFilenameComparePercent, "PartialFilenameComparePercent", "zz", "90"},
      {NormalizeFileNameCompareOnlyFirstCharsCount, "FileNameCompareOnlyFirstCharsCount", "-2", "0"},
      {NormalizeAudioSeconds, "AudioSeconds", " 12 ", "12"},
      {NormalizeAudioSeconds, "AudioSeconds", "2.7", "2"},
  };
  for (const auto& r : rows) EXPECT_EQ(r.fn(r.in), r.out) << r.field << " \"" << r.in << "\"";

  EXPECT_EQ(NormalizeCompareBuffer(0, "0"), "16384");
  EXPECT_EQ(NormalizeCompareBuffer(3, "abc"), "32768");
  EXPECT_EQ(NormalizeCompareBuffer(1, "65536"), "65536");
}

TEST(SearchSettingsOptions, InForceFollowsMethodAndCriteria) {
  SearchSettings s;
  s.Suchkriterien[kCritName] = true;
  s.DontCompareHardlinks = s.IgnoreTime = s.IgnoreSeconds = true;
  OptionsInForce o = GetOptionsInForce(s);
  EXPECT_FALSE(o.dontCompareHardlinks || o.dateOptions || o.contentOptions || o.firstCharsCount);
  ClearOptionsNotInForce(s);
  EXPECT_FALSE(s.DontCompareHardlinks || s.IgnoreTime || s.IgnoreSeconds);
  EXPECT_TRUE(s.CompareFileEndFirst) << "content options are disabled, not cleared";

  s.Suchkriterien[kCritContent] = s.Suchkriterien[kCritCreated] = true;
  s.ContentCompare = 0;
  o = GetOptionsInForce(s);
  EXPECT_TRUE(o.dontCompareHardlinks && o.dateOptions && o.contentOptions && o.contentPercent);
  s.ContentCompare = 1;
  EXPECT_FALSE(GetOptionsInForce(s).contentPercent);

  s.SearchMethod = kMethodSimilarMusic;
  o = GetOptionsInForce(s);
  EXPECT_TRUE(o.dontCompareHardlinks);
  EXPECT_FALSE(o.dateOptions || o.contentOptions);
  s.FileNameCompareMethod = 2;
  EXPECT_TRUE(GetOptionsInForce(s).firstCharsCount);
}

TEST(SearchSettingsDescription, PerMethod) {
  SearchSettings s;
  s.Suchkriterien[kCritSize] = s.Suchkriterien[kCritContent] = true;
  EXPECT_EQ(GetSearchDescription(s, false), "Dateigröße + Dateiinhalt");
  // The checksums always cover the whole file: 100 % whatever the field holds.
  s.ContentComparePercent = "90";
  EXPECT_EQ(GetSearchDescription(s, true), "Dateigröße + Dateiinhalt SHA-1 (160-Bit) (100%)");
  s.ContentCompare = 0;
  s.ContentComparePercent = "90";
  EXPECT_EQ(GetSearchDescription(s, true), "Dateigröße + Dateiinhalt Byte für Byte (90%)");

  s.SearchMethod = kMethodSimilarNames;
  s.PartialFilenameCompareMethod = 2;
  EXPECT_EQ(GetSearchDescription(s, true), "Finde ähnliche Dateinamen (Levenshtein) (90%)");
  EXPECT_EQ(GetSearchDescription(s, false), "Finde ähnliche Dateinamen");
  s.SearchMethod = kMethodSimilarPictures;
  EXPECT_EQ(GetSearchDescription(s, true), "Finde ähnliche Bilder (dHash) (91%) (16x16) (8-Bit)");
  s.SearchMethod = kMethodSimilarMusic;
  EXPECT_EQ(GetSearchDescription(s, true), "Finde ähnliche Musik (30s) (70%) (4)");
  s.SearchMethod = kMethodTrackLength;
  EXPECT_EQ(GetSearchDescription(s, true), "Finde Video- und Musikdateien anhand der Tonspurlänge (0s)");
  s.SearchMethod = kMethodHardlinks;
  EXPECT_EQ(GetSearchDescription(s, true), "Finde Hardlinks");
}

}  // namespace
}  // namespace twinex
