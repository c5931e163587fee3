#include "update/version.h"

#include <tuple>

#include "platform/text.h"
#include "twinex_version.h"

namespace twinex::update {
namespace {

bool ParseField(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

std::string WithoutLineBreaks(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

}  // namespace

std::string Version::Text() const {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(third);
}

Version InstalledVersion() { return {TWINEX_VERSION_MAJOR, TWINEX_VERSION_MINOR, TWINEX_VERSION_PATCH}; }

std::optional<Version> ParseVersionText(const std::string& text) {
  std::vector<std::string> fields = platform::Split(platform::Trim(text), '.');
  int values[3] = {0, 0, 0};
  for (std::size_t i = 0; i < 3 && i < fields.size(); ++i)
    if (!ParseField(platform::Trim(fields[i]), values[i])) return std::nullopt;
  if (fields.empty()) return std::nullopt;
  return Version{values[0], values[1], values[2]};
}

std::optional<Version> ParseVersionFile(const std::string& text) {
  const std::string trimmed = platform::Trim(text);
  if (trimmed.size() < 2 || trimmed[0] != '#' || trimmed[1] < '0' || trimmed[1] > '9') return std::nullopt;
  return ParseVersionText(WithoutLineBreaks(trimmed.substr(1)));
}

bool IsNewer(const Version& available, const Version& installed) {
  return std::tie(available.major, available.minor, available.third) >
         std::tie(installed.major, installed.minor, installed.third);
}

LabelComparison CompareVersionLabels(const std::string& installedLabel, const std::string& internetLabel) {
  if (installedLabel.empty() || installedLabel == "?" || internetLabel.empty() || internetLabel == "?")
    return {"-", false};
  const std::optional<Version> installed = ParseVersionText(installedLabel);
  const std::optional<Version> available = ParseVersionText(internetLabel);
  if (!installed || !available) return {"-", false};
  return {internetLabel, IsNewer(*available, *installed)};
}

}  // namespace twinex::update
