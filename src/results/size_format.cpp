// Size texts in a chosen unit ("FormatSize") and the unit names of the headers.
#include <cmath>
#include <string>

#include "platform/number_format.h"
#include "results/result_tree.h"
#include "platform/text.h"
#include "settings/translate.h"
#include "settings/window_settings.h"

namespace twinex {

namespace {

struct SizeUnit {
  int formatType;
  double divisor;
  const char* name;
};

// FormatType 4 is the automatic choice and has no unit of its own.
constexpr SizeUnit kUnits[] = {
    {0, 1.0, "Bytes"},
    {1, 1024.0, "KB"},
    {2, 1048576.0, "MB"},
    {3, 1073741824.0, "GB"},
    {5, 1099511627776.0, "TB"},
};

const SizeUnit* UnitOf(int formatType) {
  for (const SizeUnit& u : kUnits)
    if (u.formatType == formatType) return &u;
  return nullptr;
}

constexpr int kAutomatic = 4;

// The two number formats in use; a trailing blank of the format text is kept.
std::string FormatNumber(double value, const std::string& format) {
  std::string text = format.find('.') != std::string::npos
                         ? platform::FormatDecimal2(value)
                         : platform::FormatCount(static_cast<std::uint64_t>(std::llround(value)));
  if (!format.empty() && format.back() == ' ') text.push_back(' ');
  return text;
}

}  // namespace

std::string FormatFileSizeA(int formatType, std::uint64_t size, const std::string& formatString) {
  const SizeUnit* unit = UnitOf(formatType);
  if (!unit) return {};
  if (unit->formatType == 0) return platform::FormatCount(size);
  return FormatNumber(static_cast<double>(size) / unit->divisor, formatString);
}

// Bytes get the blank before the unit name as well, so "1,024 Bytes" reads like "1.00 KB".
std::string FormatFileSizeB(int formatType, std::uint64_t size) {
  const SizeUnit* unit = UnitOf(formatType);
  if (!unit) return {};
  return FormatFileSizeA(formatType, size, "###,##0.00") + " " + unit->name;
}

std::string SizeDisplayText(std::uint64_t size, int formatSize, int formatSizeDecimal) {
  if (formatSize == kAutomatic) return platform::FormatSizeAuto(size, true);
  if (!UnitOf(formatSize)) return platform::FormatCount(size);
  return FormatFileSizeA(formatSize, size, formatSizeDecimal == 1 ? "###,##0.00" : "###,###,##0");
}

void ReadSizeFormat(ResultDisplay& display, const std::string& settingsFile) {
  long long unit = 0, decimal = 1;
  // An unknown unit shows bytes, as an empty key does.
  if (!platform::ParseLong(ReadSetting("Optionen", "FormatSize", settingsFile), unit) ||
      (!UnitOf(static_cast<int>(unit)) && unit != kAutomatic))
    unit = 0;
  if (!platform::ParseLong(ReadSetting("Optionen", "FormatSizeDecimal", settingsFile), decimal)) decimal = 1;
  display.formatSize = static_cast<int>(unit);
  display.formatSizeDecimal = decimal == 1 ? 1 : 0;
}

std::string SizeUnitName(int formatSize) {
  if (formatSize == kAutomatic) return z_Translate(13044, "Automatisch");
  const SizeUnit* unit = UnitOf(formatSize);
  return unit ? unit->name : kUnits[0].name;
}

}  // namespace twinex
