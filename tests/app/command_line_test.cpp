#include "app/command_line.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace twinex {
namespace {

using Strings = std::vector<std::string>;
std::string Q(const std::string& s) { return "\"" + s + "\""; }

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    paths.profileFolder = tmp.MakeDir("profile");
    SetSettingsFilePath(tmp / "config4.ini");
  }
  // Some tests work from inside the temp folder, which goes away afterwards.
  void TearDown() override { std::filesystem::current_path(cwd); }

  SearchSettings Run(std::string_view line, SearchSettings start = {}) {
    MainSettings m;
    m.search = start;
    Init_Kommandozeile(line, m, paths);
    return m.search;
  }

  std::filesystem::path cwd = std::filesystem::current_path();
  test::TempDir tmp;
  AppPaths paths;
  MainSettings settings;
  CommandLineOutcome out;
};

TEST(SplitCommandLine, QuotesStayAndConsecutiveBlanksGiveEmptyTokens) {
  EXPECT_EQ(SplitCommandLine("  -s1  \"/a b\" -p:\"My Profile\" "),
            (Strings{"-s1", "", "\"/a b\"", "-p:\"My Profile\""}));
  EXPECT_EQ(SplitCommandLine("\"/open end"), Strings{"\"/open end"});
  EXPECT_TRUE(SplitCommandLine("   ").empty());
}

TEST_F(CommandLineTest, RestartTranslatorAndEmptyChangeNothing) {
  Folder_Add_to_List(settings.sources.sources, tmp.path());
  for (const char* line : {"", "   ", "-RESTART", " -TL "}) {
    EXPECT_FALSE(Init_Kommandozeile(line, settings, paths, &out)) << line;
    EXPECT_FALSE(out.processed || !settings.sources.sources[0].ticked);
  }
  // Only the exact spelling is a restart; anything else is a (useless) request to search.
  EXPECT_TRUE(Init_Kommandozeile("-restart", settings, paths, &out));
  EXPECT_FALSE(settings.sources.sources[0].ticked);
}

TEST_F(CommandLineTest, CriteriaSwitchTicksOnlyItsCriteriaAndOnlyTheNamedFolder) {
  std::string other = tmp.MakeDir("other"), dir = tmp.MakeDir("dir");
  Folder_Add_to_List(settings.sources.sources, other);
  settings.search.SearchMethod = 3;
  settings.search.Suchkriterien[kCritSize] = true;
  ASSERT_TRUE(Init_Kommandozeile("-s12 " + Q(dir), settings, paths, &out));
  EXPECT_EQ(settings.search.SearchMethod, 0);
  EXPECT_EQ(settings.search.Suchkriterien, (std::array<bool, 7>{true, true}));
  ASSERT_EQ(settings.sources.sources.size(), 2u);
  EXPECT_FALSE(settings.sources.sources[0].ticked);
  EXPECT_TRUE(settings.sources.sources[1].ticked);
  EXPECT_EQ(out.foldersAdded, Strings{dir});

  EXPECT_EQ(Run("-s0").Suchkriterien, (std::array<bool, 7>{true}));
  EXPECT_EQ(Run("-s10").Suchkriterien, (std::array<bool, 7>{true}));
  EXPECT_EQ(Run("-s91").SearchMethod, 2);
}

TEST_F(CommandLineTest, TokensApplyLeftToRightWithinRange) {
  EXPECT_EQ(Run("-s4 -c3").ContentCompare, 3);
  EXPECT_EQ(Run("-c3 -s4").ContentCompare, 2);
  EXPECT_EQ(Run("-sc -f7").PartialFilenameCompareMethod, 7);

  SearchSettings music = Run("-sa -m0 -m101 -l0 -l1000 -m5x -a3");
  EXPECT_EQ(music.SimilarAudioMatchPercent + music.SimilarAudioSeconds, "7030");
  EXPECT_EQ(music.SimilarAudioAlgo, 2);
  music = Run("-sa -m100 -l999 -a1");
  EXPECT_EQ(music.SimilarAudioMatchPercent + music.SimilarAudioSeconds, "100999");
  EXPECT_EQ(music.SimilarAudioAlgo, 0);
  EXPECT_EQ(Run("-sa -a4").SimilarAudioAlgo, 2);
  EXPECT_EQ(Run("-s9 -m100").SimilarPicsMatchPercent, "100");
  EXPECT_EQ(Run("-s1 -m50").SimilarAudioMatchPercent, "70");
}

TEST_F(CommandLineTest, PictureSwitchesUseListPositionsAndTheAlgorithmsSizes) {
  EXPECT_EQ(Run("-s9 -h3").SimiliarImagesAlgo, 9);  // mHash is shown fourth
  EXPECT_EQ(Run("-h3").SimiliarImagesAlgo, 2);
  struct Case { const char* line; int size; };
  const Case cases[] = {{"-h0 -d1", 1}, {"-h0 -d2", 7}, {"-h1 -d2", 0}, {"-h1 -d4", 2},
                        {"-h1 -d1", 7}, {"-h4 -d7", 0}, {"-h5 -d0", 7}};
  SearchSettings start;
  start.SimilarPicsThumbSizeIndex = 7;
  for (const Case& c : cases)
    EXPECT_EQ(Run(std::string("-s9 ") + c.line, start).SimilarPicsThumbSizeIndex, c.size) << c.line;
}

TEST_F(CommandLineTest, FolderTokens) {
  std::string blanks = tmp.MakeDir("with  blanks"), known = tmp.MakeDir("known");
  Folder_Add_to_List(settings.sources.sources, known);
  ASSERT_EQ(chdir(tmp.path().c_str()), 0);
  Init_Kommandozeile(Q(blanks) + " known \"known\" " + known + " " + Q(tmp / "missing") + " " + Q(blanks),
                     settings, paths, &out);
  EXPECT_EQ(out.foldersNamed, (Strings{blanks, "known", known, tmp / "missing", blanks}));
  // A folder already listed is ticked in place, not added twice; relative names are no folders.
  EXPECT_EQ(out.foldersAdded, (Strings{blanks, known}));
  ASSERT_EQ(settings.sources.sources.size(), 2u);
  EXPECT_TRUE(settings.sources.sources[0].ticked && settings.sources.sources[1].ticked);
}

TEST_F(CommandLineTest, ProfileLoadsAfterFoldersAndOverridesSwitches) {
  std::string dir = tmp.MakeDir("dir"), profDir = tmp.MakeDir("prof");
  MainSettings profile;
  profile.search.SearchMethod = 2;
  Folder_Add_to_List(profile.sources.sources, profDir);
  ASSERT_EQ(EinstellungenSpeichern(profile, paths.profileFolder + "/My Prof.pro4"), "");
  tmp.Write("evil.pro4", "");
  for (const char* p : {"-p:My Prof", "-p:\"Nope\"", "-p:\"../evil\""}) {
    EXPECT_EQ(Run(std::string("-s1 ") + p).SearchMethod, 0) << p;
  }
  // By default a profile keeps the current source rows.
  Init_Kommandozeile("-s1 " + Q(dir) + " -p:\"My Prof\"", settings, paths, &out);
  EXPECT_EQ(settings.search.SearchMethod, 2);
  EXPECT_EQ(out.profilePath, paths.profileFolder + "/My Prof.pro4");
  ASSERT_EQ(settings.sources.sources.size(), 1u);
  EXPECT_EQ(settings.sources.sources[0].path, dir);

  settings.options.ProfileKeineQuellordner = false;  // the main window's option, not the file's
  Init_Kommandozeile("-s1 " + Q(dir) + " -p:\"My Prof\"", settings, paths, &out);
  ASSERT_EQ(settings.sources.sources.size(), 1u);
  EXPECT_EQ(settings.sources.sources[0].path, profDir);
}

TEST_F(CommandLineTest, ShellArgumentsRoundTrip) {
  EXPECT_EQ(RawCommandLineFromArgs({"-s4", "-c3", "/a b", "-p:X", "-p:\"Y Z\""}),
            "-s4 -c3 \"/a b\" -p:\"X\" -p:\"Y Z\"");
  Strings rejected;
  EXPECT_EQ(RawCommandLineFromArgs({"/a\" /b", "", "-p:a\" b", "-n"}, &rejected), "-n");
  EXPECT_EQ(rejected.size(), 3u);

  std::string blanks = tmp.MakeDir("a  b"), sub = tmp.MakeDir("sub");
  ASSERT_EQ(chdir(tmp.path().c_str()), 0);
  Init_Kommandozeile(RawCommandLineFromArgs({"-s3", blanks, "sub"}), settings, paths, &out);
  EXPECT_TRUE(settings.search.Suchkriterien[kCritSize]);
  EXPECT_EQ(out.foldersAdded, (Strings{blanks, sub}));
}

}  // namespace
}  // namespace twinex
