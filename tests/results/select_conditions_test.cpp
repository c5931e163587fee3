// Select by date and by size: the calendar units, the exact-day rule, the fixed-point sizes; and
// the dialogs' settings sections with their history lists.
#include <gtest/gtest.h>

#include "platform/date_time.h"
#include "results/selection_conditions.h"
#include "results/selection_settings.h"
#include "select_fixture.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace twinex {
namespace {

using platform::MakeDate;

enum Unit { kSec, kMin, kHour, kDayU, kWeek, kMonth, kQuarter, kYear };

TEST(SelectByDate, CalendarUnitsCountBoundariesAndLongUnitsCountWholePeriods) {
  const double lateEvening = MakeDate(2024, 3, 9, 23, 59, 30);  // a Saturday
  const double nextMorning = MakeDate(2024, 3, 10, 0, 0, 10);   // Sunday
  EXPECT_EQ(DateDifference(kSec, lateEvening, nextMorning), 40);
  EXPECT_EQ(DateDifference(kMin, lateEvening, nextMorning), 1);
  EXPECT_EQ(DateDifference(kHour, lateEvening, nextMorning), 1);
  EXPECT_EQ(DateDifference(kDayU, lateEvening, nextMorning), 1);
  EXPECT_EQ(DateDifference(kWeek, lateEvening, nextMorning), 1);  // a week begins on Sunday
  EXPECT_EQ(DateDifference(kWeek, nextMorning, MakeDate(2024, 3, 16, 23, 0, 0)), 0);

  EXPECT_EQ(DateDifference(kMonth, MakeDate(2024, 1, 31), MakeDate(2024, 2, 28)), 0);
  EXPECT_EQ(DateDifference(kMonth, MakeDate(2024, 1, 31), MakeDate(2024, 2, 29)), 1);  // last day of February
  EXPECT_EQ(DateDifference(kMonth, MakeDate(2024, 1, 15, 12), MakeDate(2024, 3, 15, 11)), 1);
  EXPECT_EQ(DateDifference(kQuarter, MakeDate(2023, 1, 1), MakeDate(2023, 12, 31)), 3);
  EXPECT_EQ(DateDifference(kYear, MakeDate(2020, 2, 29), MakeDate(2021, 2, 28)), 1);
  EXPECT_EQ(DateDifference(kYear, MakeDate(2020, 6, 1), MakeDate(2021, 5, 31)), 0);
  EXPECT_EQ(DateDifference(kMonth, MakeDate(2024, 5, 20), MakeDate(2024, 3, 25)), -1);
}

TEST(SelectByDate, OlderYoungerAndExactSelectTheRightRows) {
  const double now = MakeDate(2024, 6, 15, 12, 0, 0);
  ResultTree t = test::BuildTree({{
      {"old", "/d", 1, MakeDate(2024, 6, 5, 8, 0, 0)},
      {"edge", "/d", 1, MakeDate(2024, 6, 8, 23, 0, 0)},  // 7 calendar days back
      {"recent", "/d", 1, MakeDate(2024, 6, 14, 1, 0, 0)},
      {"future", "/d", 1, MakeDate(2025, 1, 1)},
  }});
  Selection s(t);
  DateCondition older{0, 7, kDayU, 0, 0};
  Select_DupByDate(s, true, older, now);
  EXPECT_EQ(test::States(t), "[1100]");
  DateCondition younger{1, 7, kDayU, 0, 0};
  SelectOutcome o = Select_DupByDate(s, false, older, now);
  Select_DupByDate(s, true, younger, now);
  EXPECT_EQ(test::States(t), "[0011]");  // a future date is younger than any amount
  EXPECT_EQ(o.deselected, 2u);

  DateCondition exact{2, 0, kDayU, MakeDate(2024, 6, 14, 23, 59, 0), 0};
  Select_DupByDate(s, false, younger, now);
  Select_DupByDate(s, true, exact, now);
  EXPECT_EQ(test::States(t), "[0010]");  // the time of day does not count
  t.display.dateFormat = "dd.mm.yyyy hh:nn:ss";
  SelectRequest q;
  q.date = older;
  EXPECT_EQ(SelectActionName(FindSelectTool(SelectToolId::SelectByDate), q, t.display),
            "Dateien anhand Ihrem Datum auswählen -> älter als 7 Tag(e)");
  q.date = exact;
  EXPECT_EQ(SelectActionName(FindSelectTool(SelectToolId::SelectByDate), q, t.display),
            "Dateien anhand Ihrem Datum auswählen -> exakt gleich 14.06.2024");
}

TEST(SelectBySize, AmountsAreExactFixedPointAndUnitsAre1024Based) {
  std::int64_t amount = 0;
  EXPECT_TRUE(ParseSizeAmount("1,5", amount));
  EXPECT_EQ(amount, 15000);
  EXPECT_EQ(SizeAmountText(amount), "1.5");
  EXPECT_FALSE(ParseSizeAmount("1.23456", amount));
  EXPECT_FALSE(ParseSizeAmount("-1", amount));
  EXPECT_FALSE(ParseSizeAmount("", amount));

  const SizeCondition equal{1, 15000, 2};  // exactly 1.5 MB
  EXPECT_TRUE(SizeConditionMatches(equal, 1572864));
  EXPECT_FALSE(SizeConditionMatches(equal, 1572865));
  EXPECT_TRUE(SizeConditionMatches({0, 10000, 1}, 1023));
  EXPECT_FALSE(SizeConditionMatches({0, 10000, 1}, 1024));
  EXPECT_TRUE(SizeConditionMatches({2, 10000, 4}, (std::uint64_t{1} << 40) + 1));  // TB
  EXPECT_FALSE(SizeConditionMatches({2, 10000, 4}, std::uint64_t{1} << 40));
  EXPECT_EQ(SizeConditionText(equal), "exakt gleich 1.5 MB");

  ResultTree t = test::BuildTree({{{"a", "/d", 100}, {"b", "/d", 2048}, {"c", "/d", 5000}}});
  Selection s(t);
  Select_DupBySize(s, true, {2, 20000, 1});
  EXPECT_EQ(test::States(t), "[001]");
  EXPECT_EQ(s.undo().At(0).name, "Dateien anhand Ihrer Größe auswählen -> größer als 2 KB");
}

TEST(SelectSettings, DialogSectionsRoundTripWithDefaultsAndHistory) {
  test::TempDir dir;
  const std::string file = dir / "config4.ini";
  SelectDateSettings date = LoadSelectDateSettings(file);
  EXPECT_EQ(date.condition.unit, 3);  // "Tag(e)"
  EXPECT_FALSE(date.hasExactDate);
  EXPECT_TRUE(date.AmountInputEnabled());
  date.condition = {2, 12, 6, MakeDate(2023, 7, 1, 10, 30, 0), 1};
  date.hasExactDate = true;
  ASSERT_EQ(SaveSelectDateSettings(date, file), "");
  SelectDateSettings back = LoadSelectDateSettings(file);
  EXPECT_EQ(back.condition.filterType, 2);
  EXPECT_EQ(back.condition.amount, 12);
  EXPECT_EQ(back.condition.unit, 6);
  EXPECT_DOUBLE_EQ(back.condition.exactDate, date.condition.exactDate);
  EXPECT_EQ(back.condition.compareWith, 1);
  EXPECT_TRUE(back.DateInputEnabled());

  ProfilePutItemWide("SelectSize", "SizeType", "9", file);  // out of range: the default
  ProfilePutItemWide("SelectSize", "FileSize", "2,25", file);
  SelectSizeSettings size = LoadSelectSizeSettings(file);
  EXPECT_EQ(size.condition.unit, 0);
  EXPECT_EQ(size.condition.amount, 22500);

  SelectPatternSettings name;
  name.Remember("*.tmp");
  name.Remember("*.bak");
  name.Remember("*.tmp");
  name.caseSensitive = true;
  ASSERT_EQ(SaveSelectPatternSettings(PatternField::Name, name, file), "");
  EXPECT_EQ(ProfileGetItemWide("SelectName", "namelist", "", file), "*.tmp|\\|\\|\\*.bak");
  SelectPatternSettings loaded = LoadSelectPatternSettings(PatternField::Name, file);
  EXPECT_EQ(loaded.text, "*.tmp");
  EXPECT_EQ(loaded.history, (std::vector<std::string>{"*.tmp", "*.bak"}));
  EXPECT_TRUE(loaded.caseSensitive);
  EXPECT_TRUE(loaded.Forget(0));
  EXPECT_FALSE(loaded.Forget(5));
  EXPECT_EQ(loaded.history, (std::vector<std::string>{"*.bak"}));
  EXPECT_TRUE(LoadSelectPatternSettings(PatternField::Path, file).history.empty());
}

}  // namespace
}  // namespace twinex
