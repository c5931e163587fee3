// Entries inside archives: deleted in ZIP and 7z archives with the archiver, refused elsewhere.
#include "action_fixture.h"
#include "actions/archive_entries.h"
#include "platform/process.h"

namespace twinex::test {
namespace {

using ArchiveEntries = ActionFixture;

// Adds a row for an entry of the archive (path = the archive, pathA = the entry).
void AddEntry(ResultTree& tree, int groupId, const std::string& archive, const std::string& entry, int kind) {
  ResultFile f;
  f.dupname = entry.substr(entry.rfind('/') + 1);
  f.path = archive;
  f.SetPathA(entry);
  f.archiv = kind;
  ResultGroup& g = *tree.FindGroup(groupId);
  tree.AddFile(g, f);
  tree.SetSelected(g, g.files.back(), true);
}

bool Lists(const std::string& archive, const std::string& entry) {
  std::string reason, listing;
  platform::RunProgramStatus({"7zz", "l", "-slt", "--", archive}, reason, &listing);
  return listing.find("\nPath = " + entry + "\n") != std::string::npos;
}

TEST_F(ArchiveEntries, DeletesTheEntryFromARealZip) {
  if (platform::FindProgram(kArchiverProgram).empty()) GTEST_SKIP() << "7zz is not installed";
  dir.Write("in/d/a.txt", "a");
  dir.Write("in/-b.txt", "b");
  const std::string zip = dir / "t.zip";
  ASSERT_EQ(platform::RunProgram({"sh", "-c", "cd '" + (dir / "in") + "' && 7zz a -tzip '" + zip + "' d ./-b.txt"}), "");
  int g = Group("a.txt");
  Add(g, "keep/a.txt", "a", false);
  AddEntry(tree, g, zip, "d/a.txt", 1);
  AddEntry(tree, g, zip, "-b.txt", 1);
  AddEntry(tree, g, zip, "not/there.txt", 1);
  FileManagerOutcome out = Run(Request(FileAction::Delete));
  EXPECT_EQ(out.counters.deleted, 2u);
  EXPECT_FALSE(Lists(zip, "d/a.txt"));
  EXPECT_FALSE(Lists(zip, "-b.txt"));
  EXPECT_TRUE(observer.Has("GELÖSCHT (ZIP): " + zip + "/d/a.txt"));
  // An entry the archive does not hold is an error, not a success.
  ASSERT_EQ(observer.errors.size(), 1u);
  EXPECT_NE(observer.errors[0].find("not/there.txt"), std::string::npos);
}

TEST_F(ArchiveEntries, OtherKindsAndOtherActionsAreRefused) {
  int g = Group("x");
  Add(g, "keep/x.txt", "x", false);
  AddEntry(tree, g, dir / "a.rar", "x.txt", 2);
  FileManagerOutcome del = Run(Request(FileAction::Delete));
  EXPECT_EQ(del.counters.skipped, 1u);
  EXPECT_TRUE(observer.Has("HINWEIS: Das Löschen von Dateien in einer Archivdatei des Typs 'RAR' wird nicht "
                           "unterstützt: '" + (dir / "a.rar") + "' -> 'x.txt'"));
  FileManagerOutcome ren = Run(Request(FileAction::Rename));
  EXPECT_EQ(ren.counters.skipped, 1u);
  EXPECT_TRUE(observer.HasPart("HINWEIS: Das Umbenennen von Dateien aus einer Archivdatei wird nicht unterstützt"));
}

TEST_F(ArchiveEntries, MissingArchiverNamesProgramAndPackage) {
  EXPECT_EQ(DeleteArchiveEntry("twinex-no-such-archiver", dir / "a.zip", "x.txt"),
            "Das Programm 'twinex-no-such-archiver' wurde nicht gefunden (Paket '7zip').");
  EXPECT_EQ(ArchiveTypeName(4), "7z");
  EXPECT_EQ(ArchiveTypeName(3), "???");
  EXPECT_TRUE(ArchiveAllowsDelete(4));
  EXPECT_FALSE(ArchiveAllowsDelete(15));
}

}  // namespace
}  // namespace twinex::test
