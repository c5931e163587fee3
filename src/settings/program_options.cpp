#include "settings/program_options.h"

#include <algorithm>

#include "platform/text.h"

namespace twinex {

std::string NormalizeLogDelDays(std::string_view text) {
  long long v = 0;
  std::string t = platform::Trim(text);
  bool digitsOnly = !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!digitsOnly || !platform::ParseLong(t, v) || v <= 0 || v > 1000000) return "30";
  return std::to_string(v);
}

int LogDelDaysValue(const ProgramOptions& o) { return std::stoi(NormalizeLogDelDays(o.LogDelDays)); }

bool UnicodeSupportByDefault(int code) {
  static constexpr int kLanguages[] = {1,  2,  4,  8,  13, 17, 18, 25, 26, 30, 31, 32, 34, 41, 42, 43, 47,
                                       55, 57, 63, 64, 66, 80, 83, 87, 91, 94, 97, 140};
  if (code >= 68 && code <= 78) return true;
  return std::find(std::begin(kLanguages), std::end(kLanguages), code) != std::end(kLanguages);
}

}  // namespace twinex
