// A file the result names twice, or shares with a kept file, is never what an action destroys.
#include <unistd.h>

#include "action_fixture.h"
#include "actions/single_file_actions.h"

namespace twinex::test {
namespace {

struct KeepCheck : ActionFixture {
  ScopedDataHome home{dir.MakeDir("data")};

  // One file under two paths: "src/a.txt" and "alias/a.txt", alias being a link to src.
  // With bothSelected the first row is the link source of the group.
  int SameEntryTwice(bool bothSelected = false) {
    int g = Group("twice");
    Add(g, "src/a.txt", "only copy", bothSelected);
    EXPECT_EQ(::symlink((dir / "src").c_str(), (dir / "alias").c_str()), 0);
    AddExisting(g, dir / "alias/a.txt", true);
    return g;
  }

  // A row for a file that is already there (a second path or name of it).
  void AddExisting(int g, const std::string& path, bool selected) {
    platform::FileInfo info;
    ASSERT_EQ(platform::GetFileInfo(path, info), "");
    ResultFile f;
    f.dupname = platform::FileNameOf(path);
    f.path = platform::ParentFolder(path);
    f.size = info.size;
    f.dateVal = info.modified;
    f.device = info.device;
    f.inode = info.inode;
    f.qnr = 1;
    tree.AddFile(G(g), f);
    if (selected) tree.SetSelected(G(g), G(g).files.back(), true);
  }
};

TEST_F(KeepCheck, NoActionRemovesTheKeptFileThroughASecondPath) {
  struct Case {
    FileAction action;
    bool symlink;
  };
  for (Case c : {Case{FileAction::Delete, false}, Case{FileAction::Trash, false}, Case{FileAction::Move, false},
                 Case{FileAction::Delete, true}, Case{FileAction::Rename, false}}) {
    SCOPED_TRACE(static_cast<int>(c.action));
    tree = ResultTree{};
    ::unlink((dir / "alias").c_str());
    SameEntryTwice(c.symlink);
    FileManagerRequest r = Request(c.action);
    r.settings.Ordner = dir.MakeDir("backup");
    r.settings.Ordnerstruktur = false;
    r.settings.OptionShortcut = c.symlink;
    r.settings.OptionHardlink = false;
    r.settings.IgnoreGroupsAllFilesSelected = false;
    FileManagerOutcome out = Run(r);
    EXPECT_EQ(ReadFile(dir / "src/a.txt"), "only copy");
    EXPECT_EQ(out.counters.errors, 1u);
    EXPECT_TRUE(observer.HasPart("ist dieselbe Datei wie '" + (dir / "src/a.txt") + "'"));
  }
}

TEST_F(KeepCheck, OneNameOfAGenuineHardLinkMayGoButItsDataNeverChanges) {
  int g = Group("h");
  std::string kept = Add(g, "k.txt", "shared", false);
  ASSERT_EQ(::link(kept.c_str(), (dir / "v.txt").c_str()), 0);
  AddExisting(g, dir / "v.txt", true);
  FileManagerRequest del = Request(FileAction::Delete);
  EXPECT_EQ(Run(del).counters.deleted, 1u);
  EXPECT_FALSE(Exists(dir / "v.txt"));
  EXPECT_EQ(ReadFile(kept), "shared");

  // Renamed and emptied: the rename stands, the shared bytes stay.
  tree = ResultTree{};
  g = Group("z");
  kept = Add(g, "z/k.txt", "shared", false);
  ASSERT_EQ(::link(kept.c_str(), (dir / "z/v.txt").c_str()), 0);
  AddExisting(g, dir / "z/v.txt", true);
  FileManagerRequest zero = Request(FileAction::Rename);
  zero.settings.SetFileSizeToZero = true;
  FileManagerOutcome out = Run(zero);
  EXPECT_EQ(out.counters.renamed, 1u);
  EXPECT_EQ(out.counters.errors, 1u);
  EXPECT_EQ(ReadFile(kept), "shared");
  EXPECT_TRUE(observer.HasPart("ist ein Hardlink der Datei '" + kept + "'"));

  // A second name outside the result is just as shared.
  tree = ResultTree{};
  g = Group("o");
  Add(g, "o/k.txt", "other", false);
  std::string v = Add(g, "o/v.txt", "other", true);
  ASSERT_EQ(::link(v.c_str(), (dir / "elsewhere.txt").c_str()), 0);
  EXPECT_EQ(Run(zero).counters.errors, 1u);
  EXPECT_EQ(ReadFile(dir / "elsewhere.txt"), "other");
}

TEST_F(KeepCheck, NoFileBecomesALinkToItself) {
  int g = Group("l");
  std::string source = Add(g, "s.txt", "data", true);
  ASSERT_EQ(::link(source.c_str(), (dir / "h.txt").c_str()), 0);
  AddExisting(g, dir / "h.txt", true);
  for (bool hard : {true, false}) {
    FileManagerRequest r = Request(FileAction::Delete);
    r.settings.OptionHardlink = hard;
    r.settings.OptionShortcut = !hard;
    FileManagerOutcome out = Run(r);
    EXPECT_EQ(out.counters.hardlinks + out.counters.shortcuts, 0u);
    EXPECT_EQ(ReadFile(source), "data");
    EXPECT_EQ(ReadFile(dir / "h.txt"), "data");
  }
}

TEST_F(KeepCheck, RenameNeverReplacesAKeptFile) {
  int g = Group("r");
  std::string kept = Add(g, "k.txt", "same", false);
  std::string victim = Add(g, "f.txt", "same", true);
  int other = Group("other");
  std::string otherKept = Add(other, "o.txt", "else", false);
  Add(other, "o2.txt", "else", true);
  FileManagerRequest r = Request(FileAction::Rename);
  r.settings.ReplaceFileWithSameName = true;
  r.settings.Rename = "k.txt";
  FileManagerOutcome out = Run(r);
  EXPECT_EQ(out.counters.renamed, 0u);
  EXPECT_TRUE(Exists(victim));
  EXPECT_EQ(ReadFile(kept), "same");
  r.settings.Rename = "o.txt";
  Run(r);
  EXPECT_EQ(ReadFile(otherKept), "else");
  EXPECT_TRUE(observer.HasPart("Unter diesem Namen liegt eine Datei des Suchergebnisses"));
}

TEST_F(KeepCheck, SingleFileActionsAskTheSameQuestion) {
  int g = SameEntryTwice();
  SingleFileRequest r;
  EXPECT_EQ(File_Delete(tree, r, observer, prompt).done, 0u);
  EXPECT_EQ(ReadFile(dir / "src/a.txt"), "only copy");
  // Keeping the alias row and deleting "the others" would delete the kept file itself.
  prompt.answers = {PromptAnswer::Yes};
  EXPECT_EQ(Delete_AllOtherFilesFromGroup(tree, g, 1, r, observer, prompt).done, 0u);
  EXPECT_EQ(ReadFile(dir / "src/a.txt"), "only copy");
  EXPECT_EQ(File_Moving(tree, {{g, 1}}, dir.MakeDir("moved"), r, observer, prompt).done, 0u);
  EXPECT_EQ(ReadFile(dir / "src/a.txt"), "only copy");
}

}  // namespace
}  // namespace twinex::test
