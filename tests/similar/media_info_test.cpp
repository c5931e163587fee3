#include "similar/media_info.h"

#include <gtest/gtest.h>

#include "audio_fixture.h"

namespace twinex::similar {
namespace {

TEST(MediaInfo, OnlyShortDecimalNumbersAreValues) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"20036", true, 20036}, {"20000.500", true, 20000.5}, {"44100", true, 44100}, {"", false, 0},
      {"44100 / 22050", false, 0}, {"1,5", false, 0}, {"1.2.3", false, 0}, {"abc", false, 0},
      {"123456789012345", true, 123456789012345.0}, {"1234567890123456", false, 0},
  };
  for (const Case& c : cases) {
    double v = 0;
    EXPECT_EQ(ParseMediaNumber(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
  }
}

TEST(MediaInfo, ReadsDurationBitRateAndSamplingRate) {
  TWINEX_AUDIO_FIXTURES(audio);
  const std::string m = audio->Folder() + "/";
  const AudioProperties wav = GetMP3MediaInfo(m + "melody.wav");
  EXPECT_TRUE(wav.opened);
  EXPECT_EQ(TrackSeconds(wav), 20);
  EXPECT_EQ(wav.bitRate, 705600);
  EXPECT_EQ(wav.samplingRate, 44100);
  const AudioProperties mp3 = GetMP3MediaInfo(m + "melody 64k.mp3");
  EXPECT_EQ(TrackSeconds(mp3), 20);
  EXPECT_EQ(mp3.bitRate, 64000);
  EXPECT_EQ(TrackSeconds(GetMP3MediaInfo(m + "other.wav")), 22);

  // A file that is no audio has no length; one that is not there does not open.
  const AudioProperties broken = GetMP3MediaInfo(m + "broken.mp3");
  EXPECT_EQ(TrackSeconds(broken), 0);
  EXPECT_EQ(broken.bitRate, 0);
  EXPECT_FALSE(GetMP3MediaInfo(m + "missing.mp3").opened);
}

TEST(MediaInfo, NamesThatAreNotUtf8AreRead) {
  TWINEX_AUDIO_FIXTURES(audio);
  test::TempDir t;
  const std::string odd = t.Write("\xff\xfe b\xc3\xa4r.mp3", test::ReadFile(audio->Folder() + "/melody.mp3"));
  EXPECT_EQ(TrackSeconds(GetMP3MediaInfo(odd)), 20);
}

}  // namespace
}  // namespace twinex::similar
