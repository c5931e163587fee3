#include "platform/number_format.h"

#include <langinfo.h>
#include <locale.h>

#include <cmath>
#include <cstdio>

namespace twinex::platform {
namespace {

struct Separators {
  std::string group = ",";
  std::string decimal = ".";
};

const Separators& LocaleSeparators() {
  static const Separators seps = [] {
    Separators s;
    locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0)) return s;
    const char* thousands = nl_langinfo_l(THOUSEP, loc);
    const char* radix = nl_langinfo_l(RADIXCHAR, loc);
    if (thousands && *thousands) s.group = thousands;
    if (radix && *radix) s.decimal = radix;
    if (s.group == s.decimal) s.group = (s.decimal == ",") ? "." : ",";
    freelocale(loc);
    return s;
  }();
  return seps;
}

std::string Group(const std::string& digits) {
  const std::string& sep = LocaleSeparators().group;
  std::string out;
  out.reserve(digits.size() + digits.size() / 3 * sep.size());
  std::size_t lead = digits.size() % 3;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (i - lead) % 3 == 0 && i >= lead) out += sep;
    out.push_back(digits[i]);
  }
  return out;
}

}  // namespace

std::string FormatCount(std::uint64_t value) { return Group(std::to_string(value)); }

std::string FormatCount(std::int64_t value) {
  if (value < 0) return "-" + FormatCount(static_cast<std::uint64_t>(-(value + 1)) + 1);
  return FormatCount(static_cast<std::uint64_t>(value));
}

std::string FormatDecimal2(double value) {
  bool negative = value < 0;
  double rounded = std::round(std::fabs(value) * 100.0);
  auto cents = static_cast<std::uint64_t>(rounded);
  char frac[4];
  std::snprintf(frac, sizeof frac, "%02u", static_cast<unsigned>(cents % 100));
  std::string out = Group(std::to_string(cents / 100)) + LocaleSeparators().decimal + frac;
  return negative && cents != 0 ? "-" + out : out;
}

std::string FormatSizeAuto(std::uint64_t size, bool withUnit) {
  struct Step {
    std::uint64_t above;
    double divisor;
    const char* unit;
  };
  // The GB step starts at 999 MiB rather than 1 GiB, so sizes just under a gigabyte read as
  // "0.98 GB" instead of "1,023.00 MB".
  static const Step steps[] = {
      {1099511627776ULL, 1099511627776.0, "TB"},
      {1047527424ULL, 1073741824.0, "GB"},
      {1048576ULL, 1048576.0, "MB"},
      {1024ULL, 1024.0, "KB"},
  };
  for (const auto& s : steps) {
    if (size > s.above) {
      std::string text = FormatDecimal2(static_cast<double>(size) / s.divisor);
      return withUnit ? text + " " + s.unit : text;
    }
  }
  std::string text = FormatCount(size);
  return withUnit ? text + " Bytes" : text;
}

std::string GroupingSeparatorText() { return LocaleSeparators().group; }
std::string DecimalSeparatorText() { return LocaleSeparators().decimal; }

}  // namespace twinex::platform
