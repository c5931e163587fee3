#include "app/startup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/logs.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "settings/debug_trace.h"
#include "settings/profiles.h"
#include "settings/translate.h"
#include "support/temp_dir.h"

namespace twinex {
namespace {

using test::ReadFile;
using test::TempDir;

// Each test starts the program from its own folder, with its own data folder and language.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    Language("de_DE.UTF-8");
    dir.Write("bin/lang/lang_eng.txt", "# Translator: Test\r\n3626,\"No search criterion is selected.\"\r\n");
  }
  void TearDown() override {
    unsetenv("XDG_DATA_HOME");
    Language("C");
    SetLanguageTable(7, {});
    SetLogFiles({});
    SetSettingsFolders({});
    SetSettingsFilePath("");
    SetDebugTraceWriter(nullptr);
  }
  static void Language(const char* lang) {
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", lang, 1);
  }
  std::string Start(AppSession& session, const std::string& exe = "twinex", const std::string& commandLine = "") {
    StartupRequest r;
    r.executablePath = dir / ("bin/" + exe);
    r.commandLine = commandLine;
    r.version = "4.0.0";
    return StartupSequence(r, session);
  }

  TempDir dir;
};

TEST_F(StartupTest, NormalModeKeepsEverythingInTheUserDataFolder) {
  AppSession s;
  ASSERT_EQ(Start(s), "");
  const std::string data = dir / "xdg/Twinex";
  EXPECT_EQ(s.paths.userDataFolder, data);
  EXPECT_EQ(s.paths.langFolder, dir / "bin/lang");
  for (const char* folder : {"log", "data", "update", "temp", "profile", "export", "db"})
    EXPECT_TRUE(platform::ExistFolder(data + "/" + folder)) << folder;
  EXPECT_EQ(ReadFile(data + "/config4.ini"), "\xFF\xFE");
  EXPECT_EQ(ReadFile(data + "/log/Twinex4.txt"), "\xFF\xFE");
  EXPECT_EQ(ReadFile(s.searchLog), "\xFF\xFE");
  EXPECT_EQ(platform::ParentFolder(s.searchLog), data + "/temp");
  EXPECT_EQ(SettingsFilePath(), data + "/config4.ini");
  EXPECT_EQ(CurrentProfilePath(), data + "/config4.ini");
  EXPECT_EQ(GetLogFiles().searchLog, s.searchLog);
  EXPECT_TRUE(IsInstanceRunning(InstanceLockPath(s.paths)));
  EXPECT_TRUE(IsInstanceRunning(GlobalLockPath(s.paths)));
  EXPECT_EQ(s.language.code, 7);

  // A second instance is not refused and gets a search log of its own.
  AppSession second;
  ASSERT_EQ(Start(second), "");
  EXPECT_NE(second.searchLog, s.searchLog);
  ClosingSequence(second, nullptr);
  EXPECT_TRUE(IsInstanceRunning(InstanceLockPath(s.paths))) << "the first instance still holds its mark";

  MainSettings settings;
  settings.search.SearchMethod = 4;
  EXPECT_EQ(ClosingSequence(s, &settings), "");
  EXPECT_FALSE(platform::ExistFile(s.searchLog));
  EXPECT_FALSE(IsInstanceRunning(InstanceLockPath(s.paths)));
  EXPECT_EQ(ProfileGetItemWide("DupVerz", "SearchMethod", "", data + "/config4.ini"), "4");
}

TEST_F(StartupTest, PortableModeOnlyByTheExactExecutableName) {
  AppSession portable;
  ASSERT_EQ(Start(portable, "TwinexPortable"), "");
  EXPECT_TRUE(portable.paths.portable);
  EXPECT_EQ(portable.paths.userDataFolder, dir / "bin");
  EXPECT_TRUE(platform::ExistFile(dir / "bin/config4.ini"));
  EXPECT_TRUE(platform::ExistFolder(dir / "bin/log"));
  EXPECT_FALSE(platform::ExistFolder(dir / "xdg"));
  EXPECT_EQ(GetSettingsFolders().tempFolder, dir / "bin/temp");

  AppSession renamed;
  ASSERT_EQ(Start(renamed, "twinexportable"), "");
  EXPECT_FALSE(renamed.paths.portable);
  EXPECT_EQ(renamed.paths.userDataFolder, dir / "xdg/Twinex");
}

TEST_F(StartupTest, SettingsFileInAnotherEncodingGetsTheMarkAndKeepsItsContent) {
  const std::string text = "[Allgemein]\r\nLang=9\r\n[DupVerz]\r\nDefenderText=\"/daten/Müll\"\r\n";
  dir.Write("xdg/Twinex/config4.ini", text);  // UTF-8 without mark, as an editor leaves it
  AppSession s;
  ASSERT_EQ(Start(s), "");
  const std::string bytes = ReadFile(dir / "xdg/Twinex/config4.ini");
  EXPECT_EQ(bytes, platform::EncodeUtf16LE(text, true));
  EXPECT_EQ(s.language.code, 9) << "the stored language wins over the platform's";
  EXPECT_EQ(z_Translate(3626, "Es ist kein Suchkriterium ausgewählt."), "No search criterion is selected.");
}

TEST_F(StartupTest, FolderFailuresEndTheStartWithTheirEnglishMessage) {
  dir.Write("xdg", "a file where the data folder should be");
  AppSession s;
  std::string error = Start(s);
  EXPECT_EQ(error, "Can't create user data folder '" + (dir / "xdg/Twinex") + "': Not a directory");

  TempDir other;
  setenv("XDG_DATA_HOME", other.path().c_str(), 1);
  other.Write("Twinex/log", "in the way");
  AppSession t;
  EXPECT_EQ(Start(t), "Can't create log folder '" + (other / "Twinex/log") + "': Not a directory");
}

TEST_F(StartupTest, LanguageFromTheLocaleTheUserFileAndAMissingFile) {
  Language("en_GB.UTF-8");
  AppSession en;
  ASSERT_EQ(Start(en), "");
  EXPECT_EQ(en.language.code, 9);
  EXPECT_EQ(en.language.file, dir / "bin/lang/lang_eng.txt");

  Language("fr_FR.UTF-8");  // supported, but its file is not installed here
  AppSession fr;
  ASSERT_EQ(Start(fr), "");
  EXPECT_EQ(fr.language.code, 9);
  EXPECT_EQ(fr.language.file, "");
  EXPECT_EQ(z_Translate(3626, "Es ist kein Suchkriterium ausgewählt."), "Es ist kein Suchkriterium ausgewählt.");

  dir.Write("bin/lang/lang.txt", "3626,\"Eigener Text\"\r\n");
  AppSession tl;
  ASSERT_EQ(Start(tl, "twinex", "-tl"), "");
  EXPECT_EQ(tl.language.code, 999999);
  EXPECT_EQ(z_Translate(3626, "Es ist kein Suchkriterium ausgewählt."), "Eigener Text");

  ProfilePutItemWide("Allgemein", "UseLangTxt", "1", dir / "xdg/Twinex/config4.ini");
  AppSession useLangTxt;
  ASSERT_EQ(Start(useLangTxt), "");
  EXPECT_EQ(useLangTxt.language.code, 999999);
}

TEST_F(StartupTest, MainWindowLoadReadsTheSettingsAndTrimsTheGeneralLog) {
  dir.Write("xdg/Twinex/config4.ini",
            platform::EncodeUtf16LE("[DupVerz]\r\nLogDelDays=\"abc\"\r\nSearchMethod=\"2\"\r\n", true));
  AppSession s;
  ASSERT_EQ(Start(s), "");
  MainSettings m;
  LoadMainWindowSettings(s, m);
  EXPECT_EQ(m.search.SearchMethod, 2);
  EXPECT_EQ(m.options.LogDelDays, "30");
  EXPECT_EQ(m.options.DefenderText, s.paths.userDataFolder);
  std::string log = platform::DecodeUtf16LE(ReadFile(s.paths.generalLog));
  EXPECT_NE(log.find(" - Protokolleinträge älter als 30 Tag(e) werden aus der Protokolldatei"), std::string::npos);
}

TEST_F(StartupTest, RestartWaitsUntilThePreviousInstanceHasGone) {
  AppSession previous;
  ASSERT_EQ(Start(previous), "");
  const std::string lock = InstanceLockPath(previous.paths);
  int sleeps = 0;
  // The previous instance ends during the second pause.
  EXPECT_TRUE(WaitWhileInstanceRuns(lock, 6, [&](int ms) {
    EXPECT_EQ(ms, 500);
    if (++sleeps == 2) ClosingSequence(previous, nullptr);
  }));
  EXPECT_EQ(sleeps, 2);

  InstanceLock stuck;
  ASSERT_TRUE(stuck.Acquire(lock));
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(WaitWhileInstanceRuns(lock, 1, [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << "the wait has a limit";
}

}  // namespace
}  // namespace twinex
