#pragma once
// The conditions of the select-by-date, by-size and by-name/path commands: how they match a row,
// how they read as text (undo names, dialogs), and the names their dialogs offer.
#include <cstdint>
#include <string>
#include <string_view>

#include "results/selection_tools.h"

namespace twinex {

// Date: seconds, minutes, hours, days and weeks (weeks begin on Sunday) count the calendar
// boundaries crossed from `from` to `to`; months, quarters and years count whole periods
// elapsed (a month from 31 January ends on the last day of February). Negative when `to` lies
// before `from`.
long long DateDifference(int unit, double from, double to);
// "älter als": N units or more before now; "jünger als": fewer (a date in the future is younger
// than any amount); "exakt gleich": the same day, whatever the time.
bool DateConditionMatches(const DateCondition& condition, double fileDate, double now);
// "älter als 3 Tag(e)" or "exakt gleich 01/05/2024" (the date in the display format without its time).
std::string DateConditionText(const DateCondition& condition, const std::string& dateFormat);
std::string SelectByDateDialogTitle();
std::string DateFilterTypeName(int filterType);
std::string DateUnitName(int unit);
std::string DateCompareWithName(int compareWith);
inline constexpr int kDateUnitCount = 8;

// Size: an amount with up to four decimal places, a decimal point or comma; false otherwise.
bool ParseSizeAmount(std::string_view text, std::int64_t& tenThousandths);
std::string SizeAmountText(std::int64_t tenThousandths);
// The unit's bytes: 1, 1024, 1024², 1024³ and, for "TB", 1024⁴.
std::uint64_t SizeUnitBytes(int unit);
bool SizeConditionMatches(const SizeCondition& condition, std::uint64_t size);
// "kleiner als 1.5 MB"
std::string SizeConditionText(const SizeCondition& condition);
std::string SizeFilterTypeName(int filterType);
std::string SizeConditionUnitName(int unit);
inline constexpr int kSizeUnitCount = 5;

// Pattern: "" for a usable search text, else the message that keeps the dialog open.
std::string PatternError(std::string_view pattern);
std::string NoPatternMatchMessage();

}  // namespace twinex
