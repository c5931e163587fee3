// The selection state: undo, editing modes, group filter and check-box clicks.
#include "results/selection.h"

#include <gtest/gtest.h>

#include "results/removal_commands.h"
#include "results/selection_tools.h"
#include "select_fixture.h"

namespace twinex {
namespace {

using test::BuildTree;
using test::ExpectCountersExact;
using test::States;

ResultTree Mixed() {
  return BuildTree({
      {{"a1", "/d", 10, 45000, true}, {"a2", "/d", 20, 45001}, {"a3", "/d", 40, 45002, true}},
      {{"b1", "/d", 1, 45000}, {"b2", "/d", 2, 45000}},
      {{"c1", "/d", 5, 45000, true}, {"c2", "/d", 7, 45000, true}},
  });
}

TEST(SelectionUndo, RestoresStatesAndCountersExactlyActionByAction) {
  ResultTree t = Mixed();
  Selection s(t);
  const std::string start = States(t);
  const ResultCounters before = t.counters;

  RunSelectTool(s, SelectToolId::DeselectAll);
  const std::string afterDeselect = States(t);
  EXPECT_EQ(afterDeselect, "[000][00][00]");
  Select_AllButNotTheNewestOldest(s, true);
  EXPECT_EQ(States(t), "[110][01][01]");
  ASSERT_EQ(s.undo().Count(), 2u);
  EXPECT_EQ(s.undo().Caption(),
            "Rückgängig:\r\nAlle Dateien auswählen außer der neusten Datei in jeder Gruppe");
  EXPECT_EQ(s.undo().MenuEntries()[0], "1. Alle Dateien abwählen");

  EXPECT_EQ(s.Undo(), 4u);
  EXPECT_EQ(States(t), afterDeselect);
  ExpectCountersExact(t);
  EXPECT_EQ(s.Undo(), 4u);
  EXPECT_EQ(States(t), start);
  EXPECT_EQ(t.counters.DupCountSelected, before.DupCountSelected);
  EXPECT_EQ(t.counters.FilesizeSelected, before.FilesizeSelected);
  ExpectCountersExact(t);

  bool undone = true;
  EXPECT_EQ(s.Undo(&undone), 0u);
  EXPECT_FALSE(undone);
  EXPECT_EQ(s.undo().Caption(), "");
}

TEST(SelectionUndo, KeepsTheFirstStateOfARowAndDropsActionsThatChangedNothing) {
  ResultTree t = Mixed();
  Selection s(t);
  ResultGroup& b = t.groups[1];
  s.UNDO_record_Init("flip");
  s.File_Select(b, 0, true);
  s.File_Select(b, 0, false);
  s.File_Select(b, 0, true);
  s.UNDO_record_end();
  s.Undo();
  EXPECT_FALSE(b.files[0].selected);
  ExpectCountersExact(t);

  // "Alle Dateien abwählen" on a result without selection changes nothing and leaves no action.
  ResultTree empty = BuildTree({{{"x"}, {"y"}}});
  Selection e(empty);
  RunSelectTool(e, SelectToolId::DeselectAll);
  EXPECT_EQ(e.undo().Count(), 0u);
  // Outside an action nothing is recorded.
  e.File_Select(empty.groups[0], 0, true);
  EXPECT_EQ(e.undo().Count(), 0u);
}

TEST(SelectionUndo, FindsRowsAfterSortingAndIsEmptiedByRemovals) {
  ResultTree t = BuildTree({{{"b", "/d", 1}, {"a", "/d", 2}, {"c", "/d", 3}}});
  Selection s(t);
  Select_AllButNotTheSmallestBiggest(s, true);  // keeps "b"
  t.SortFiles("dupname");
  ASSERT_EQ(t.groups[0].files[0].dupname, "a");
  s.Undo();
  EXPECT_EQ(States(t), "[000]");
  ExpectCountersExact(t);

  Select_AllButNotTheSmallestBiggest(s, true);
  ASSERT_EQ(s.undo().Count(), 1u);
  // A removal that takes nothing keeps the list; one that takes rows empties it.
  RemoveGroup_WithXfiles(t, 7);
  EXPECT_EQ(s.undo().Count(), 1u);
  Report_RemoveSelectedFiles(t);
  EXPECT_EQ(s.undo().Count(), 0u);
  EXPECT_FALSE(s.undo().Recording());
}

TEST(SelectionModes, EachModeAndTheGroupFilterAdmitTheirGroups) {
  // Groups: none selected (expanded, marked), all selected, some selected.
  ResultTree t = BuildTree({
      {{"n1"}, {"n2"}},
      {{"a1", "/d", 1, 0, true}, {"a2", "/d", 1, 0, true}},
      {{"s1", "/d", 1, 0, true}, {"s2"}},
  });
  t.groups[0].expanded = true;
  Selection s(t);
  s.markedGroups.insert(t.groups[0].id);
  const char* expected[kEditingModeCount] = {"111", "100", "011", "100", "010", "001", "100", "011"};
  for (int mode = 0; mode < kEditingModeCount; ++mode) {
    s.editingMode = mode;
    std::string admitted;
    for (const ResultGroup& g : t.groups) admitted += s.ChangeThisGroup(g) ? "1" : "0";
    EXPECT_EQ(admitted, expected[mode]) << EditingModeName(mode);
  }
  s.editingMode = kModeAllGroups;
  s.groupFilter.showAllSelected = false;
  EXPECT_FALSE(s.ChangeThisGroup(t.groups[1]));
  EXPECT_TRUE(s.ChangeThisGroup(t.groups[2]));
}

TEST(SelectionModes, ToolsLeaveGroupsOutsideTheModeUntouched) {
  ResultTree t = BuildTree({
      {{"n1"}, {"n2"}},
      {{"a1", "/d", 1, 0, true}, {"a2", "/d", 1, 0, true}},
      {{"s1", "/d", 1, 0, true}, {"s2"}},
  });
  t.groups[2].expanded = true;
  Selection s(t);
  s.editingMode = kModeCollapsedGroups;
  Select_Invert_Selection_All_Groups(s);
  EXPECT_EQ(States(t), "[11][00][10]");
  s.editingMode = kModeNoneSelected;  // judged before the tool changes the group
  Select_AllButNotTheFirst(s);
  EXPECT_EQ(States(t), "[11][01][10]");
  ExpectCountersExact(t);
}

TEST(SelectionCheckbox, GroupClicksSelectAllThenNoneAndEachClickCanBeUndone) {
  ResultTree t = BuildTree({{{"a", "/d", 1, 0, true}, {"b"}, {"c"}}});
  Selection s(t);
  const int id = t.groups[0].id;
  EXPECT_EQ(s.Report_ChangeCheckboxStatus(id), 2u);
  EXPECT_EQ(States(t), "[111]");
  EXPECT_EQ(s.Report_ChangeCheckboxStatus(id), 3u);
  EXPECT_EQ(States(t), "[000]");
  const std::size_t second = 1;
  EXPECT_EQ(s.Report_ChangeCheckboxStatus(id, &second), 1u);
  EXPECT_EQ(States(t), "[010]");
  EXPECT_EQ(s.undo().Count(), 3u);
  EXPECT_EQ(s.undo().At(2).name, "Datei auswählen/abwählen");
  s.Undo();
  s.Undo();
  EXPECT_EQ(States(t), "[111]");
  ExpectCountersExact(t);
  const std::size_t beyond = 9;
  EXPECT_EQ(s.Report_ChangeCheckboxStatus(id, &beyond), 0u);
}

}  // namespace
}  // namespace twinex
