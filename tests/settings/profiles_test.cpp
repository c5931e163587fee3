#include "settings/profiles.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "support/temp_dir.h"

namespace twinex {
namespace {

using test::TempDir;

struct RecordingPrompt : Prompt {
  PromptAnswer answer = PromptAnswer::Ok;
  std::vector<std::string> asked;
  PromptAnswer Ask(const PromptMessage& m) override {
    asked.push_back(m.Text());
    return answer;
  }
};

class ProfilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = dir.MakeDir("profile");
    SetSettingsFilePath(dir / "config4.ini");
  }
  void TearDown() override { SetSettingsFilePath(""); }

  TempDir dir;
  std::string folder;
  RecordingPrompt prompt;
};

TEST_F(ProfilesTest, ListShowsProfileFilesWithTheirComments) {
  dir.Write("profile/b.txt", "");
  dir.Write("profile/.pro4", "");
  dir.MakeDir("profile/dir.pro4");
  MainSettings m;
  ASSERT_TRUE(Profil_New(folder, "a", m, prompt));
  ASSERT_TRUE(Profil_New(folder, "Zeta", m, prompt));
  ASSERT_TRUE(Profil_Save_Comment(folder, "a", "  mit Leerzeichen ", prompt));
  EXPECT_EQ(Init_ProfileList(folder), (std::vector<ProfileRow>{{"a", "  mit Leerzeichen "}, {"Zeta", ""}}));
  EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(ProfilesTest, LoadingKeepsOrReplacesTheSourceFoldersAsTheOptionSays) {
  std::string mine = dir.MakeDir("mine"), theirs = dir.MakeDir("theirs");
  MainSettings stored;
  stored.search.SearchMethod = 2;
  Folder_Add_to_List(stored.sources.sources, theirs);
  ASSERT_TRUE(Profil_New(folder, "P", stored, prompt));

  MainSettings keep;
  Folder_Add_to_List(keep.sources.sources, mine);
  ASSERT_TRUE(Profil_Load(folder, "P", keep));
  EXPECT_EQ(keep.search.SearchMethod, 2);
  ASSERT_EQ(keep.sources.sources.size(), 1u);
  EXPECT_EQ(keep.sources.sources[0].path, mine);
  EXPECT_EQ(CurrentProfilePath(), ProfileFilePath(folder, "P"));

  MainSettings replace;
  replace.options.ProfileKeineQuellordner = false;
  Folder_Add_to_List(replace.sources.sources, "/");
  Folder_Add_to_List(replace.sources.sources, mine);
  ASSERT_TRUE(Profil_Load(folder, "P", replace));
  ASSERT_EQ(replace.sources.sources.size(), 2u);
  EXPECT_EQ(replace.sources.sources[0].path, "/") << "the root stays";
  EXPECT_EQ(replace.sources.sources[1].path, theirs);

  // A profile that is gone changes nothing, not even the source folders.
  MainSettings untouched = replace;
  EXPECT_FALSE(Profil_Load(folder, "gone", untouched));
  EXPECT_TRUE(untouched == replace);
}

TEST_F(ProfilesTest, NamesThatAreNoFileNamesAreRefused) {
  MainSettings m;
  for (const std::string& name : {std::string(""), std::string("  "), std::string("."), std::string(".."),
                                  std::string("a/b"), std::string("../x"), std::string("a\0b", 3),
                                  std::string(251, 'x')}) {
    prompt.asked.clear();
    EXPECT_FALSE(Profil_New(folder, name, m, prompt)) << name;
    ASSERT_EQ(prompt.asked.size(), 1u) << name;
  }
  EXPECT_TRUE(Init_ProfileList(folder).empty());
  EXPECT_FALSE(platform::ExistFile(dir / "x.pro4"));
  EXPECT_TRUE(Profil_New(folder, std::string(250, 'x'), m, prompt));
  EXPECT_TRUE(Profil_New(folder, "Fotos: Urlaub 2024 (ä)", m, prompt));
}

TEST_F(ProfilesTest, NewAndRenameNeverReplaceAnotherProfile) {
  MainSettings a, b;
  a.search.SearchMethod = 1;
  b.search.SearchMethod = 3;
  ASSERT_TRUE(Profil_New(folder, "A", a, prompt));
  ASSERT_TRUE(Profil_New(folder, "B", b, prompt));
  EXPECT_FALSE(Profil_New(folder, "A", b, prompt));
  EXPECT_EQ(prompt.asked.back(), "Ein Profil mit dem Namen 'A' ist schon vorhanden!");

  EXPECT_FALSE(Profil_Rename(folder, "A", "B", prompt));
  EXPECT_EQ(prompt.asked.back(), "Ein Profil mit dem Namen 'B' ist schon vorhanden!");
  MainSettings check;
  ASSERT_TRUE(Profil_Load(folder, "B", check));
  EXPECT_EQ(check.search.SearchMethod, 3);

  ASSERT_TRUE(Profil_Load(folder, "A", check));
  EXPECT_TRUE(Profil_Rename(folder, "A", "C", prompt));
  EXPECT_EQ(CurrentProfilePath(), ProfileFilePath(folder, "C")) << "the loaded profile follows its new name";
  EXPECT_EQ(Init_ProfileList(folder), (std::vector<ProfileRow>{{"B", ""}, {"C", ""}}));
  EXPECT_FALSE(Profil_Rename(folder, "C", "../C", prompt));
  EXPECT_FALSE(Profil_Rename(folder, "nope", "D", prompt));
  EXPECT_EQ(prompt.asked.back(), "Das Profil 'nope' ist nicht vorhanden.");
}

TEST_F(ProfilesTest, SaveAndDeleteAskAndTell) {
  MainSettings m;
  ASSERT_TRUE(Profil_New(folder, "P", m, prompt));
  m.search.SearchMethod = 5;
  EXPECT_TRUE(Profil_Save(folder, "P", m, prompt));
  EXPECT_EQ(prompt.asked.back(), "Profil wurde gespeichert.");
  EXPECT_FALSE(Profil_Save(folder, "Q", m, prompt)) << "saving needs the profile";
  EXPECT_FALSE(platform::ExistFile(ProfileFilePath(folder, "Q")));

  prompt.answer = PromptAnswer::Cancel;
  EXPECT_FALSE(Profil_Delete(folder, "P", prompt));
  EXPECT_EQ(prompt.asked.back(), "Profil 'P' löschen?");
  EXPECT_TRUE(platform::ExistFile(ProfileFilePath(folder, "P")));
  prompt.answer = PromptAnswer::Ok;
  EXPECT_TRUE(Profil_Delete(folder, "P", prompt));
  EXPECT_TRUE(Init_ProfileList(folder).empty());
  EXPECT_EQ(CurrentProfilePath(), dir / "config4.ini");
  EXPECT_FALSE(Profil_Save_Comment(folder, "P", "x", prompt)) << "a comment makes no profile";
  EXPECT_FALSE(platform::ExistFile(ProfileFilePath(folder, "P")));
}

}  // namespace
}  // namespace twinex
