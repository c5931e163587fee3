// The result grid's context menu of single-file actions, and the countdown of the closing question.
#include <gtest/gtest.h>

#include <algorithm>

#include "presenters/close_question.h"
#include "presenters/row_menu.h"

namespace twinex {
namespace {

bool Enabled(const RowMenuContext& c, RowCommand command) {
  const std::vector<RowMenuItem> items = RowMenuItems(c);
  auto it = std::find_if(items.begin(), items.end(), [&](const RowMenuItem& i) { return i.command == command; });
  return it != items.end() && it->enabled;
}

RowMenuContext FileRow() {
  RowMenuContext c;
  c.onFile = true;
  c.groupFiles = 2;
  c.selectedFiles = 1;
  c.actionsAllowed = true;
  return c;
}

TEST(RowMenu, OffersEveryActionOnAFileRowOfAFinishedResult) {
  const std::vector<RowMenuItem> items = RowMenuItems(FileRow());
  ASSERT_EQ(items.size(), 6u);
  EXPECT_TRUE(std::all_of(items.begin(), items.end(), [](const RowMenuItem& i) { return i.enabled; }));
  EXPECT_EQ(items[2].caption, "Datei verschieben...");
}

TEST(RowMenu, NothingWorksWhileActionsAreRefused) {
  RowMenuContext c = FileRow();
  c.actionsAllowed = false;
  for (const RowMenuItem& i : RowMenuItems(c)) EXPECT_FALSE(i.enabled) << i.caption;
}

TEST(RowMenu, RowDependentActionsNeedTheRightRow) {
  // A group row: only what does not name one file.
  RowMenuContext group = FileRow();
  group.onFile = false;
  EXPECT_TRUE(Enabled(group, RowCommand::DeleteSelected));
  EXPECT_TRUE(Enabled(group, RowCommand::FileManager));
  for (RowCommand c : {RowCommand::DeleteOthers, RowCommand::Move, RowCommand::Copy, RowCommand::Rename})
    EXPECT_FALSE(Enabled(group, c));

  // No checked file: nothing to delete as selected.
  RowMenuContext none = FileRow();
  none.selectedFiles = 0;
  EXPECT_FALSE(Enabled(none, RowCommand::DeleteSelected));
  EXPECT_TRUE(Enabled(none, RowCommand::DeleteOthers));

  // A lone file has no others to delete.
  RowMenuContext lone = FileRow();
  lone.groupFiles = 1;
  EXPECT_FALSE(Enabled(lone, RowCommand::DeleteOthers));

  // A protected file may be copied, never moved or renamed.
  RowMenuContext guarded = FileRow();
  guarded.fileProtected = true;
  EXPECT_TRUE(Enabled(guarded, RowCommand::Copy));
  EXPECT_FALSE(Enabled(guarded, RowCommand::Move));
  EXPECT_FALSE(Enabled(guarded, RowCommand::Rename));
}

TEST(CloseQuestion, AskedOnlyWithTheOptionOnAndAResult) {
  EXPECT_TRUE(CloseQuestion::Wanted("1", true));
  EXPECT_FALSE(CloseQuestion::Wanted("1", false));
  EXPECT_FALSE(CloseQuestion::Wanted("", true));
  EXPECT_FALSE(CloseQuestion::Wanted(CloseQuestion::OptionOff(), true));
}

TEST(CloseQuestion, CountsDownEachSecondAndThenAnswersItself) {
  CloseQuestion q(3);
  EXPECT_EQ(q.CountdownText(), "Das Fenster wird in 3 Sekunden geschlossen...");
  EXPECT_FALSE(q.Tick());
  EXPECT_FALSE(q.Tick());
  EXPECT_EQ(q.CountdownText(), "Das Fenster wird in 1 Sekunden geschlossen...");
  EXPECT_TRUE(q.Tick());
  EXPECT_EQ(q.CountdownText(), "Das Fenster wird in 0 Sekunden geschlossen...");
  EXPECT_TRUE(q.Tick());  // a late tick stays at the end
  EXPECT_EQ(q.remaining(), 0);
  EXPECT_EQ(CloseQuestion::TimeoutAnswer(), CloseAnswer::DontSave);
}

}  // namespace
}  // namespace twinex
