// The program options, the windows' own sections and what a settings write keeps.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/text.h"
#include "settings/program_options.h"
#include "settings/settings_file.h"
#include "settings/window_settings.h"
#include "support/temp_dir.h"

namespace twinex {
namespace {

using test::TempDir;

std::string FileText(const std::string& path) { return platform::DecodeUtf16LE(test::ReadFile(path)); }

class OptionsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetSettingsFolders({});
    SetSettingsFilePath("");
  }
  TempDir dir;
};

TEST_F(OptionsTest, EveryOptionRoundTripsAndLandsInItsSection) {
  MainSettings m;
  ProgramOptions& o = m.options;
  o.ProfileKeineQuellordner = false;
  o.ToolbarTheme = 3;
  o.ColorModeBG = 255;
  o.DateFormat3 = " yyyy-MM-dd ";
  o.ExternalPrgOpenFolderText = "\"nautilus\" \"%1\"";
  o.LogDel = false;
  o.LogDelDays = "45";
  o.ShowAudioPropertiesExt = "flac";
  o.SoundFileAfterSearch = "/snd/ding.mp3";
  o.GroupBackColor = 123;
  o.HardlinkTextColor = 0;
  o.ShowWizard = false;
  o.previewLists[0] = {{"txt", true}, {"log", false}};
  o.previewLists[4] = {{"jpg", true}};
  const std::string f = dir / "p.pro4";
  ASSERT_EQ(EinstellungenSpeichern(m, f), "");
  MainSettings loaded;
  EinstellungenLaden(loaded, f, false, true);
  EXPECT_TRUE(loaded.options == m.options);

  const std::string text = FileText(f);
  for (const char* part : {"[DupVerz]", "ColorModeBG=\"255\"", "[Optionen]", "GroupBackColor=\"123\"",
                           "[Start]", "ShowWizard=\"0\"", "[Dateiansicht]", "D0=\"txt\"", "C1=\"0\"",
                           "[PICendungen]", "DateFormat3=\" yyyy-MM-dd \""})
    EXPECT_NE(text.find(part), std::string::npos) << part;
}

TEST_F(OptionsTest, SavingKeepsWhatThisBuildDoesNotKnowAndDropsStaleListRows) {
  const std::string f = dir.Write("c.ini", platform::EncodeUtf16LE(
                                               "[DupVerz]\r\nNewerOption=\"\"quoted\"\"\r\nLogDel=0\r\n"
                                               "[Optionen]\r\nColumnSize=0\r\nGroupBackColor=1\r\n"
                                               "[Aktionen]\r\nAktion=2\r\n[WindowPos]\r\nfrmMain_Left=10\r\n"
                                               "[Dateiansicht]\r\nD0=txt\r\nD1=rtf\r\nC0=1\r\n",
                                               true));
  const std::string newer = ProfileGetItemWide("DupVerz", "NewerOption", "", f);
  MainSettings m;
  EinstellungenLaden(m, f, false, true);
  EXPECT_FALSE(m.options.LogDel);
  EXPECT_EQ(m.options.GroupBackColor, 1);
  m.options.previewLists[0] = {{"md", true}};
  ASSERT_EQ(EinstellungenSpeichern(m, f), "");
  EXPECT_EQ(ProfileGetItemWide("DupVerz", "NewerOption", "", f), newer) << "a newer build's option survives";
  EXPECT_EQ(ProfileGetItemWide("DupVerz", "LogDel", "", f), "0");
  EXPECT_EQ(ProfileGetItemWide("Optionen", "ColumnSize", "", f), "0") << "the result window's key stays";
  EXPECT_EQ(ProfileGetItemWide("Aktionen", "Aktion", "", f), "2");
  EXPECT_EQ(ProfileGetItemWide("WindowPos", "frmMain_Left", "", f), "10");
  EXPECT_EQ(ProfileGetItemWide("Dateiansicht", "D0", "", f), "md");
  EXPECT_EQ(ProfileGetItemWide("Dateiansicht", "D1", "", f), "");
}

TEST_F(OptionsTest, SettingsAreWrittenThroughATemporaryFile) {
  const std::string f = dir.Write("config4.ini", platform::EncodeUtf16LE("[DupVerz]\r\nToolbarTheme=2\r\n", true));
  struct stat before, after;
  ASSERT_EQ(stat(f.c_str(), &before), 0);
  ASSERT_EQ(EinstellungenSpeichern(MainSettings{}, f), "");
  ASSERT_EQ(stat(f.c_str(), &after), 0);
  EXPECT_NE(before.st_ino, after.st_ino) << "the old file is replaced, never rewritten in place";
  std::size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

TEST_F(OptionsTest, SettingsFileWithoutMarkAndWithGarbageLoads) {
  const std::string f = dir.Write("c.ini",
                                  "\x01\x02 binary junk\r\n[DupVerz\r\nToolbarTheme\r\n[DupVerz]\r\nToolbarTheme=7\r\n"
                                  "ColorMode==2\r\nLogDelDays=-3\r\nDateFormat3=" +
                                      std::string(10000, 'y') + "\r\n[Optionen]\r\nGroupTextColor=x\r\n");
  MainSettings m;
  EinstellungenLaden(m, f, false, true);
  EXPECT_EQ(m.options.ToolbarTheme, 7);
  EXPECT_EQ(m.options.ColorMode, 0);
  EXPECT_EQ(m.options.LogDelDays, "30");
  EXPECT_EQ(m.options.GroupTextColor, 0);
  EXPECT_FALSE(m.options.DateFormat3.empty());
}

TEST(LogDelDays, OnlyAWholeNumberOfAtLeastOneDayIsKept) {
  EXPECT_EQ(NormalizeLogDelDays("10"), "10");
  EXPECT_EQ(NormalizeLogDelDays(" 7 "), "7");
  for (const char* bad : {"", "0", "-5", "abc", "1.5", "3e2", "99999999999999999999"})
    EXPECT_EQ(NormalizeLogDelDays(bad), "30") << bad;
}

TEST_F(OptionsTest, FolderDefaultsAndThePortableAdjustment) {
  SettingsFolders old{"/media/stick/Twinex", "/media/stick/Twinex", "/media/stick/Twinex/temp", true};
  SetSettingsFolders(old);
  MainSettings m;
  m.search.TempFolder = "/media/stick/Twinex/temp";
  m.options.SoundFileAfterSearch = "/media/stick/Twinex/sound/7.mp3";
  const std::string f = dir / "config4.ini";
  ASSERT_EQ(EinstellungenSpeichern(m, f), "");
  EXPECT_EQ(ProfileGetItemWide("DupVerz", "TempFolderOrig", "", f), "/media/stick/Twinex/temp");
  EXPECT_EQ(ProfileGetItemWide("DupVerz", "SoundFileAfterSearchOrig", "", f), "/media/stick/Twinex/sound/");

  // The stick comes back under another mount point.
  SetSettingsFolders({"/run/media/u/STICK/Twinex", "/run/media/u/STICK/Twinex", "/run/media/u/STICK/Twinex/temp", true});
  MainSettings moved;
  EinstellungenLaden(moved, f, false, true);
  EXPECT_EQ(moved.search.TempFolder, "/run/media/u/STICK/Twinex/temp");
  EXPECT_EQ(moved.options.SoundFileAfterSearch, "/run/media/u/STICK/Twinex/sound/7.mp3");

  // Paths the user chose elsewhere stay, and outside portable mode nothing moves.
  MainSettings own;
  own.search.TempFolder = "/var/tmp/x";
  own.options.SoundFileAfterSearch = "/home/u/ding.mp3";
  ApplyPortableAdjustment(own, {"/p", "/p", "/p/temp", true});
  EXPECT_EQ(own.search.TempFolder, "/var/tmp/x");
  EXPECT_EQ(own.options.SoundFileAfterSearch, "/home/u/ding.mp3");
  SetSettingsFolders({"/run/media/u/STICK/Twinex", "/home/u/.local/share/Twinex", "/x/temp", false});
  EinstellungenLaden(moved = MainSettings{}, f, false, true);
  EXPECT_EQ(moved.search.TempFolder, "/media/stick/Twinex/temp");

  // Empty values read as the defaults of where the program runs.
  MainSettings fresh;
  EinstellungenLaden(fresh, dir / "none.ini", false, true);
  EXPECT_EQ(fresh.options.SoundFileAfterSearch, "/run/media/u/STICK/Twinex/sound/4.mp3");
  EXPECT_EQ(fresh.options.DefenderText, "/home/u/.local/share/Twinex");
}

TEST_F(OptionsTest, UnicodeSupportIsSwitchedOnOnceForLanguagesThatNeedIt) {
  const std::string f = dir.Write("c.ini", "\xFF\xFE");
  MainSettings m;
  EXPECT_FALSE(ApplyUnicodeSupportDefault(m, 9, f));
  EXPECT_TRUE(ApplyUnicodeSupportDefault(m, 17, f));
  EXPECT_TRUE(m.options.UnicodeSupport);
  EXPECT_EQ(ProfileGetItemWide("DupVerz", "UnicodeSupport", "", f), "1");
  ProfilePutItemWide("DupVerz", "UnicodeSupport", "0", f);
  MainSettings again;
  EXPECT_FALSE(ApplyUnicodeSupportDefault(again, 17, f)) << "the user's choice stands";
  EXPECT_TRUE(UnicodeSupportByDefault(70) && UnicodeSupportByDefault(140) && !UnicodeSupportByDefault(7));
}

TEST_F(OptionsTest, WindowSectionsReadWithTheirDefaultsAndWriteBack) {
  const std::string f = dir.Write("c.ini", "\xFF\xFE");
  EXPECT_EQ(ReadSetting("Aktionen", "IgnoreGroupsAllFilesSelected", f), "1") << "a new settings file protects groups";
  EXPECT_EQ(ReadSetting("update", "proxyport", f), "3128");
  EXPECT_EQ(ReadSetting("Aktionen", "CreateSubfolderText", f), "\"%USERNAME%\\\"YYYY-MM-DD HH-NN-SS");

  ProfilePutItemWide("Aktionen", "IgnoreGroupsAllFilesSelected", "0", f);
  ProfilePutItemWide("WindowPos", "frmMain_Left", "12", f);
  ProfilePutItemWide("Shortcuts", "ID0", "cmdStart", f);
  WindowSettings w = LoadWindowSettings(f);
  EXPECT_EQ(w.Get("Aktionen", "IgnoreGroupsAllFilesSelected"), "0");
  EXPECT_EQ(w.Get("windowpos", "FRMMAIN_LEFT"), "12");
  EXPECT_EQ(w.Get("Shortcuts", "ID0"), "cmdStart");
  EXPECT_EQ(w.Get("Optionen", "FontName"), "Segoe UI");
  EXPECT_EQ(w.Get("Nowhere", "Nothing"), "");

  w.Set("WindowPos", "frmMain_Top", "34");
  w.Set("ExportList", "Delimiter", " ; ");
  ASSERT_EQ(SaveWindowSettings(w, f), "");
  EXPECT_EQ(ProfileGetItemWide("WindowPos", "frmMain_Top", "", f), "34");
  EXPECT_EQ(ProfileGetItemWide("ExportList", "Delimiter", "", f), " ; ");
  EXPECT_EQ(ProfileGetItemWide("Aktionen", "IgnoreGroupsAllFilesSelected", "", f), "0");
}

}  // namespace
}  // namespace twinex
