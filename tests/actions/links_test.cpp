// Hard links and shortcuts taking the place of processed files, and the trash.
#include <sys/stat.h>
#include <unistd.h>

#include <regex>

#include "action_fixture.h"

namespace twinex::test {
namespace {

using Links = ActionFixture;

TEST_F(Links, DeletedFileBecomesAHardLinkToTheSource) {
  int g = Group("h");
  std::string keep = Add(g, "k.txt", "content", false);
  std::string source = Add(g, "a/s.txt", "content", true);
  std::string linked = Add(g, "b/l.txt", "content", true);
  FileManagerRequest r = Request(FileAction::Delete);
  r.settings.OptionHardlink = true;
  r.settings.DateienEntfernen = false;
  FileManagerOutcome out = Run(r);
  EXPECT_EQ(out.counters.hardlinks, 1u);
  EXPECT_EQ(out.counters.deleted, 1u);
  EXPECT_EQ(Inode(linked), Inode(source));
  EXPECT_NE(Inode(keep), Inode(source));
  EXPECT_EQ(ReadFile(linked), "content");
  EXPECT_TRUE(observer.Has("Quelldatei für Hardlinks in der Gruppe 'h': " + source));
  EXPECT_TRUE(observer.Has("HARDLINK: " + linked));
  // No temporary names are left beside the file.
  std::vector<std::string> names;
  platform::ListFolder(dir / "b", [&](const platform::FileInfo& e) { names.push_back(e.name); return true; });
  EXPECT_EQ(names, std::vector<std::string>{"l.txt"});
  // The rows show the new link count of source and link.
  EXPECT_EQ(G(g).files[1].hardlinks, 2u);
  EXPECT_EQ(G(g).files[2].hardlinks, 2u);
  EXPECT_EQ(G(g).files[2].HardlinkID(), G(g).files[1].HardlinkID());
}

TEST_F(Links, LinkLimitMovesOnToTheNextSource) {
  int g = Group("lim");
  Add(g, "k.txt", "x", false);
  std::vector<std::string> f;
  for (int i = 0; i < 5; ++i) f.push_back(Add(g, "f" + std::to_string(i) + ".txt", "x", true));
  FileManagerRequest r = Request(FileAction::Delete);
  r.settings.OptionHardlink = true;
  r.hardLinkLimit = 3;  // stands in for 1024
  FileManagerOutcome out = Run(r);
  // f0 takes f1 and f2 (3 names); at f3 the limit is reached and f4 becomes the new source.
  EXPECT_EQ(Inode(f[1]), Inode(f[0]));
  EXPECT_EQ(Inode(f[2]), Inode(f[0]));
  EXPECT_EQ(Inode(f[3]), Inode(f[4]));
  EXPECT_NE(Inode(f[3]), Inode(f[0]));
  EXPECT_EQ(out.counters.hardlinks, 3u);
  EXPECT_TRUE(observer.Has("Die maximale Anzahl von 1024 Hardlinks bei der Datei '" + f[0] + "' wurde erreicht."));
  EXPECT_TRUE(observer.Has("Neue Quelldatei für Hardlinks in der Gruppe 'lim': " + f[4]));
}

TEST_F(Links, LimitWithoutAnotherSourceLeavesTheRestAlone) {
  int g = Group("end");
  Add(g, "k.txt", "x", false);
  std::string s = Add(g, "s.txt", "x", true);
  std::string a = Add(g, "a.txt", "x", true);
  std::string b = Add(g, "b.txt", "x", true);
  FileManagerRequest r = Request(FileAction::Delete);
  r.settings.OptionHardlink = true;
  r.hardLinkLimit = 2;
  FileManagerOutcome out = Run(r);
  EXPECT_EQ(Inode(a), Inode(s));
  EXPECT_NE(Inode(b), Inode(s));
  EXPECT_EQ(ReadFile(b), "x");
  EXPECT_EQ(out.counters.skipped, 1u);
  EXPECT_TRUE(observer.Has(
      "Es konnte keine weitere Quelldatei zum Erstellen von Hardlinks in der Gruppe 'end' ermittelt werden."));
}

TEST_F(Links, OneSelectedFileGivesNoLinks) {
  int g = Group("one");
  Add(g, "k.txt", "x", false);
  std::string only = Add(g, "o.txt", "x", true);
  FileManagerRequest r = Request(FileAction::Delete);
  r.settings.OptionHardlink = true;
  FileManagerOutcome out = Run(r);
  EXPECT_TRUE(Exists(only));
  EXPECT_EQ(out.counters.deleted, 0u);
  EXPECT_TRUE(observer.Has("Es müssen mindestens 2 Dateien in der Gruppe 'one' ausgewählt sein."));
}

TEST_F(Links, MovedFileLeavesASymbolicLinkToTheSource) {
  int g = Group("sym");
  Add(g, "k.txt", "data", false);
  std::string source = Add(g, "s.txt", "data", true);
  std::string moved = Add(g, "sub/m.txt", "data", true);
  FileManagerRequest r = Request(FileAction::Move);
  r.settings.OptionShortcut = true;
  r.settings.Ordner = dir.MakeDir("backup");
  r.settings.Ordnerstruktur = false;
  FileManagerOutcome out = Run(r);
  EXPECT_EQ(out.counters.shortcuts, 1u);
  EXPECT_EQ(ReadFile(dir / "backup/m.txt"), "data");
  char buf[4096] = {};
  ASSERT_GT(::readlink(moved.c_str(), buf, sizeof buf - 1), 0);
  EXPECT_EQ(std::string(buf), source);
  EXPECT_TRUE(observer.Has("VERKNÜPFUNG: '" + moved + "' auf '" + source + "'"));
}

TEST_F(Links, TrashGoesToTheTestTrashWithItsNote) {
  ScopedDataHome home(dir / "data");
  int g = Group("t");
  Add(g, "k.txt", "t", false);
  std::string first = Add(g, "one/foto.jpg", "t", true);
  std::string second = Add(g, "two/foto.jpg", "t", true);
  FileManagerOutcome out = Run(Request(FileAction::Trash));
  EXPECT_EQ(out.counters.trashed, 2u);
  EXPECT_FALSE(Exists(first) || Exists(second));
  const std::string trash = dir / "data/Trash";
  EXPECT_EQ(ReadFile(trash + "/files/foto.jpg"), "t");
  EXPECT_EQ(ReadFile(trash + "/files/foto.2.jpg"), "t");
  const std::string info = ReadFile(trash + "/info/foto.jpg.trashinfo");
  EXPECT_TRUE(std::regex_match(info, std::regex("\\[Trash Info\\]\nPath=" + first +
                                                "\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n")))
      << info;
  EXPECT_TRUE(observer.Has("PAPIERKORB: " + first));
}

TEST_F(Links, TrashedFileReplacedByHardLinkKeepsItsBytesInTheTrash) {
  ScopedDataHome home(dir / "data");
  int g = Group("th");
  Add(g, "k.txt", "same", false);
  std::string source = Add(g, "s.txt", "same", true);
  std::string trashed = Add(g, "x.txt", "same", true);
  FileManagerRequest r = Request(FileAction::Trash);
  r.settings.OptionHardlink = true;
  FileManagerOutcome out = Run(r);
  EXPECT_EQ(out.counters.trashed, 1u);
  EXPECT_EQ(Inode(trashed), Inode(source));
  EXPECT_EQ(ReadFile(dir / "data/Trash/files/x.txt"), "same");
  EXPECT_NE(Inode(dir / "data/Trash/files/x.txt"), Inode(source));
}

}  // namespace
}  // namespace twinex::test
