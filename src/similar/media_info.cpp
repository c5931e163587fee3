#include "similar/media_info.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "platform/shared_library.h"

// The library's plain-C entry points with 8-bit texts. Declared here rather than through its
// header, whose inline C++ wrappers do not compile cleanly with our warnings.
extern "C" {
void* MediaInfoA_New();
void MediaInfoA_Delete(void* handle);
std::size_t MediaInfoA_Open(void* handle, const char* file);
void MediaInfoA_Close(void* handle);
const char* MediaInfoA_Option(void* handle, const char* option, const char* value);
const char* MediaInfoA_Inform(void* handle, std::size_t reserved);
const char* MediaInfoA_Get(void* handle, int streamKind, std::size_t streamNumber, const char* parameter, int infoKind,
                           int searchKind);
}

namespace twinex::similar {
namespace {

#define TWINEX_MEDIAINFO_FUNCTIONS(X) \
  X(MediaInfoA_New) X(MediaInfoA_Delete) X(MediaInfoA_Open) X(MediaInfoA_Close) X(MediaInfoA_Option) X(MediaInfoA_Get) \
  X(MediaInfoA_Inform)

struct MediaInfoLibrary {
  TWINEX_MEDIAINFO_FUNCTIONS(TWINEX_LIBRARY_MEMBER)
};

// Opened on the first file asked about; null when it cannot be loaded (the file then reads as
// one without properties, as a file the library cannot open does).
const MediaInfoLibrary* MediaInfoLib() {
  static const MediaInfoLibrary* lib =
      TWINEX_LOAD_LIBRARY(MediaInfoLibrary, TWINEX_MEDIAINFO_SONAME, TWINEX_MEDIAINFO_FUNCTIONS);
  return lib;
}

constexpr int kStreamAudio = 2;
constexpr int kInfoText = 1;
constexpr int kInfoName = 0;

bool InList(std::string_view list, std::string_view ext) {
  if (ext.empty()) return false;
  for (std::size_t p = list.find(ext); p != std::string_view::npos; p = list.find(ext, p + 1))
    if (p > 0 && list[p - 1] == '/' && p + ext.size() < list.size() && list[p + ext.size()] == '/') return true;
  return false;
}

// Owns one library handle and the descriptor it reads through.
class MediaHandle {
 public:
  MediaHandle() : lib_(MediaInfoLib()), handle_(lib_ ? lib_->MediaInfoA_New() : nullptr) {
    if (handle_) lib_->MediaInfoA_Option(handle_, "Internet", "No");
  }
  ~MediaHandle() {
    if (handle_) {
      lib_->MediaInfoA_Close(handle_);
      lib_->MediaInfoA_Delete(handle_);
    }
    if (fd_ >= 0) ::close(fd_);
  }
  MediaHandle(const MediaHandle&) = delete;
  MediaHandle& operator=(const MediaHandle&) = delete;

  // The library converts a path through the locale, so a name that is not plain ASCII (or not
  // UTF-8 at all) would not open. It is handed the descriptor's /proc name instead, which any
  // file name reaches.
  bool Open(const std::string& path) {
    if (!handle_) return false;
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return false;
    const std::string name = "/proc/self/fd/" + std::to_string(fd_);
    return lib_->MediaInfoA_Open(handle_, name.c_str()) == 1;
  }
  double Number(const char* parameter) const {
    const char* text = lib_->MediaInfoA_Get(handle_, kStreamAudio, 0, parameter, kInfoText, kInfoName);
    double value = 0;
    return text && ParseMediaNumber(text, value) ? value : 0;
  }
  std::string Report() const {
    lib_->MediaInfoA_Option(handle_, "Inform", "");
    const char* text = lib_->MediaInfoA_Inform(handle_, 0);
    return text ? text : "";
  }

 private:
  const MediaInfoLibrary* lib_;
  void* handle_;
  int fd_ = -1;
};

}  // namespace

bool ParseMediaNumber(std::string_view text, double& value) {
  if (text.empty() || text.size() >= 16) return false;
  bool digits = false, point = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9')
      digits = true;
    else if (c == '.' && !point)
      point = true;
    else if (!(c == '-' && i == 0))
      return false;
  }
  if (!digits) return false;
  value = std::strtod(std::string(text).c_str(), nullptr);
  return std::isfinite(value);
}

AudioProperties GetMP3MediaInfo(const std::string& path) {
  AudioProperties p;
  MediaHandle media;
  if (!media.Open(path)) return p;
  p.opened = true;
  p.seconds = std::max(0.0, media.Number("Duration") / 1000.0);
  p.bitRate = std::max<std::int64_t>(0, std::llround(media.Number("BitRate")));
  p.samplingRate = std::max<std::int64_t>(0, std::llround(media.Number("SamplingRate")));
  return p;
}

bool MediaInfoReportText(const std::string& path, std::string& report) {
  MediaHandle media;
  if (!media.Open(path)) return false;
  report = media.Report();
  return true;
}

std::int64_t TrackSeconds(const AudioProperties& p) { return std::llround(p.seconds); }

std::string TrackLengthText(double seconds) {
  const std::int64_t whole = std::llround(seconds);
  const std::int64_t s = whole % 60;
  return std::to_string(whole / 60) + (s < 10 ? ":0" : ":") + std::to_string(s);
}

bool IsTrackLengthExtension(std::string_view ext) {
  return InList("/aac/ac3/aiff/ape/au/dts/flac/m4a/mp2/mp3/ogg/wav/wma/asf/avi/ogv/m2ts/m4v/mkv/mov/mp4/mpg/ts/webm/wmv/", ext);
}

bool IsMusicExtension(std::string_view ext) {
  return InList("/mp3/flac/m4a/wma/wav/ogg/aac/mp2/m4r/ape/mka/aif/aiff/", ext);
}

}  // namespace twinex::similar
