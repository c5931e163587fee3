#pragma once
// The technical data of a media file, from the media-information library's report, as sections
// of named values for the properties page.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace twinex::preview {

struct MediaSection {
  std::string name;  // "General", "Audio", "Video", "Image", …
  std::vector<std::pair<std::string, std::string>> values;
};

struct MediaReport {
  bool opened = false;
  std::string error;  // why the library gave no report
  std::vector<MediaSection> sections;
};

// The library's text report read into sections. The library's own name of the file is left out:
// it reads the file under a name of its own, and the page names the file itself.
std::vector<MediaSection> ParseMediaReport(std::string_view text);

MediaReport ReadMediaReport(const std::string& path);

}  // namespace twinex::preview
