#include "results/removal_commands.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace twinex {
namespace {

struct Row {
  const char* name;
  const char* path;
  int qnr;
  std::uint32_t hardlinks;
  const char* hardlinkID;
  int archiv;
  bool selected;
};

ResultTree Build(std::initializer_list<std::initializer_list<Row>> groups) {
  ResultTree t;
  int n = 0;
  for (const auto& rows : groups) {
    ResultGroup& g = t.AddGroup("g" + std::to_string(++n));
    for (const Row& r : rows) {
      ResultFile f;
      f.dupname = r.name;
      f.path = r.path;
      f.size = 100;
      f.qnr = r.qnr;
      f.hardlinks = r.hardlinks;
      f.SetHardlinkID(r.hardlinkID);
      f.archiv = r.archiv;
      f.selected = r.selected;
      t.AddFile(g, f);
    }
  }
  return t;
}

std::string Names(const ResultTree& t) {
  std::string s;
  for (const ResultGroup& g : t.groups) {
    s += "[";
    for (const ResultFile& f : g.files) s += f.dupname;
    s += "]";
  }
  return s;
}

// Group 1: plain files from sources 1 and 2; group 2: hard links of one file, source 1 only;
// group 3: archive members, one hard link; group 4: three files, all selected.
ResultTree Sample() {
  return Build({
      {{"a", "/s1/x", 1, 0, "-", 0, true}, {"b", "/s2/x", 2, 0, "-", 0, false}},
      {{"c", "/s1/y", 1, 2, "5-7", 0, false}, {"d", "/s1/y/z", 1, 2, "5-7", 0, false}},
      {{"e", "/s1/p.zip", 1, 0, "-", 3, false}, {"f", "/s2/q.zip", 2, 2, "9-9", 3, false}},
      {{"g", "/s2", 2, 0, "-", 0, true}, {"h", "/s2", 2, 0, "-", 0, true}, {"i", "/s1/xy", 1, 0, "-", 0, true}},
  });
}

TEST(RemovalCommands, FileRulesKeepOneFileGroupsAndDropEmptiedOnes) {
  ResultTree t = Sample();
  EXPECT_EQ(Report_RemoveSelectedFiles(t), 4u);
  EXPECT_EQ(Names(t), "[b][cd][ef]");
  EXPECT_EQ(t.counters.DupCountSelected, 0);
  EXPECT_EQ(t.counters.DupCount, 5);
  EXPECT_EQ(t.counters.FilesizeAll, 500u);

  t = Sample();
  EXPECT_EQ(Remove_Hardlinks(t), 3u);
  EXPECT_EQ(Names(t), "[ab][e][ghi]");

  t = Sample();
  EXPECT_EQ(File_RemoveFromReport(t, 2, 1), 1u);
  EXPECT_EQ(File_RemoveFromReport(t, 2, 0), 1u);  // the group's last file takes the group along
  EXPECT_EQ(File_RemoveFromReport(t, 42, 0), 0u);
  EXPECT_EQ(Names(t), "[ab][ef][ghi]");

  t = Sample();
  EXPECT_EQ(RemoveMarkedFiles(t, {{1, 0}, {4, 2}, {4, 9}}), 2u);
  EXPECT_EQ(Names(t), "[b][cd][ef][gh]");
}

TEST(RemovalCommands, FolderRuleMatchesTheFolderAndBelowOnly) {
  ResultTree t = Sample();
  EXPECT_EQ(File_RemoveFromSameFolder(t, "/s1/x/"), 1u);  // "/s1/xy" is not below "/s1/x"
  EXPECT_EQ(Names(t), "[b][cd][ef][ghi]");
  EXPECT_EQ(File_RemoveFromSameFolder(t, "/s1/y"), 2u);
  EXPECT_EQ(Names(t), "[b][ef][ghi]");
  EXPECT_EQ(File_RemoveFromSameFolder(t, ""), 0u);
  EXPECT_EQ(File_RemoveFromSameFolder(t, "/"), 6u);
  EXPECT_TRUE(t.groups.empty());
  EXPECT_EQ(t.counters.DupCount, 0);
  EXPECT_EQ(t.counters.FilesizeAll, 0u);
}

TEST(RemovalCommands, GroupRules) {
  ResultTree t = Sample();
  EXPECT_EQ(RemoveGroup_IfHardlinkOnly(t), 2u);
  EXPECT_EQ(Names(t), "[ab][ef][ghi]");

  // Files with a single link all read "-": that is no shared identity.
  t = Build({{{"a", "/", 1, 0, "-", 0, false}, {"b", "/", 1, 0, "-", 0, false}},
             {{"c", "/", 1, 2, "1-2", 0, false}, {"d", "/", 1, 2, "1-2", 0, false}},
             {{"e", "/", 1, 2, "1-2", 0, false}, {"f", "/", 1, 2, "1-3", 0, false}}});
  EXPECT_EQ(RemoveGroup_ContainOnlyHardlinkWithSameID(t), 2u);
  EXPECT_EQ(Names(t), "[ab][ef]");

  t = Sample();
  EXPECT_EQ(RemoveGroup_WithAllFilesFromArchives(t), 2u);
  EXPECT_EQ(Names(t), "[ab][cd][ghi]");

  t = Sample();
  EXPECT_EQ(RemoveGroup_WithAllFilesSelected(t), 3u);
  EXPECT_EQ(RemoveGroup_WithSomeFilesSelected(t), 2u);
  EXPECT_EQ(Names(t), "[cd][ef]");
  EXPECT_EQ(t.counters.DupCountSelected, 0);

  t = Sample();
  EXPECT_EQ(RemoveGroup_WithXfiles(t, 3), 3u);
  EXPECT_EQ(RemoveGroup_WithXfiles(t, 5), 0u);
  EXPECT_EQ(Names(t), "[ab][cd][ef]");

  t = Sample();
  EXPECT_EQ(RemoveMarkedGroupAndFiles(t, {3, 1}), 4u);
  EXPECT_EQ(Names(t), "[cd][ghi]");

  t = Sample();
  EXPECT_EQ(RemoveGroup_DupsNotExistAtAllSourcefolders(t, 1), 0u);
  EXPECT_EQ(RemoveGroup_DupsNotExistAtAllSourcefolders(t, 2), 2u);
  EXPECT_EQ(Names(t), "[ab][ef][ghi]");
  EXPECT_EQ(RemoveGroup_DupsNotExistAtAllSourcefolders(t, 3), 7u);
  EXPECT_TRUE(t.groups.empty());
}

TEST(RemovalCommands, FilesThatNoLongerExist) {
  test::TempDir dir;
  dir.Write("keep.txt", "x");
  dir.Write("arc.zip", "zip");
  ResultTree t;
  ResultGroup& g = t.AddGroup("g");
  ResultFile f;
  f.path = dir.path();
  for (const char* name : {"keep.txt", "gone.txt"}) {
    f.dupname = name;
    t.AddFile(g, f);
  }
  f.archiv = 1;
  f.path = dir / "arc.zip";
  f.dupname = "inner.txt";  // member of an existing archive
  t.AddFile(g, f);
  f.path = dir / "lost.zip";
  t.AddFile(g, f);
  EXPECT_EQ(Remove_FilesNotExist(t), 2u);
  EXPECT_EQ(Names(t), "[keep.txtinner.txt]");
}

}  // namespace
}  // namespace twinex
