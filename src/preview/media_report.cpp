#include "preview/media_report.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "similar/media_info.h"

namespace twinex::preview {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::vector<MediaSection> ParseMediaReport(std::string_view text) {
  std::vector<MediaSection> sections;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty()) continue;
    const std::size_t colon = line.find(" : ");
    if (colon == std::string_view::npos) {
      sections.push_back({std::string(line), {}});
      continue;
    }
    const std::string_view name = Trim(line.substr(0, colon));
    if (name == "Complete name") continue;
    if (sections.empty()) sections.push_back({"", {}});
    sections.back().values.emplace_back(std::string(name), std::string(Trim(line.substr(colon + 3))));
  }
  return sections;
}

MediaReport ReadMediaReport(const std::string& path) {
  MediaReport report;
  // The library says nothing about why it could not open a file; the system does.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    report.error = std::strerror(errno);
    return report;
  }
  ::close(fd);
  std::string text;
  if (!similar::MediaInfoReportText(path, text)) {
    report.error = "the file could not be opened";
    return report;
  }
  report.opened = true;
  report.sections = ParseMediaReport(text);
  return report;
}

}  // namespace twinex::preview
