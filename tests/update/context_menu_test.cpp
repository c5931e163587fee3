// The file managers' context-menu entries, written into temporary XDG folders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/process.h"
#include "support/temp_dir.h"
#include "update/context_menu.h"

namespace twinex::update {
namespace {

constexpr char kTop[] = "Twinex - Duplikate suchen anhand";

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string Read(const std::string& path) {
  std::string text;
  EXPECT_TRUE(platform::ReadWholeFile(path, text)) << path;
  return text;
}

struct ContextMenuFixture : ::testing::Test {
  test::TempDir dir;
  MenuFolders folders{dir / "data", dir / "config"};
  // A stand-in for the program that writes its arguments, one per line; its path has a blank
  // and a quote, which the generated commands must carry through.
  std::string program = dir / "bin dir/it's twinex";
  std::string argsFile = dir / "args.txt";

  void SetUp() override {
    dir.Write("bin dir/it's twinex", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + argsFile + "'\n");
    ::chmod(program.c_str(), 0755);
  }
};

TEST_F(ContextMenuFixture, DefinitionHasEveryEntryWithItsSwitches) {
  const MenuEntry root = ContextMenuDefinition();
  EXPECT_EQ(root.caption, kTop);
  ASSERT_EQ(root.children.size(), 14u);
  EXPECT_EQ(root.children[1].arguments, "-s12");
  EXPECT_EQ(root.children[4].children.back().arguments, "-s4 -c5");
  EXPECT_EQ(root.children[4].children.back().caption, "SHA-2 (512-Bit)");
  EXPECT_EQ(root.children[8].children[7].caption, "Simil");
  EXPECT_EQ(root.children[8].children[7].arguments, "-sc -f7");
  EXPECT_EQ(root.children[11].children.size(), 10u);
  EXPECT_EQ(root.children[11].children[0].arguments, "-s9 -h0");
  EXPECT_EQ(root.children.back().arguments, "");
}

TEST_F(ContextMenuFixture, ScriptsStartTheProgramWithSwitchesAndSelectedFolders) {
  ASSERT_EQ(InstallContextMenus(program, folders), "");
  const std::string script = folders.dataHome + "/nautilus/scripts/" + kTop + "/Dateiinhalt/SHA-1 (160-Bit)";
  struct stat st;
  ASSERT_EQ(::stat(script.c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IXUSR);
  EXPECT_TRUE(platform::ExistFile(folders.dataHome + "/nemo/scripts/" + kTop + "/Hardlinks"));

  // Run it as the file manager does: the selected paths one per line in its variable.
  setenv("NAUTILUS_SCRIPT_SELECTED_FILE_PATHS", "/data/my photos\n/backup/*\n", 1);
  EXPECT_EQ(platform::RunProgram({script}), "");
  unsetenv("NAUTILUS_SCRIPT_SELECTED_FILE_PATHS");
  EXPECT_EQ(Read(argsFile), "-s4\n-c2\n/data/my photos\n/backup/*\n");
}

TEST_F(ContextMenuFixture, DolphinServiceMenuListsEveryEntry) {
  ASSERT_EQ(InstallContextMenus(program, folders), "");
  const std::string menu = Read(folders.dataHome + "/kio/servicemenus/twinex-duplicates.desktop");
  EXPECT_EQ(Count(menu, "[Desktop Action "), 35u);
  EXPECT_NE(menu.find("X-KDE-Submenu=Twinex - Duplikate suchen anhand\n"), std::string::npos);
  EXPECT_NE(menu.find("Name=Ähnliche Bilder: pHash\n"), std::string::npos);
  EXPECT_NE(menu.find("Exec=\"" + dir.path() + "/bin dir/it's twinex\" -sb %F\n"), std::string::npos);
  EXPECT_EQ(DesktopExecQuote("/a$b\\c"), "\"/a\\\\$b\\\\\\\\c\"");
}

TEST_F(ContextMenuFixture, ThunarKeepsTheUsersActionsAndReplacesOurs) {
  const std::string users =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n<action>\n\t<icon>utilities-terminal</icon>\n"
      "\t<name>Open Terminal Here</name>\n\t<unique-id>1600000000-1</unique-id>\n"
      "\t<command>exo-open --working-directory %f</command>\n</action>\n</actions>\n";
  const std::string uca = dir.Write("config/Thunar/uca.xml", users);
  ASSERT_EQ(InstallContextMenus(program, folders), "");
  ASSERT_EQ(InstallContextMenus(program, folders), "");  // again: replaces, never doubles
  const std::string written = Read(uca);
  EXPECT_EQ(Count(written, "<unique-id>twinex-"), 35u);
  EXPECT_EQ(Count(written, "Open Terminal Here"), 1u);
  EXPECT_NE(written.find("<submenu>Twinex - Duplikate suchen anhand/Ähnliche Dateinamen</submenu>"), std::string::npos);
  // The shell's quotes are character references in the file; the file manager reads them back.
  EXPECT_NE(written.find("<command>&#39;" + dir.path() + "/bin dir/it&#39;\\&#39;&#39;s twinex&#39; -s8 %F</command>"),
            std::string::npos);

  ASSERT_EQ(RemoveContextMenus(folders), "");
  EXPECT_EQ(Read(uca), users);
}

TEST_F(ContextMenuFixture, UnreadableUcaFileIsLeftAlone) {
  const std::string broken = "<actions><action><name>half";
  const std::string uca = dir.Write("config/Thunar/uca.xml", broken);
  const std::string errors = InstallContextMenus(program, folders);
  EXPECT_NE(errors.find("Thunar"), std::string::npos);
  EXPECT_EQ(Read(uca), broken);
  // The other file managers got their entries all the same.
  EXPECT_TRUE(platform::ExistFile(folders.dataHome + "/kio/servicemenus/twinex-duplicates.desktop"));
}

TEST_F(ContextMenuFixture, RemovalTakesOnlyWhatTheProgramWrote) {
  const std::string own = dir.Write("data/nautilus/scripts/Mine/convert", "#!/bin/sh\n");
  dir.MakeDir("data/nautilus/scripts/Empty");
  const std::string planted = dir.Write(std::string("data/nautilus/scripts/") + kTop + "/notes.txt", "mine");
  ASSERT_EQ(InstallContextMenus(program, folders), "");
  ASSERT_EQ(RemoveContextMenus(folders), "");
  EXPECT_TRUE(platform::ExistFile(own));
  EXPECT_TRUE(platform::ExistFolder(dir / "data/nautilus/scripts/Empty"));
  EXPECT_TRUE(platform::ExistFile(planted));
  EXPECT_FALSE(platform::ExistFile(std::string(dir / "data/nautilus/scripts/") + kTop + "/Dateiname"));
  EXPECT_FALSE(platform::ExistFolder(std::string(dir / "data/nemo/scripts/") + kTop));
  EXPECT_FALSE(platform::ExistFile(folders.dataHome + "/kio/servicemenus/twinex-duplicates.desktop"));
}

}  // namespace
}  // namespace twinex::update
