#include "presenters/main_window_presenter.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace twinex {
namespace {

std::size_t TextOptionFor(std::string& (*field)(MainSettings&), MainSettings& m) {
  // The option whose field is the one the caller names (compared by address).
  for (std::size_t i = 0; i < TextOptions().size(); ++i)
    if (&TextOptions()[i].text(m) == &field(m)) return i;
  ADD_FAILURE() << "no text option for the field";
  return 0;
}

struct EnableRow {
  const char* name;
  int method;
  std::vector<int> criteria;
  int contentCompare;
  int fileNameMethod;
  std::vector<OptionGroup> enabled;  // every other group is disabled
};

TEST(MainWindowPresenter, EnableRulesFollowMethodAndCriteria) {
  using G = OptionGroup;
  const EnableRow rows[] = {
      {"name only", 0, {kCritName}, 2, 0, {G::General, G::Criteria, G::FileName}},
      {"name, counted chars", 0, {kCritName}, 2, 1, {G::General, G::Criteria, G::FileName, G::FirstChars}},
      {"size + SHA-1", 0, {kCritSize, kCritContent}, 2, 0, {G::General, G::Criteria, G::Content, G::Hardlinks}},
      {"byte for byte", 0, {kCritContent}, 0, 0,
       {G::General, G::Criteria, G::Content, G::ContentPercent, G::Hardlinks}},
      {"modified date", 0, {kCritModified}, 2, 0, {G::General, G::Criteria, G::Dates}},
      {"created date", 0, {kCritCreated}, 2, 0, {G::General, G::Criteria, G::Dates}},
      {"similar names", 1, {kCritContent, kCritModified}, 0, 1, {G::General, G::SimilarNames}},
      {"pictures", 2, {kCritContent}, 0, 0, {G::General, G::Pictures, G::Hardlinks}},
      {"music", 3, {}, 2, 0, {G::General, G::Music, G::Hardlinks}},
      {"track length", 4, {}, 2, 0, {G::General, G::TrackLength}},
      {"hard links", 5, {kCritContent}, 2, 0, {G::General}},
  };
  for (const EnableRow& row : rows) {
    MainSettings m;
    MainWindowPresenter p(m);
    p.SetMethod(0);
    for (int c = 0; c < 7; ++c) p.SetCriterion(c, false);
    for (int c : row.criteria) p.SetCriterion(c, true);
    m.search.ContentCompare = row.contentCompare;
    m.search.FileNameCompareMethod = row.fileNameMethod;
    p.SetMethod(row.method);
    for (int g = 0; g <= static_cast<int>(G::TrackLength); ++g) {
      const G group = static_cast<G>(g);
      const bool expected = std::find(row.enabled.begin(), row.enabled.end(), group) != row.enabled.end();
      EXPECT_EQ(p.Enabled(group), expected) << row.name << ", group " << g;
    }
  }
}

TEST(MainWindowPresenter, OptionsThatLeaveForceAreCleared) {
  MainSettings m;
  MainWindowPresenter p(m);
  p.SetCriterion(kCritContent, true);
  p.SetCriterion(kCritModified, true);
  for (std::size_t i = 0; i < BoolOptions().size(); ++i) p.SetBool(i, true);
  EXPECT_TRUE(m.search.IgnoreTime && m.search.IgnoreSeconds && m.search.DontCompareHardlinks);
  EXPECT_FALSE(m.search.SimilarAudioOnlySameFileType) << "a box of a disabled group cannot be ticked";

  p.SetCriterion(kCritModified, false);
  EXPECT_FALSE(m.search.IgnoreTime || m.search.IgnoreSeconds);
  EXPECT_TRUE(m.search.DontCompareHardlinks);
  p.SetMethod(kMethodTrackLength);
  EXPECT_FALSE(m.search.DontCompareHardlinks);
  EXPECT_TRUE(m.search.NullByte) << "general options stay in force for every method";
}

template <typename Option, typename Value>
std::size_t OptionFor(const std::vector<Option>& options, Value& (*Option::*accessor)(MainSettings&), Value& field,
                      MainSettings& m) {
  for (std::size_t i = 0; i < options.size(); ++i)
    if (&(options[i].*accessor)(m) == &field) return i;
  ADD_FAILURE() << "no option for the field";
  return 0;
}

struct LeaveRow {
  std::string& (*field)(MainSettings&);
  const char* typed;
  const char* shown;
};

template <std::string SearchSettings::*F>
std::string& Field(MainSettings& m) {
  return m.search.*F;
}
std::string& Buffer1(MainSettings& m) { return m.search.CompareBuffer[1]; }
std::string& SecondSize(MainSettings& m) { return m.sources.size2.number; }

TEST(MainWindowPresenter, LeavingAFieldCorrectsAndStoresIt) {
  using S = SearchSettings;
  const LeaveRow rows[] = {
      {&Field<&S::ContentComparePercent>, "0", "100"},
      {&Field<&S::ContentComparePercent>, "250", "100"},
      {&Field<&S::ContentComparePercent>, "abc", "100"},
      {&Field<&S::ContentComparePercent>, "42", "42"},
      {&Field<&S::SimilarAudioSeconds>, "10", "15"},
      {&Field<&S::SimilarAudioSeconds>, "1000", "30"},
      {&Field<&S::SimilarPicsMatchPercent>, "x", "95"},
      {&Field<&S::SimiliarImagesCompareSourceWH>, "1200", "999"},
      {&Field<&S::CancelSearchMaxDupCount>, "-3", "999"},
      {&Field<&S::LogStatisticMinutes>, "0", "5"},
      {&Field<&S::AudioSeconds>, "-1", "0"},
      {&Field<&S::FileNameCompareOnlyFirstCharsCount>, "many", "0"},
      {&Field<&S::PartialFilenameComparePercent>, "?", "90"},
      {&Buffer1, "0", "32768"},
      {&Field<&S::ZipSizeFilterSize>, "", "20"},
      {&Field<&S::ZipSizeFilterSize>, "-4", "0"},
      {&SecondSize, "", "0"},
      {&SecondSize, "12.7", "12"},
      // Text fields keep what was typed, a leading blank included.
      {&Field<&S::PartialFilenameCompareMethodDelimiterChars>, " ,;", " ,;"},
      {&Field<&S::IgnoreCharsText>, "_-", "_-"},
  };
  for (const LeaveRow& row : rows) {
    MainSettings m;
    MainWindowPresenter p(m);
    const std::size_t option = TextOptionFor(row.field, m);
    EXPECT_EQ(p.LeaveText(option, row.typed), row.shown) << row.typed;
    EXPECT_EQ(row.field(m), row.shown) << row.typed;
  }
}

TEST(MainWindowPresenter, PictureAlgorithmListShowsCodesInListOrder) {
  MainSettings m;
  MainWindowPresenter p(m);
  const std::size_t option = OptionFor(ChoiceOptions(), &ChoiceOption::value, m.search.SimiliarImagesAlgo, m);
  EXPECT_EQ(p.ChoicePosition(option), 2);  // dHash, code 2
  p.SetChoice(option, 3);                   // mHash stands fourth
  EXPECT_EQ(m.search.SimiliarImagesAlgo, 9);
  EXPECT_EQ(p.ChoicePosition(option), 3);
  p.SetChoice(option, 10);  // past the list: ignored
  EXPECT_EQ(m.search.SimiliarImagesAlgo, 9);
}

TEST(MainWindowPresenter, PictureSizeListFollowsTheAlgorithm) {
  MainSettings m;
  MainWindowPresenter p(m);
  const std::size_t algo = OptionFor(ChoiceOptions(), &ChoiceOption::value, m.search.SimiliarImagesAlgo, m);
  const std::size_t size = OptionFor(ChoiceOptions(), &ChoiceOption::value, m.search.SimilarPicsThumbSizeIndex, m);
  auto choose = [&](int code) {
    const auto& order = kPictureAlgorithmListOrder;
    p.SetChoice(algo, static_cast<int>(std::find(order.begin(), order.end(), code) - order.begin()));
    ASSERT_EQ(m.search.SimiliarImagesAlgo, code);
  };
  choose(1);  // bHash: three sizes
  EXPECT_EQ(p.ChoiceItems(size), (std::vector<std::string>{"128x128", "256x256", "512x512"}));
  p.SetChoice(size, 2);
  EXPECT_EQ(m.search.SimilarPicsThumbSizeIndex, 2);
  choose(3);  // pHash: one size; the third entry is gone
  EXPECT_EQ(p.ChoiceItems(size), (std::vector<std::string>{"32x32"}));
  EXPECT_EQ(m.search.SimilarPicsThumbSizeIndex, 0);
  p.SetChoice(size, 1);  // not offered: ignored
  EXPECT_EQ(m.search.SimilarPicsThumbSizeIndex, 0);
  choose(2);
  EXPECT_EQ(p.ChoiceItems(size).size(), 2u);
}

struct SwitchRow {
  const char* name;
  void (*set)(MainSettings&);
  std::vector<OptionGroup> enabled;  // among the switch-dependent groups
};

TEST(MainWindowPresenter, SwitchesPutTheirOptionsInForce) {
  using G = OptionGroup;
  const G dependent[] = {G::ArchiveOptions, G::DatabaseOptions, G::DateFilter, G::SizeFilter, G::SecondSize};
  const SwitchRow rows[] = {
      {"nothing on", [](MainSettings&) {}, {}},
      {"archives", [](MainSettings& m) { m.search.ScanArchives = true; }, {G::ArchiveOptions}},
      {"database", [](MainSettings& m) { m.search.usedb = true; }, {G::DatabaseOptions}},
      {"date", [](MainSettings& m) { m.sources.dateActive = true; }, {G::DateFilter}},
      {"second size alone", [](MainSettings& m) { m.sources.size2Active = true; }, {}},
      {"first size", [](MainSettings& m) { m.sources.sizeActive = true; }, {G::SizeFilter}},
      {"both sizes", [](MainSettings& m) { m.sources.sizeActive = m.sources.size2Active = true; },
       {G::SizeFilter, G::SecondSize}},
  };
  for (const SwitchRow& row : rows) {
    MainSettings m;
    m.search.usedb = false;
    MainWindowPresenter p(m);
    row.set(m);
    for (G group : dependent) {
      const bool expected = std::find(row.enabled.begin(), row.enabled.end(), group) != row.enabled.end();
      EXPECT_EQ(p.Enabled(group), expected) << row.name << ", group " << static_cast<int>(group);
    }
  }

  // A switch of a box out of force cannot be ticked; once in force it can.
  MainSettings m;
  MainWindowPresenter p(m);
  const std::size_t zip = OptionFor(BoolOptions(), &BoolOption::flag, m.search.ScanArchive[0], m);
  EXPECT_EQ(OptionCaption(BoolOptions()[zip].caption), "zip");
  p.SetBool(zip, true);
  EXPECT_FALSE(m.search.ScanArchive[0]);
  p.SetBool(OptionFor(BoolOptions(), &BoolOption::flag, m.search.ScanArchives, m), true);
  p.SetBool(zip, true);
  EXPECT_TRUE(m.search.ScanArchive[0]);
}

TEST(MainWindowPresenter, FilterOptionsAndExclusionsReachTheSettings) {
  MainSettings m;
  MainWindowPresenter p(m);
  // Folder filters take wildcards as text through their own switch; file filters do not.
  p.SetBool(OptionFor(BoolOptions(), &BoolOption::flag, m.sources.folderOptions.wildcardsAsText, m), true);
  EXPECT_EQ(p.FilterError(true, "[a-"), "");
  EXPECT_NE(p.FilterError(false, "[a-"), "");
  const std::size_t type = OptionFor(ChoiceOptions(), &ChoiceOption::value, m.sources.fileOptions.filterType, m);
  EXPECT_EQ(p.ChoiceItems(type).size(), 2u);
  p.SetChoice(type, 1);
  EXPECT_EQ(m.sources.fileOptions.filterType, 1);
  EXPECT_EQ(m.sources.folderOptions.filterType, 1) << "the folder list's own default";

  const std::size_t unit = OptionFor(ChoiceOptions(), &ChoiceOption::value, m.sources.size2.unit, m);
  EXPECT_EQ(p.ChoiceItems(unit).back(), "TB");
  p.SetChoice(unit, 3);
  EXPECT_EQ(m.sources.size2.unit, 3);
  p.SetChoice(unit, 5);
  EXPECT_EQ(m.sources.size2.unit, 3);

  p.SetExclusionDate(2024, 2, 29);
  EXPECT_EQ(p.ExclusionDate(), (std::array<int, 3>{2024, 2, 29}));
}

TEST(MainWindowPresenter, UserLanguageFileSwitchSaysWhenItTakesEffect) {
  WindowSettings w;
  EXPECT_FALSE(UserLanguageFileOn(w));
  EXPECT_EQ(SwitchUserLanguageFile(w, false), "") << "no change, nothing to say";
  EXPECT_NE(SwitchUserLanguageFile(w, true), "");
  EXPECT_EQ(w.Get("Allgemein", "UseLangTxt"), "1");
  EXPECT_TRUE(UserLanguageFileOn(w));
  EXPECT_NE(SwitchUserLanguageFile(w, false), "");
  EXPECT_EQ(w.Get("Allgemein", "UseLangTxt"), "0");
}

TEST(MainWindowPresenter, MethodsWithoutEngineSaySoAndCannotStart) {
  MainSettings m;
  MainWindowPresenter p(m);
  for (int method = 0; method <= 5; ++method) {
    p.SetMethod(method);
    const bool available = method == kMethodProperties || method == kMethodHardlinks;
    EXPECT_EQ(p.StartEnabled(), available) << method;
    EXPECT_EQ(p.MethodNote().empty(), available) << method;
  }
  p.SetMethod(9);
  EXPECT_EQ(m.search.SearchMethod, 0);
}

TEST(MainWindowPresenter, SourceFoldersAndFiltersAreChecked) {
  test::TempDir dir;
  dir.MakeDir("a");
  MainSettings m;
  MainWindowPresenter p(m);
  EXPECT_EQ(p.AddSourceFolder(dir / "a"), "");
  EXPECT_NE(p.AddSourceFolder(dir / "a/"), "") << "the same folder twice";
  EXPECT_NE(p.AddSourceFolder(dir / "missing"), "");
  EXPECT_NE(p.AddSourceFolder(""), "");
  ASSERT_EQ(m.sources.sources.size(), 1u);
  p.RemoveSourceFolder(5);
  p.RemoveSourceFolder(0);
  EXPECT_TRUE(m.sources.sources.empty());

  m.sources.fileFilters.clear();
  EXPECT_EQ(p.AddFilter(false, "*.tmp"), "");
  EXPECT_NE(p.AddFilter(false, "*.TMP"), "") << "filters compare without regard to case";
  EXPECT_NE(p.FilterError(false, "[a-"), "") << "an open bracket is no valid pattern";
  EXPECT_NE(p.FilterError(false, ""), "");
  m.sources.fileOptions.wildcardsAsText = true;
  EXPECT_EQ(p.FilterError(false, "[a-"), "") << "taken as text, any text is a filter";
  EXPECT_EQ(m.sources.fileFilters.size(), 1u);
}

}  // namespace
}  // namespace twinex
