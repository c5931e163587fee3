// Date texts in the user's format text: d dd, m mm (minutes right after an hour), yy yyyy,
// h hh, n nn, s ss, AM/PM, and text in double quotes; any other character is shown as it is,
// so "/" and "\" stand between the parts as typed.
#include <algorithm>
#include <string>

#include "platform/date_time.h"
#include "platform/text.h"
#include "results/result_tree.h"

namespace twinex {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool AtNoCase(std::string_view s, std::size_t i, std::string_view word) {
  if (s.size() - i < word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k)
    if (Lower(s[i + k]) != Lower(word[k])) return false;
  return true;
}

void AppendNumber(std::string& out, int value, bool twoDigits) {
  if (twoDigits && value < 10 && value >= 0) out.push_back('0');
  out += std::to_string(value);
}

std::string EraseAll(std::string s, std::string_view part) { return platform::ReplaceAll(std::move(s), part, ""); }

}  // namespace

std::string FormatDateDisplay(double date, const std::string& formatText) {
  const std::string_view format = formatText.empty() ? std::string_view(kDefaultDateDisplayFormat) : formatText;
  int year, month, day, hour, minute, second;
  platform::SplitDate(date, year, month, day, hour, minute, second);

  bool twelveHour = false;
  for (std::size_t i = 0; i < format.size() && !twelveHour; ++i) twelveHour = AtNoCase(format, i, "am/pm");

  std::string out;
  bool afterHour = false;
  for (std::size_t i = 0; i < format.size();) {
    const char c = format[i];
    if (AtNoCase(format, i, "am/pm")) {
      const bool upper = c == 'A' || c == 'P';
      out += hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
      i += 5;
      continue;
    }
    if (c == '"') {
      const std::size_t end = std::min(format.find('"', i + 1), format.size());
      out.append(format.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    const char lc = Lower(c);
    if (std::string_view("dmyhns").find(lc) == std::string_view::npos) {
      out.push_back(c);
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < format.size() && Lower(format[i + run]) == lc) ++run;
    const bool two = run >= 2;
    switch (lc) {
      case 'd':
        AppendNumber(out, day, two);
        break;
      case 'm':
        AppendNumber(out, afterHour ? minute : month, two);
        break;
      case 'y':
        if (run >= 3)
          out += std::to_string(year);
        else
          AppendNumber(out, year % 100, true);
        break;
      case 'h':
        AppendNumber(out, twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour, two);
        break;
      case 'n':
        AppendNumber(out, minute, two);
        break;
      case 's':
        AppendNumber(out, second, two);
        break;
    }
    afterHour = lc == 'h';
    i += run;
  }
  return out;
}

std::string CaptionDateFormat(const std::string& formatText, bool ignoreTime, bool ignoreSeconds) {
  std::string format = formatText.empty() ? std::string(kDefaultDateDisplayFormat) : formatText;
  if (ignoreTime) {
    for (std::string_view part : {"hh:nn:ss", "h:n:s", "AM/PM"}) format = EraseAll(std::move(format), part);
  } else if (ignoreSeconds) {
    for (std::string_view part : {":ss", ":s"}) format = EraseAll(std::move(format), part);
  }
  return platform::Trim(format);
}

}  // namespace twinex
