#include "platform/date_time.h"

#include <locale.h>
#include <time.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace twinex::platform {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 30 Dec 1899 (day 0 of a Date) to 1 Jan 1970.
constexpr std::int64_t kUnixEpochDay = 25569;

// Days since 1 Jan 1970 of a proleptic Gregorian date (month 1..12).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Whole seconds since the Date origin; the rounding absorbs the error of the double.
std::int64_t DateSeconds(double date) { return std::llround(date * static_cast<double>(kSecondsPerDay)); }

// The LC_TIME category of the user's environment, C when it names no installed locale.
locale_t TimeLocale() {
  static const locale_t loc = [] {
    locale_t l = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (!l) l = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    return l;
  }();
  return loc;
}

void FillTm(double date, struct tm& t) {
  int y, mo, d, h, mi, s;
  SplitDate(date, y, mo, d, h, mi, s);
  std::memset(&t, 0, sizeof t);
  t.tm_year = y - 1900;
  t.tm_mon = mo - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_min = mi;
  t.tm_sec = s;
  t.tm_isdst = -1;
  // mktime supplies weekday, day of year and zone for formats that show them; it may move a
  // time that falls into a DST gap, so the fields themselves are restored afterwards.
  struct tm probe = t;
  if (mktime(&probe) != static_cast<time_t>(-1)) {
    t.tm_wday = probe.tm_wday;
    t.tm_yday = probe.tm_yday;
    t.tm_isdst = probe.tm_isdst;
    t.tm_gmtoff = probe.tm_gmtoff;
    t.tm_zone = probe.tm_zone;
  }
}

}  // namespace

double MakeDate(int year, int month, int day, int hour, int minute, int second) {
  // Months outside 1..12 and days outside the month carry over like mktime's do.
  std::int64_t y = year + FloorDiv(month - 1, 12);
  int m = static_cast<int>(month - 1 - FloorDiv(month - 1, 12) * 12) + 1;
  std::int64_t days = DaysFromCivil(y, m, 1) + (day - 1) + kUnixEpochDay;
  std::int64_t total = days * kSecondsPerDay + std::int64_t{hour} * 3600 + std::int64_t{minute} * 60 + second;
  return static_cast<double>(total) / static_cast<double>(kSecondsPerDay);
}

void SplitDate(double date, int& year, int& month, int& day, int& hour, int& minute, int& second) {
  std::int64_t total = DateSeconds(date);
  std::int64_t days = FloorDiv(total, kSecondsPerDay);
  std::int64_t rest = total - days * kSecondsPerDay;
  CivilFromDays(days - kUnixEpochDay, year, month, day);
  hour = static_cast<int>(rest / 3600);
  minute = static_cast<int>(rest / 60 % 60);
  second = static_cast<int>(rest % 60);
}

double DateFromUnix(std::int64_t unixSeconds) {
  time_t t = static_cast<time_t>(unixSeconds);
  struct tm lt;
  if (!localtime_r(&t, &lt)) {
    return static_cast<double>(unixSeconds) / kSecondsPerDay + static_cast<double>(kUnixEpochDay);
  }
  return MakeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min, lt.tm_sec);
}

std::int64_t UnixFromDate(double date) {
  int y, mo, d, h, mi, s;
  SplitDate(date, y, mo, d, h, mi, s);
  struct tm t {};
  t.tm_year = y - 1900;
  t.tm_mon = mo - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_min = mi;
  t.tm_sec = s;
  t.tm_isdst = -1;
  return static_cast<std::int64_t>(mktime(&t));
}

double Now() { return DateFromUnix(static_cast<std::int64_t>(time(nullptr))); }

std::string FormatGeneralDate(double date) {
  struct tm t;
  FillTm(date, t);
  char buf[128];
  std::size_t n = strftime_l(buf, sizeof buf, "%x %X", &t, TimeLocale());
  return std::string(buf, n);
}

bool ParseGeneralDate(const std::string& text, double& date) {
  struct tm t {};
  t.tm_mday = 1;
  const char* rest = strptime_l(text.c_str(), "%x %X", &t, TimeLocale());
  if (!rest) return false;
  while (*rest == ' ' || *rest == '\t') ++rest;
  if (*rest != '\0') return false;
  date = MakeDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return true;
}

std::string FormatDuration(std::int64_t seconds) {
  std::string sign;
  std::uint64_t s = static_cast<std::uint64_t>(seconds);
  if (seconds < 0) {
    sign = "-";
    s = 0 - s;
  }
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02llu:%02llu:%02llu", static_cast<unsigned long long>(s / 3600),
                static_cast<unsigned long long>(s / 60 % 60), static_cast<unsigned long long>(s % 60));
  return sign + buf;
}

std::int64_t CoarseTickCount() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

std::int64_t TickCount() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace twinex::platform
