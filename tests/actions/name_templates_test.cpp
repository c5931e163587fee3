// Names the file manager makes, and its stored choices.
#include <gtest/gtest.h>

#include "actions/action_settings.h"
#include "actions/name_templates.h"
#include "platform/date_time.h"
#include "platform/ini_file.h"
#include "support/temp_dir.h"

namespace twinex::test {
namespace {

RenameContext ContextFor(const std::string& fileName) {
  ResultTree tree;
  ResultGroup& g = tree.AddGroup("Foto: 1/2");
  ResultFile first;
  first.dupname = "erste.jpg";
  first.path = "/data/Urlaub";
  tree.AddFile(g, first);
  ResultFile f;
  f.dupname = fileName;
  f.path = "/data/Urlaub";
  f.dateVal = platform::MakeDate(2024, 3, 9, 14, 5, 7);
  tree.AddFile(g, f);
  tree.display.dateFormat = "dd/mm/yyyy hh:nn:ss";
  return MakeRenameContext(tree, g, g.files.back(), platform::MakeDate(2025, 1, 2, 3, 4, 5));
}

TEST(RenameTemplate, PlaceholdersWithAndWithoutExtension) {
  EXPECT_EQ(ExpandRenameTemplate("DUPLIKAT %NAME%%EXT%", ContextFor("foto.jpg")), "DUPLIKAT foto.jpg");
  EXPECT_EQ(ExpandRenameTemplate("DUPLIKAT %NAME%%EXT%", ContextFor("README")), "DUPLIKAT README");
  // Case does not matter; unknown words and lone signs stay as they are.
  EXPECT_EQ(ExpandRenameTemplate("%name%_%Folder%_%FNAME%_%LNAME%%ext%", ContextFor("b.jpg")), "b_Urlaub_erste_b.jpg");
  EXPECT_EQ(ExpandRenameTemplate("100% %X% %NAME%", ContextFor("a.txt")), "100% %X% a");
  EXPECT_EQ(ExpandRenameTemplate("%YYYY%-%MM%-%DD% %HH%%NN%%SS% %YY%", ContextFor("a.txt")), "2025-01-02 030405 25");
  // Captions and date texts lose the characters a name cannot hold.
  EXPECT_EQ(ExpandRenameTemplate("%GNAME% %MDATE%", ContextFor("a.txt")), "Foto_ 1_2 09_03_2024 14_05_07");
  // A value is never read as a placeholder again.
  EXPECT_EQ(ExpandRenameTemplate("%NAME%", ContextFor("%EXT%.txt")), "%EXT%");
  EXPECT_FALSE(IsPlainFileName("a/b"));
  EXPECT_FALSE(IsPlainFileName(".."));
  EXPECT_TRUE(IsPlainFileName("DUPLIKAT README"));
}

TEST(SubfolderName, DefaultTemplateGivesUserThenDate) {
  auto env = [](const std::string& name) -> std::optional<std::string> {
    if (name == "USERNAME") return std::string("anna");
    return std::nullopt;
  };
  const double now = platform::MakeDate(2024, 12, 31, 23, 58, 7);
  EXPECT_EQ(SubfolderName("\"%USERNAME%\\\"YYYY-MM-DD HH-NN-SS", now, env), "anna/2024-12-31 23-58-07");
  // "\" makes the next character literal; unknown variables stay; no part climbs out.
  EXPECT_EQ(SubfolderName("\\Y\\Y \"%NOPE%\"", now, env), "YY %NOPE%");
  EXPECT_EQ(SubfolderName("\"..\\..\\etc\"", now, env), "etc");
  EXPECT_EQ(TargetFolderFor("/backup/", "/home/a", true), "/backup/home/a");
  EXPECT_EQ(TargetFolderFor("/backup", "/home/a", false), "/backup");
}

TEST(NumberedName, ExistingTargetMovesToFirstFreeNumber) {
  EXPECT_EQ(NumberedName("a.txt", 1), "a-001.txt");
  EXPECT_EQ(NumberedName("README", 12), "README-012");
  TempDir t;
  t.Write("a.txt", "old");
  t.Write("a-001.txt", "older");
  std::string movedTo;
  EXPECT_EQ(MoveExistingAside(t.path(), "a.txt", &movedTo), "");
  EXPECT_EQ(movedTo, t / "a-002.txt");
  EXPECT_EQ(ReadFile(t / "a-002.txt"), "old");
  EXPECT_EQ(ReadFile(t / "a-001.txt"), "older");
}

TEST(FileManagerSettings, NewFileDefaultsAndRoundTrip) {
  TempDir t;
  const std::string file = t / "config4.ini";
  FileManagerSettings def = LoadFileManagerSettings(file);
  EXPECT_TRUE(def.IgnoreGroupsAllFilesSelected);
  EXPECT_TRUE(def.SecureHint);
  EXPECT_EQ(def.CreateSubfolderText, "\"%USERNAME%\\\"YYYY-MM-DD HH-NN-SS");

  FileManagerSettings s;
  s.Aktion = FileAction::Rename;
  s.IgnoreGroupsAllFilesSelected = false;
  s.Ordner = "/mnt/backup";
  s.Rename = "\"quoted\" %NAME%";
  s.OptionHardlink = true;
  ASSERT_EQ(SaveFileManagerSettings(s, file), "");
  EXPECT_EQ(LoadFileManagerSettings(file), s);
  // A value out of range reads as the default.
  ASSERT_EQ(platform::IniWrite(file, "Aktionen", "Aktion", "9"), "");
  EXPECT_EQ(LoadFileManagerSettings(file).Aktion, FileAction::Delete);
}

}  // namespace
}  // namespace twinex::test
