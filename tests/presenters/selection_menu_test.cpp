#include "presenters/selection_menu.h"

#include <gtest/gtest.h>

#include <set>

#include "presenters/command_keys.h"
#include "presenters/result_options.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace twinex {
namespace {

const SelectMenuEntry& Entry(SelectToolId id) {
  for (const SelectMenuEntry& e : SelectMenuEntries())
    if (e.tool == id) return e;
  throw std::runtime_error("no menu entry");
}

const RemovalMenuEntry& Entry(RemovalId id) {
  for (const RemovalMenuEntry& e : RemovalMenuEntries())
    if (e.id == id) return e;
  throw std::runtime_error("no menu entry");
}

ResultViewState IdleResult() {
  ResultViewState v;
  v.hasResult = true;
  v.files = 10;
  return v;
}

TEST(SelectionMenu, OffersEveryEngineCommandOnceUnderItsOwnKeyName) {
  std::set<SelectToolId> tools;
  for (const SelectMenuEntry& e : SelectMenuEntries()) EXPECT_TRUE(tools.insert(e.tool).second);
  for (const SelectTool& t : SelectTools()) EXPECT_TRUE(tools.count(t.id)) << t.caption.german;
  std::set<RemovalId> removals;
  for (const RemovalMenuEntry& e : RemovalMenuEntries()) removals.insert(e.id);
  for (const RemovalCommand& c : RemovalCommands()) EXPECT_TRUE(removals.count(c.id)) << c.menuText.german;

  std::set<std::string> names;
  std::map<std::string, std::string> defaults;
  for (const CommandKey& c : ConfigurableCommands()) {
    EXPECT_TRUE(names.insert(c.command).second) << c.command;
    EXPECT_FALSE(c.caption.empty()) << c.command;
    defaults[c.command] = c.defaultKey;
  }
  EXPECT_EQ(KeyClash(defaults), "");
}

TEST(SelectionMenu, NothingRunsWithoutAnIdleFinishedResult) {
  ResultViewState none;
  ResultViewState busy = IdleResult();
  busy.busy = true;
  busy.hasCurrent = busy.currentIsFile = busy.hasMarkedFiles = busy.hasMarkedGroups = true;
  busy.selectedFiles = 3;
  busy.undoActions = 1;
  for (const ResultViewState& v : {none, busy}) {
    for (const SelectMenuEntry& e : SelectMenuEntries()) EXPECT_FALSE(SelectEntryEnabled(e, v));
    for (const RemovalMenuEntry& e : RemovalMenuEntries()) EXPECT_FALSE(RemovalEntryEnabled(e, v));
    EXPECT_FALSE(UndoEnabled(v));
    EXPECT_FALSE(ResultMenusEnabled(v));
  }
}

TEST(SelectionMenu, CommandsOnRowsWaitForTheRowsTheyNeed) {
  ResultViewState v = IdleResult();
  EXPECT_TRUE(SelectEntryEnabled(Entry(SelectToolId::KeepNewest), v));
  EXPECT_TRUE(SelectEntryEnabled(Entry(SelectToolId::SelectInsideFolder), v));  // asks for its folder
  EXPECT_FALSE(SelectEntryEnabled(Entry(SelectToolId::InvertGroup), v));
  EXPECT_FALSE(SelectEntryEnabled(Entry(SelectToolId::SelectSameFolder), v));
  EXPECT_FALSE(SelectEntryEnabled(Entry(SelectToolId::SelectMarked), v));
  EXPECT_FALSE(RemovalEntryEnabled(Entry(RemovalId::File_RemoveFromReport), v));
  EXPECT_FALSE(RemovalEntryEnabled(Entry(RemovalId::RemoveMarkedGroupAndFiles), v));

  v.hasCurrent = true;  // a group row has the focus
  EXPECT_TRUE(SelectEntryEnabled(Entry(SelectToolId::InvertGroup), v));
  EXPECT_TRUE(SelectEntryEnabled(Entry(SelectToolId::ToggleGroup), v));
  EXPECT_FALSE(SelectEntryEnabled(Entry(SelectToolId::ToggleFile), v));
  EXPECT_FALSE(SelectEntryEnabled(Entry(SelectToolId::SelectInFileStructure), v));
  EXPECT_FALSE(RemovalEntryEnabled(Entry(RemovalId::File_RemoveFromReport), v));

  v.currentIsFile = true;
  v.hasMarkedFiles = true;
  EXPECT_TRUE(SelectEntryEnabled(Entry(SelectToolId::ToggleFile), v));
  EXPECT_TRUE(SelectEntryEnabled(Entry(SelectToolId::SelectSameFolder), v));
  EXPECT_TRUE(SelectEntryEnabled(Entry(SelectToolId::SelectMarked), v));
  EXPECT_TRUE(RemovalEntryEnabled(Entry(RemovalId::File_RemoveFromReport), v));
  EXPECT_TRUE(RemovalEntryEnabled(Entry(RemovalId::RemoveMarkedFiles), v));
  EXPECT_FALSE(RemovalEntryEnabled(Entry(RemovalId::RemoveMarkedGroupAndFiles), v));
}

TEST(SelectionMenu, DeselectingAndSelectionRemovalsNeedASelectedFile) {
  ResultViewState v = IdleResult();
  v.hasCurrent = v.currentIsFile = v.hasMarkedFiles = true;
  EXPECT_FALSE(SelectEntryEnabled(Entry(SelectToolId::DeselectAll), v));
  EXPECT_FALSE(SelectEntryEnabled(Entry(SelectToolId::DeselectByDate), v));
  EXPECT_FALSE(SelectEntryEnabled(Entry(SelectToolId::DeselectMarked), v));
  EXPECT_FALSE(RemovalEntryEnabled(Entry(RemovalId::Report_RemoveSelectedFiles), v));
  EXPECT_FALSE(RemovalEntryEnabled(Entry(RemovalId::RemoveGroup_WithAllFilesSelected), v));
  EXPECT_TRUE(SelectEntryEnabled(Entry(SelectToolId::Invert), v));
  EXPECT_TRUE(RemovalEntryEnabled(Entry(RemovalId::Remove_FilesNotExist), v));
  EXPECT_FALSE(UndoEnabled(v));
  v.selectedFiles = 1;
  v.undoActions = 1;
  EXPECT_TRUE(SelectEntryEnabled(Entry(SelectToolId::DeselectAll), v));
  EXPECT_TRUE(SelectEntryEnabled(Entry(SelectToolId::DeselectMarked), v));
  EXPECT_TRUE(RemovalEntryEnabled(Entry(RemovalId::RemoveGroup_WithSomeFilesSelected), v));
  EXPECT_TRUE(UndoEnabled(v));
  v.files = 0;  // every row removed
  EXPECT_FALSE(SelectEntryEnabled(Entry(SelectToolId::SelectAll), v));
  EXPECT_FALSE(RemovalEntryEnabled(Entry(RemovalId::Remove_FilesNotExist), v));
}

TEST(SelectionMenu, RequestsTakeTheRowsTheCommandNames) {
  ViewPick pick;
  pick.current = {7, 2};
  pick.currentIsFile = true;
  pick.currentFolder = "/data/a";
  pick.markedFiles = {{7, 0}, {9, 1}};
  pick.markedGroups = {4};

  EXPECT_EQ(MakeSelectRequest(Entry(SelectToolId::SelectSameFolder), pick).folder, "/data/a");
  // A folder the user chooses is never the current row's folder taken by mistake.
  EXPECT_EQ(MakeSelectRequest(Entry(SelectToolId::SelectOutsideFolder), pick).folder, "");
  const SelectRequest toggle = MakeSelectRequest(Entry(SelectToolId::ToggleFile), pick);
  EXPECT_EQ(toggle.current.groupId, 7);
  EXPECT_EQ(toggle.current.fileIndex, 2u);
  EXPECT_EQ(MakeSelectRequest(Entry(SelectToolId::DeselectMarked), pick).marked.size(), 2u);
  EXPECT_TRUE(MakeSelectRequest(Entry(SelectToolId::KeepNewest), pick).marked.empty());

  const RemovalRequest one = MakeRemovalRequest(Entry(RemovalId::File_RemoveFromReport), pick, 2);
  ASSERT_EQ(one.markedFiles.size(), 1u);
  EXPECT_EQ(one.markedFiles[0].fileIndex, 2u);
  EXPECT_EQ(MakeRemovalRequest(Entry(RemovalId::RemoveMarkedFiles), pick, 2).markedFiles.size(), 2u);
  const RemovalRequest groups = MakeRemovalRequest(Entry(RemovalId::RemoveMarkedGroupAndFiles), pick, 3);
  EXPECT_EQ(groups.markedGroups, std::vector<int>{4});
  EXPECT_EQ(groups.sourceCount, 3);
}

TEST(SelectionMenu, NumberAnswersStayWithinTheirBounds) {
  long v = 0;
  EXPECT_TRUE(ReadNumberAnswer(PercentQuestion(), " 85 ", v));
  EXPECT_EQ(v, 85);
  EXPECT_FALSE(ReadNumberAnswer(PercentQuestion(), "101", v));
  EXPECT_FALSE(ReadNumberAnswer(PercentQuestion(), "8x", v));
  EXPECT_FALSE(ReadNumberAnswer(FileCountQuestion(), "0", v));
  EXPECT_TRUE(ReadNumberAnswer(FileCountQuestion(), FileCountQuestion().defaultText, v));
  EXPECT_EQ(v, 1);
}

TEST(CommandKeys, OnlyChangedKeysAreStoredAndAShorterListLeavesNothingBehind) {
  WindowSettings s;
  StoreKeys(s, {{"SelectAll", "Ctrl+A"}, {"SelectByDate", "F7"}, {"Undo", "Ctrl+Y"}, {"SelectInvert", ""}});
  auto stored = ReadStoredKeys(s);
  EXPECT_EQ(stored.size(), 3u);  // the default of "SelectAll" is not written
  EXPECT_EQ(KeyOf(stored, "SelectByDate", "Ctrl+Shift+D"), "F7");
  EXPECT_EQ(KeyOf(stored, "SelectInvert", "Ctrl+I"), "");  // a removed key stays removed
  EXPECT_EQ(KeyOf(stored, "SelectAll", "Ctrl+A"), "Ctrl+A");

  StoreKeys(s, {{"Undo", "Ctrl+Y"}});
  stored = ReadStoredKeys(s);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored.begin()->first, "Undo");
  EXPECT_NE(KeyClash({{"Undo", "F7"}, {"SelectByDate", "F7"}}), "");
}

TEST(ResultOptions, ColoursAreWrittenAtOnceAndReset) {
  test::TempDir dir;
  const std::string file = dir / "config4.ini";
  ProgramOptions o;
  const ColourOption& group = ColourOptions().front();
  EXPECT_EQ(StoreColour(o, group, RgbToBgr(0x12, 0x34, 0x56), file), "");
  EXPECT_EQ(o.*(group.field), 0x563412);
  EXPECT_EQ(ProfileGetItemWide("Optionen", group.key, "", file), std::to_string(0x563412));
  EXPECT_EQ(ResetColours(o, file), "");
  EXPECT_EQ(o, ProgramOptions{});
  EXPECT_EQ(ProfileGetItemWide("Optionen", group.key, "", file), std::to_string(ProgramOptions{}.GroupBackColor));
}

}  // namespace
}  // namespace twinex
