#pragma once
// Real audio made by ffmpeg for the music tests: one melody in several encodings, another
// melody, a clip too short to analyse and a file that is no audio at all. Made once per test
// program; the tests skip when ffmpeg is not installed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/process.h"
#include "support/temp_dir.h"

namespace twinex::test {

class AudioFixtures {
 public:
  // The shared set, or null (with the reason in `why`) when ffmpeg is missing or failed.
  static const AudioFixtures* Get(std::string& why) {
    static std::unique_ptr<AudioFixtures> made;
    static std::string error;
    static bool tried = false;
    if (!tried) {
      tried = true;
      auto f = std::make_unique<AudioFixtures>();
      error = f->Make();
      if (error.empty()) made = std::move(f);
    }
    why = error;
    return made.get();
  }

  // Files of one source folder: the melody as WAV, FLAC, MP3 at 128 and 64 kbit/s, and OGG;
  // the other melody as WAV and MP3; the short clip; the broken file.
  std::string Folder() const { return dir.path() + "/music"; }
  TempDir dir;

 private:
  // A melody: a tone that jumps every quarter (or third) of a second through a scale.
  static std::string Tune(int base, int step, int perSecond, int seconds) {
    return "aevalsrc=0.5*sin(2*PI*t*(" + std::to_string(base) + "*pow(2\\,mod(floor(t*" + std::to_string(perSecond) +
           ")*" + std::to_string(step) + "\\,12)/12))):s=44100:d=" + std::to_string(seconds);
  }
  std::string Run(std::vector<std::string> args) {
    std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-v", "error", "-y"};
    argv.insert(argv.end(), args.begin(), args.end());
    return platform::RunProgram(argv);
  }
  std::string Make() {
    if (platform::FindProgram("ffmpeg").empty()) return "ffmpeg is not installed (scripts/install-deps)";
    dir.MakeDir("music");
    const std::string m = Folder() + "/";
    const std::string source = dir / "melody.wav";
    for (const auto& step : std::vector<std::vector<std::string>>{
             {"-f", "lavfi", "-i", Tune(220, 5, 4, 20), "-ac", "1", source},
             {"-i", source, m + "melody.wav"},
             {"-i", source, m + "melody.flac"},
             {"-i", source, "-b:a", "128k", m + "melody.mp3"},
             {"-i", source, "-b:a", "64k", m + "melody 64k.mp3"},
             {"-i", source, "-c:a", "libvorbis", m + "melody.ogg"},
             {"-f", "lavfi", "-i", Tune(330, 7, 3, 22), "-ac", "1", m + "other.wav"},
             {"-i", m + "other.wav", "-b:a", "128k", m + "other.mp3"},
             {"-f", "lavfi", "-i", Tune(440, 3, 4, 1), "-ac", "1", m + "short.wav"},
         })
      if (std::string e = Run(step); !e.empty()) return "ffmpeg: " + e;
    dir.Write("music/broken.mp3", std::string(4000, '\x5a'));
    return "";
  }
};

#define TWINEX_AUDIO_FIXTURES(var)                             \
  std::string why_;                                            \
  const ::twinex::test::AudioFixtures* var = ::twinex::test::AudioFixtures::Get(why_); \
  if (!var) GTEST_SKIP() << why_

}  // namespace twinex::test
