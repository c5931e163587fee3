// The selection commands over small results: keep-one rules and their ties, protection, count
// messages, and the commands with an input (folder, pattern, similarity).
#include "results/selection_tools.h"

#include <gtest/gtest.h>

#include "results/selection_conditions.h"
#include "settings/prompt.h"
#include "select_fixture.h"

namespace twinex {
namespace {

using test::BuildTree;
using test::ExpectCountersExact;
using test::Row;
using test::States;

std::string StatesAfter(ResultTree t, SelectToolId id) {
  Selection s(t);
  RunSelectTool(s, id);
  ExpectCountersExact(t);
  return States(t);
}

TEST(SelectKeepOne, StrictlyBetterWinsAndTiesKeepTheTopmost) {
  // Two groups each: a clear winner in the middle, and a tie between the first two rows.
  struct Case {
    SelectToolId id;
    std::initializer_list<std::initializer_list<Row>> groups;
    const char* expected;
  };
  const Case cases[] = {
      {SelectToolId::KeepNewest,
       {{{"a", "/d", 1, 10}, {"b", "/d", 1, 30}, {"c", "/d", 1, 20}}, {{"d", "/d", 1, 50}, {"e", "/d", 1, 50}}},
       "[101][01]"},
      {SelectToolId::KeepOldest,
       {{{"a", "/d", 1, 10}, {"b", "/d", 1, 5}, {"c", "/d", 1, 20}}, {{"d", "/d", 1, 50}, {"e", "/d", 1, 50}}},
       "[101][01]"},
      {SelectToolId::KeepShortestPath,
       {{{"a", "/ddd"}, {"b", "/d"}, {"c", "/dd"}}, {{"d", "/äb"}, {"e", "/ab"}}},  // characters, not bytes
       "[101][01]"},
      {SelectToolId::KeepLongestName, {{{"a"}, {"bbb"}, {"cc"}}, {{"dd"}, {"ee"}}}, "[101][01]"},
      {SelectToolId::KeepBiggest, {{{"a", "/d", 1}, {"b", "/d", 9}, {"c", "/d", 5}}, {{"d", "/d", 4}, {"e", "/d", 4}}},
       "[101][01]"},
      {SelectToolId::KeepSmallest, {{{"a", "/d", 5}, {"b", "/d", 1}, {"c", "/d", 5}}, {{"d"}, {"e"}}}, "[101][01]"},
      {SelectToolId::KeepLast, {{{"a"}, {"b"}, {"c"}}, {{"d"}, {"e"}}}, "[110][10]"},
      {SelectToolId::OnlyFirst, {{{"a"}, {"b", "/d", 1, 0, true}, {"c"}}, {{"d"}, {"e"}}}, "[100][10]"},
  };
  for (const Case& c : cases) EXPECT_EQ(StatesAfter(BuildTree(c.groups), c.id), c.expected) << FindSelectTool(c.id).name;
}

TEST(SelectKeepOne, KeeperIsDeselectedAndSingleFileGroupsAreLeftAlone) {
  ResultTree t = BuildTree({{{"old", "/d", 1, 10}, {"new", "/d", 1, 20, true}}, {{"alone"}}});
  Selection s(t);
  SelectOutcome o = Select_AllButNotTheNewestOldest(s, true);
  EXPECT_EQ(States(t), "[10][0]");
  EXPECT_EQ(o.selected, 1u);
  EXPECT_EQ(o.deselected, 1u);
  EXPECT_EQ(o.message, "Es wurden 2 Dateien ausgewählt.");
  EXPECT_EQ(StatesAfter(BuildTree({{{"alone"}}}), SelectToolId::OnlyFirst), "[0]");
}

TEST(SelectKeepOne, MegapixelsReadMissingSizesAndFallBackToTheBiggerFile) {
  ResultTree t = BuildTree({{{"small", "/d", 100}, {"big", "/d", 200}, {"unread", "/d", 50}}});
  auto& f = t.groups[0].files;
  f[0].picW = 100, f[0].picH = 100;
  f[1].picW = 50, f[1].picH = 200;  // the same pixels, a bigger file
  f[2].GetFileInfo = true;
  Selection s(t);
  Select_AllButNotTheMostMP(s);
  EXPECT_EQ(States(t), "[101]");
  s.Undo();
  s.readFileInfo = [](ResultFile& file) {
    file.picW = 400, file.picH = 400;
    file.GetFileInfo = false;
  };
  Select_AllButNotTheMostMP(s);
  EXPECT_EQ(States(t), "[110]");
}

TEST(SelectTools, ProtectedRowsAreNeverSelectedButMayBeDeselected) {
  ResultTree t = BuildTree({{{"p", "/d", 1, 10, false, true}, {"q", "/d", 1, 20}, {"r", "/d", 1, 5, true, true}}});
  Selection s(t);
  RunSelectTool(s, SelectToolId::SelectAll);
  EXPECT_EQ(States(t), "[011]");  // r was selected by hand before
  Select_AllButNotTheNewestOldest(s, true);
  EXPECT_EQ(States(t), "[001]");  // q is the keeper; p stays out, r stays as the hand left it
  SelectOutcome o = Select_Invert_Selection_All_Groups(s);
  EXPECT_EQ(States(t), "[010]");
  EXPECT_EQ(o.selected, 1u);
  EXPECT_EQ(o.deselected, 1u);
  EXPECT_EQ(o.message, "Es wurden 2 Dateien ausgewählt.");
  o = RunSelectTool(s, SelectToolId::DeselectAll);
  EXPECT_EQ(o.message, "Es wurden 1 Dateien abgewählt.");
  ExpectCountersExact(t);
}

TEST(SelectTools, ByNameAndPathUseWildcardsAndTheCaseSwitch) {
  ResultTree t = BuildTree({{{"Foto.TMP", "/data/Alt"}, {"foto.jpg", "/data/neu"}, {"ÄRGER.tmp", "/x"}}});
  Selection s(t);
  SelectOutcome o = Select_DupByName(s, true, {"*.tmp", false});
  EXPECT_EQ(States(t), "[101]");
  EXPECT_EQ(o.matched, 2u);
  RunSelectTool(s, SelectToolId::DeselectAll);
  Select_DupByName(s, true, {"ä*.tmp", true});
  EXPECT_EQ(States(t), "[000]");
  EXPECT_EQ(s.undo().Count(), 2u);  // the case-sensitive run matched nothing and left no action
  Select_DupByName(s, true, {"Ä*.tmp", true});
  EXPECT_EQ(States(t), "[001]");
  Select_DupByPath(s, true, {"/data/[a-m]*", false});
  EXPECT_EQ(States(t), "[101]");
  Select_DupByName(s, false, {"foto.*", false});
  EXPECT_EQ(States(t), "[001]");
  EXPECT_EQ(s.undo().At(s.undo().Count() - 1).name, "Dateien anhand Ihrem Namen abwählen -> foto.*");
  ExpectCountersExact(t);

  o = Select_DupByName(s, true, {"*.xyz", false});
  EXPECT_TRUE(o.ran);
  EXPECT_EQ(o.message, "Es konnten keine Dateien anhand dem Suchtext gefunden werden.");
  const std::size_t actions = s.undo().Count();
  o = Select_DupByName(s, true, {"[a-", false});
  EXPECT_FALSE(o.ran);
  EXPECT_EQ(o.message,
            "Der Suchtext '[a-' ist ungültig und kann nicht verwendet werden.\r\n"
            "Fehler: Eine Zeichenliste mit '[' wird nicht mit ']' geschlossen.");
  EXPECT_EQ(s.undo().Count(), actions);
  EXPECT_EQ(States(t), "[001]");
}

TEST(SelectTools, FolderCommandsTellInsideFromASiblingWithTheSamePrefix) {
  auto make = [] {
    return BuildTree({
        {{"a", "/data/old"}, {"b", "/data/old/sub"}, {"c", "/data/old2"}},
        {{"d", "/data/new"}, {"e", "/data/new"}},
    });
  };
  ResultTree t = make();
  Selection s(t);
  Select_DupInSameFolderByPathSelection(s, true, true, "/data/old/");
  EXPECT_EQ(States(t), "[110][00]");
  Select_DupInSameFolderByPathSelection(s, true, false, "/data/old");
  EXPECT_EQ(States(t), "[111][11]");
  Select_DupInSameFolderByPath(s, false, "/data/new");
  EXPECT_EQ(States(t), "[111][00]");

  // Duplicates of files in the folder: the copies elsewhere, never the files in the folder.
  ResultTree d = make();
  Selection ds(d);
  Select_DupFromFilesOfThisFolder(ds, true, "/data/old/sub");
  EXPECT_EQ(States(d), "[101][00]");

  // Without a folder "outside" would take every file: refused.
  SelectOutcome o = Select_DupInSameFolderByPathSelection(ds, true, false, "");
  EXPECT_FALSE(o.ran);
  EXPECT_EQ(States(d), "[101][00]");

  // The question comes first; No changes nothing.
  SilentPrompt no;
  o = Select_DupInSameFolderByPathSelection(ds, true, false, "/data/old", &no);
  EXPECT_FALSE(o.ran);
  ASSERT_EQ(no.asked.size(), 1u);
  EXPECT_EQ(no.asked[0].Text(), "Alle Dateien außerhalb der folgenden Ordnerstruktur auswählen?\r\n\r\n/data/old");
  EXPECT_EQ(States(d), "[101][00]");
}

TEST(SelectTools, SimilarityBoundsAreInclusiveAndHardlinksCount) {
  ResultTree t = BuildTree({{{"a", "/d", 1, 0, false, false, 100}, {"b", "/d", 1, 0, false, false, 99},
                             {"c", "/d", 1, 0, false, false, 80}}});
  t.groups[0].files[2].hardlinks = 2;
  Selection s(t);
  Select_MatchHigherLower(s, true, 100);
  EXPECT_EQ(States(t), "[100]");
  Select_MatchHigherLower(s, false, 80);
  EXPECT_EQ(States(t), "[101]");
  RunSelectTool(s, SelectToolId::DeselectAll);
  RunSelectTool(s, SelectToolId::SelectWithoutHardlinks);
  EXPECT_EQ(States(t), "[110]");
}

TEST(SelectTools, AStopBeforeTheFirstGroupChangesNothing) {
  ResultTree t = BuildTree({{{"a"}, {"b"}}});
  Selection s(t);
  SelectRequest q;
  q.progress = [](std::size_t, std::size_t) { return false; };
  SelectOutcome o = RunSelectTool(s, SelectToolId::SelectAll, q);
  EXPECT_TRUE(o.cancelled);
  EXPECT_EQ(States(t), "[00]");
}

TEST(SelectTools, EveryCommandLineNameFindsItsFormsAndNamesAreUnique) {
  for (const SelectTool& tool : SelectTools()) {
    if (std::string(tool.name).empty()) continue;
    EXPECT_EQ(FindSelectToolByName(tool.name, tool.deselects), &tool) << tool.name;
  }
  EXPECT_EQ(FindSelectToolByName("all", true)->id, SelectToolId::DeselectAll);
  EXPECT_EQ(FindSelectToolByName("all-but-newest", true), nullptr);
  EXPECT_EQ(FindSelectToolByName("", false), nullptr);
}

}  // namespace
}  // namespace twinex
