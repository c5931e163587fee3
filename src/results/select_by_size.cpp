// Select by size. The amount is a fixed-point number with four decimal places; it is compared
// exactly (in ten-thousandths of a byte, 128-bit), so "1.5 MB" means 1,572,864 bytes and no
// rounding of a double decides a boundary.
#include <cctype>

#include "results/select_rules.h"
#include "results/selection_conditions.h"

namespace twinex {

namespace {

constexpr std::int64_t kScale = 10000;
// The unit choices and the "FormatSize" values whose names they show.
constexpr int kUnitFormat[kSizeUnitCount] = {0, 1, 2, 3, 5};

constexpr TextRef kFilterTypes[] = {TextRef{17121, "kleiner als"}, TextRef{17105, "exakt gleich"}, TextRef{17123, "größer als"}};

}  // namespace

bool ParseSizeAmount(std::string_view text, std::int64_t& out) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return false;
  constexpr std::int64_t kMaxWhole = 922337203685477;  // the fixed-point type's largest whole part
  std::int64_t whole = 0, fraction = 0;
  int decimals = 0;
  bool digits = false, inFraction = false;
  for (char ch : text) {
    if ((ch == '.' || ch == ',') && !inFraction) {
      inFraction = true;
      continue;
    }
    if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
    digits = true;
    const int d = ch - '0';
    if (inFraction) {
      if (++decimals > 4) return false;
      fraction = fraction * 10 + d;
    } else {
      whole = whole * 10 + d;
      if (whole > kMaxWhole) return false;
    }
  }
  if (!digits) return false;
  while (decimals++ < 4) fraction *= 10;
  out = whole * kScale + fraction;
  return true;
}

std::string SizeAmountText(std::int64_t amount) {
  std::string text = std::to_string(amount / kScale);
  std::int64_t fraction = amount % kScale;
  if (fraction == 0) return text;
  std::string digits = std::to_string(fraction + kScale).substr(1);
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  return text + "." + digits;
}

std::uint64_t SizeUnitBytes(int unit) {
  if (unit <= 0 || unit >= kSizeUnitCount) return 1;
  return std::uint64_t{1} << (10 * unit);
}

bool SizeConditionMatches(const SizeCondition& c, std::uint64_t size) {
  using Wide = unsigned __int128;
  const Wide limit = static_cast<Wide>(c.amount < 0 ? 0 : c.amount) * SizeUnitBytes(c.unit);
  const Wide value = static_cast<Wide>(size) * kScale;
  switch (c.filterType) {
    case 0:
      return value < limit;
    case 1:
      return value == limit;
    default:
      return value > limit;
  }
}

std::string SizeConditionText(const SizeCondition& c) {
  return SizeFilterTypeName(c.filterType) + " " + SizeAmountText(c.amount) + " " + SizeConditionUnitName(c.unit);
}

std::string SizeFilterTypeName(int filterType) {
  return filterType >= 0 && filterType < 3 ? z_Translate(kFilterTypes[filterType]) : "";
}

std::string SizeConditionUnitName(int unit) {
  return unit >= 0 && unit < kSizeUnitCount ? SizeUnitName(kUnitFormat[unit]) : "";
}

namespace select_rules {

bool SizeMatches(const ToolContext& c, const ResultGroup&, const ResultFile& f) {
  return SizeConditionMatches(c.request.size, f.size);
}

}  // namespace select_rules
}  // namespace twinex
