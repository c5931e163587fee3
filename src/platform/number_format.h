#pragma once
// Number display with the grouping and decimal separators of the user's locale (LC_NUMERIC);
// "," and "." where the locale has none.
#include <cstdint>
#include <string>

namespace twinex::platform {

// "###,###,##0"
std::string FormatCount(std::uint64_t value);
std::string FormatCount(std::int64_t value);
// "###,##0.00"
std::string FormatDecimal2(double value);
// The automatic size format: TB above 1 TiB, GB above 999 MiB, MB above 1 MiB, KB above 1 KiB,
// else bytes; with the unit after one blank when asked.
std::string FormatSizeAuto(std::uint64_t size, bool withUnit = true);

// Separators in use (for tests and parsing).
std::string GroupingSeparatorText();
std::string DecimalSeparatorText();

}  // namespace twinex::platform
