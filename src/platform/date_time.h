#pragma once
// Date values: a double counting days since 30 December 1899 in local time, time of day as
// the fraction (the search keys, filters and the database use this form).
#include <cstdint>
#include <ctime>
#include <string>

namespace twinex::platform {

// Local Date value of a Unix time (seconds; sub-second part dropped).
double DateFromUnix(std::int64_t unixSeconds);
// Unix time of a local Date value (rounded to the second).
std::int64_t UnixFromDate(double date);
// Date value of the calendar fields (local time); no range checks beyond mktime's.
double MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
void SplitDate(double date, int& year, int& month, int& day, int& hour, int& minute, int& second);
double Now();

// "General Date" of the user's locale (LC_TIME "%x %X"): the log timestamp.
std::string FormatGeneralDate(double date);
// Reads a text written by FormatGeneralDate back; false when it is not such a date.
bool ParseGeneralDate(const std::string& text, double& date);

// "hh:nn:ss" of a duration in seconds (hours may exceed 24).
std::string FormatDuration(std::int64_t seconds);
// Monotonic milliseconds (the tick count).
std::int64_t TickCount();
// The same, a few milliseconds behind but far cheaper to read: for checks made per file.
std::int64_t CoarseTickCount();

}  // namespace twinex::platform
