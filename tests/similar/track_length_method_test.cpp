#include "similar/track_length_method.h"

#include <gtest/gtest.h>

#include "audio_fixture.h"
#include "audio_search.h"
#include "settings/settings_file.h"

namespace twinex::test {
namespace {

MainSettings TrackSettings(const std::string& folder, const std::string& tolerance) {
  MainSettings m = SettingsFor({folder});
  m.search.SearchMethod = kMethodTrackLength;
  m.search.AudioSeconds = tolerance;
  return m;
}

const std::vector<std::string> kTwentySeconds = {"melody 64k.mp3", "melody.flac", "melody.mp3", "melody.ogg",
                                                 "melody.wav"};

TEST(TrackLength, WithoutToleranceOnlyEqualWholeSecondsMatch) {
  TWINEX_AUDIO_FIXTURES(audio);
  AudioSearch run(TrackSettings(audio->Folder(), "0"));
  ASSERT_TRUE(run.outcome.started);
  // other.wav and other.mp3 last 22 s; the broken file has no length and matches nothing.
  EXPECT_EQ(run.groups(), (Groups{kTwentySeconds, {"other.mp3", "other.wav"}}));
  const ResultGroup& g = run.search().result.groups.front();
  EXPECT_EQ(g.dupname == "0:20" || g.dupname == "0:22", true) << g.dupname;
  for (const ResultGroup& group : run.search().result.groups)
    for (const ResultFile& f : group.files) {
      EXPECT_GT(f.AudioDurationVal(), 0) << f.dupname;
      EXPECT_EQ(f.AudioSamplingrate(), 44100) << f.dupname;
      EXPECT_EQ(f.Extras().AudioDuration, f.AudioDurationVal() == 20 ? "0:20" : "0:22") << f.dupname;
    }
}

TEST(TrackLength, AToleranceJoinsNearLengthsAndTheOptionsNarrowThem) {
  TWINEX_AUDIO_FIXTURES(audio);
  AudioSearch two(TrackSettings(audio->Folder(), "2"));
  std::vector<std::string> all = kTwentySeconds;
  all.insert(all.end(), {"other.mp3", "other.wav"});
  std::sort(all.begin(), all.end());
  EXPECT_EQ(two.groups(), (Groups{all}));

  MainSettings m = TrackSettings(audio->Folder(), "2");
  m.search.AudioOnlySameFileType = true;
  AudioSearch sameType(m);
  EXPECT_EQ(sameType.groups(), (Groups{{"melody 64k.mp3", "melody.mp3", "other.mp3"}, {"melody.wav", "other.wav"}}));
  m.search.AudioOnlySameFileName = true;
  AudioSearch sameName(m);
  EXPECT_EQ(sameName.groups(), (Groups{}));
  m.search.AudioOnlySameFileType = false;
  AudioSearch nameOnly(m);
  EXPECT_EQ(nameOnly.groups(), (Groups{{"melody.flac", "melody.mp3", "melody.ogg", "melody.wav"}, {"other.mp3", "other.wav"}}));
}

TEST(TrackLength, FilesWithoutALengthNeverMatch) {
  TWINEX_AUDIO_FIXTURES(audio);
  TempDir t;
  t.Write("a.mp3", std::string(3000, 'x'));
  t.Write("b.mp3", std::string(3000, 'x'));
  t.Write("c.mkv", std::string(3000, 'x'));
  t.Write("notes.txt", "not a media file");
  AudioSearch run(TrackSettings(t.path(), "5"));
  EXPECT_TRUE(run.groups().empty());
}

TEST(TrackLength, AnySearchFillsTheAudioColumnsWhenTheyAreShown) {
  TWINEX_AUDIO_FIXTURES(audio);
  TempDir t;
  const std::string song = test::ReadFile(audio->Folder() + "/melody.mp3");
  t.Write("music/a.mp3", song);
  t.Write("music/b.mp3", song);
  const std::string ini = t / "config4.ini";
  SearchEnvironment env;
  env.settingsFile = ini;
  AudioSearch hidden(SettingsFor({t / "music"}), env);
  ASSERT_EQ(hidden.groups().size(), 1u);
  EXPECT_EQ(hidden.search().result.groups[0].files[0].AudioBitrate(), 0);

  ProfilePutItemWide("Optionen", "ColumnAudioBitRate", "1", ini);
  AudioSearch shown(SettingsFor({t / "music"}), env);
  ASSERT_EQ(shown.groups().size(), 1u);
  for (const ResultFile& f : shown.search().result.groups[0].files) {
    EXPECT_EQ(f.AudioBitrate(), 128000);
    EXPECT_EQ(f.AudioSamplingrate(), 44100);
    EXPECT_EQ(f.AudioDurationVal(), 20);
  }
}

}  // namespace
}  // namespace twinex::test
