// Select by date: the calendar differences behind "älter als" / "jünger als" / "exakt gleich".
#include <algorithm>
#include <cmath>
#include <tuple>

#include "platform/date_time.h"
#include "results/select_rules.h"
#include "results/selection_conditions.h"

namespace twinex {

namespace {

constexpr std::int64_t kDay = 86400;

// Whole seconds since the Date origin; the rounding absorbs the error of the double.
std::int64_t Seconds(double date) { return std::llround(date * static_cast<double>(kDay)); }

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool LeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && LeapYear(y) ? 29 : kDays[m - 1];
}

struct Parts {
  int y, mo, d, h, mi, s;
};

Parts Split(double date) {
  Parts p{};
  platform::SplitDate(date, p.y, p.mo, p.d, p.h, p.mi, p.s);
  return p;
}

// Whole months from `from` to `to`: the month count, less one when `from` moved forward by that
// many months (its day kept, or the month's last day when the month is shorter) passes `to`.
long long WholeMonths(double from, double to) {
  const Parts a = Split(from), b = Split(to);
  long long months = (static_cast<long long>(b.y) * 12 + b.mo) - (static_cast<long long>(a.y) * 12 + a.mo);
  const int day = std::min(a.d, DaysInMonth(b.y, b.mo));
  const auto shifted = std::make_tuple(day, a.h, a.mi, a.s);
  const auto target = std::make_tuple(b.d, b.h, b.mi, b.s);
  if (months > 0 && shifted > target) --months;
  if (months < 0 && shifted < target) ++months;
  return months;
}

constexpr TextRef kFilterTypes[] = {TextRef{17103, "älter als"}, TextRef{17104, "jünger als"}, TextRef{17105, "exakt gleich"}};
constexpr TextRef kUnits[kDateUnitCount] = {
    TextRef{17106, "Sekunde(n)"}, TextRef{17107, "Minute(n)"},  TextRef{17108, "Stunde(n)"},   TextRef{17109, "Tag(e)"},
    TextRef{17110, "Woche(n)"},   TextRef{17111, "Monat(e)"},   TextRef{17112, "Quartal(e)"}, TextRef{17113, "Jahr(e)"},
};

}  // namespace

long long DateDifference(int unit, double from, double to) {
  const std::int64_t a = Seconds(from), b = Seconds(to);
  switch (unit) {
    case 0:
      return b - a;
    case 1:
      return FloorDiv(b, 60) - FloorDiv(a, 60);
    case 2:
      return FloorDiv(b, 3600) - FloorDiv(a, 3600);
    case 3:
      return FloorDiv(b, kDay) - FloorDiv(a, kDay);
    case 4:
      // Day 1 of the Date origin (31 December 1899) was a Sunday, the first day of a week.
      return FloorDiv(FloorDiv(b, kDay) - 1, 7) - FloorDiv(FloorDiv(a, kDay) - 1, 7);
    case 5:
      return WholeMonths(from, to);
    case 6:
      return WholeMonths(from, to) / 3;
    default:
      return WholeMonths(from, to) / 12;
  }
}

bool DateConditionMatches(const DateCondition& c, double fileDate, double now) {
  switch (c.filterType) {
    case 0:
      return DateDifference(c.unit, fileDate, now) >= c.amount;
    case 1:
      return DateDifference(c.unit, fileDate, now) < c.amount;
    default:
      return FloorDiv(Seconds(fileDate), kDay) == FloorDiv(Seconds(c.exactDate), kDay);
  }
}

std::string DateConditionText(const DateCondition& c, const std::string& dateFormat) {
  if (c.filterType == 2)
    return DateFilterTypeName(2) + " " + FormatDateDisplay(c.exactDate, CaptionDateFormat(dateFormat, true, false));
  return DateFilterTypeName(c.filterType) + " " + std::to_string(c.amount) + " " + DateUnitName(c.unit);
}

std::string SelectByDateDialogTitle() { return z_Translate(17100, "Dateien anhand Uhrem Datum auswählen"); }

std::string DateFilterTypeName(int filterType) {
  return filterType >= 0 && filterType < 3 ? z_Translate(kFilterTypes[filterType]) : "";
}

std::string DateUnitName(int unit) { return unit >= 0 && unit < kDateUnitCount ? z_Translate(kUnits[unit]) : ""; }

std::string DateCompareWithName(int compareWith) {
  return compareWith == 1 ? z_Translate(17102, "Erstellungsdatum") : z_Translate(17101, "Änderungsdatum");
}

namespace select_rules {

bool DateMatches(const ToolContext& c, const ResultGroup&, const ResultFile& f) {
  const DateCondition& d = c.request.date;
  return DateConditionMatches(d, d.compareWith == 1 ? f.dateEval : f.dateVal, c.now);
}

}  // namespace select_rules
}  // namespace twinex
