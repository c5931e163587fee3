#pragma once
// Duration, bit rate and sampling rate of the first audio stream of a music or video file, read
// with the media-information library (never asking the internet).
#include <cstdint>
#include <string>
#include <string_view>

namespace twinex::similar {

struct AudioProperties {
  bool opened = false;        // the library could open the file
  double seconds = 0;         // duration; 0 when unknown
  std::int64_t bitRate = 0;   // bits per second; 0 when unknown
  std::int64_t samplingRate = 0;
};

// A value as the library writes it: a decimal number ("." as decimal point) shorter than 16
// characters. Anything else (empty, "44100 / 22050", a text) is no value.
bool ParseMediaNumber(std::string_view text, double& value);

AudioProperties GetMP3MediaInfo(const std::string& path);

// The library's whole report on the file in its plain text form ("Section" lines, then
// "Name   : value" lines). False when the library cannot open the file.
bool MediaInfoReportText(const std::string& path, std::string& report);

// The track length in whole seconds, rounded to the nearest (0: no length).
std::int64_t TrackSeconds(const AudioProperties& properties);
// "m:ss" (minutes may pass 59), as the duration column and the group caption show it.
std::string TrackLengthText(double seconds);

// The extensions of the track-length method: music and video files.
bool IsTrackLengthExtension(std::string_view lowerExtension);
// The extensions of the similar-music method.
bool IsMusicExtension(std::string_view lowerExtension);

}  // namespace twinex::similar
