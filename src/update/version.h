#pragma once
// Program versions: the installed one (from the build) and the ones the update server publishes
// in its version files ("#" followed by major.minor.third).
#include <optional>
#include <string>

namespace twinex::update {

struct Version {
  int major = 0;
  int minor = 0;
  int third = 0;
  // "4.6.0"
  std::string Text() const;
};

// The version this program was built as.
Version InstalledVersion();

// A version file is valid when, trimmed, it begins with "#" followed by a digit; the version is
// the text after the "#" without line breaks. Missing fields read 0; a field that is not a number
// makes the file invalid.
std::optional<Version> ParseVersionFile(const std::string& text);
// "4.5.0.70", "4.6": the first three fields; nullopt when one of them is not a number.
std::optional<Version> ParseVersionText(const std::string& text);

// True when `available` is newer than `installed`: a greater major number, or equal major and a
// greater minor number, or equal major and minor and a greater third number.
bool IsNewer(const Version& available, const Version& installed);

// The update window's labels: "?" until known. Returns the text of the Internet label after the
// comparison ("-" when either label is "?" or empty) and whether it is newer (the tag "1").
struct LabelComparison {
  std::string internetLabel;
  bool newer = false;
};
LabelComparison CompareVersionLabels(const std::string& installedLabel, const std::string& internetLabel);

}  // namespace twinex::update
