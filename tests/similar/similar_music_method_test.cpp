#include "similar/similar_music_method.h"

#include <gtest/gtest.h>

#include "audio_fixture.h"
#include "audio_search.h"
#include "search/checksum_db_fixture.h"
#include "similar/fingerprint_program.h"

namespace twinex::test {
namespace {

MainSettings MusicSettings(const std::string& folder) {
  MainSettings m = SettingsFor({folder});
  m.search.SearchMethod = kMethodSimilarMusic;
  m.search.SimilarAudioSeconds = "15";
  m.search.SimilarAudioMatchPercent = "90";
  m.search.SimilarAudioAlgo = 1;  // algorithm "2"
  return m;
}

const Groups kMelodies = {{"melody 64k.mp3", "melody.flac", "melody.mp3", "melody.ogg", "melody.wav"},
                          {"other.mp3", "other.wav"}};

TEST(SimilarMusic, GroupsOneSongInEveryEncodingAndLogsWhatCouldNotBeAnalysed) {
  TWINEX_AUDIO_FIXTURES(audio);
  for (int children : {1, 2}) {
    similar::SetFingerprintChildren(children);
    AudioSearch run(MusicSettings(audio->Folder()));
    ASSERT_TRUE(run.outcome.started);
    EXPECT_EQ(run.groups(), kMelodies) << children << " children";
    for (const ResultGroup& g : run.search().result.groups)
      for (const ResultFile& f : g.files) EXPECT_GE(f.similar, 90) << f.dupname;
    // The clip is shorter than the analysed seconds; the broken file is no audio.
    EXPECT_TRUE(run.observer.Logged("INFO: Es konnte keine Prüfsumme von der Musikdatei '" + audio->Folder() +
                                    "/short.wav' erstellt werden. Entweder ist die Tonspur kürzer als 15 Sekunden oder "
                                    "es ist nicht genügend Ton in dem Messbereich vorhanden."));
    EXPECT_TRUE(run.LoggedStartingWith("Beim Erstellen der Prüfsumme von Datei '" + audio->Folder() + "/broken.mp3' ist ein Fehler aufgetreten: ", true));
    EXPECT_EQ(run.search().counters.checksumsCreated, 7u);
  }
  similar::SetFingerprintChildren(0);
}

TEST(SimilarMusic, SameExtensionAndAHigherPercentageNarrowTheGroups) {
  TWINEX_AUDIO_FIXTURES(audio);
  MainSettings m = MusicSettings(audio->Folder());
  m.search.SimilarAudioOnlySameFileType = true;
  AudioSearch sameType(m);
  EXPECT_EQ(sameType.groups(), (Groups{{"melody 64k.mp3", "melody.mp3"}}));
  // Different songs never come near: no group at a low percentage either.
  m = MusicSettings(audio->Folder());
  m.search.SimilarAudioMatchPercent = "50";
  AudioSearch low(m);
  EXPECT_EQ(low.groups(), kMelodies);
}

TEST(SimilarMusic, ASecondSearchTakesTheFingerprintsFromTheDatabase) {
  TWINEX_AUDIO_FIXTURES(audio);
  DbFolder db;
  db.Create();
  MainSettings m = MusicSettings(audio->Folder());
  m.search.usedb = true;
  SearchEnvironment env;
  env.database = db.loc;
  AudioSearch first(m, env);
  EXPECT_EQ(first.search().counters.dbChecksumsStored, 7u);
  AudioSearch second(m, env);
  EXPECT_EQ(second.groups(), kMelodies);
  EXPECT_EQ(second.search().counters.dbChecksumsUsed, 7u);
  // The two files without a fingerprint are tried again and still make none.
  EXPECT_EQ(second.search().counters.checksumsCreated, 0u);
  EXPECT_EQ(db.Query("SELECT count(*) FROM hasha WHERE seconds = 15 AND algo = 1"), 7);
  // Another length of analysis is another key: nothing is taken.
  m.search.SimilarAudioSeconds = "16";
  AudioSearch other(m, env);
  EXPECT_EQ(other.search().counters.dbChecksumsUsed, 0u);
  EXPECT_EQ(db.Query("SELECT count(*) FROM hasha"), 14);
}

TEST(SimilarMusic, AMissingProgramRefusesTheStartWithOneMessage) {
  TempDir t;
  t.Write("a.mp3", "x");
  t.Write("b.mp3", "x");
  const std::string before = similar::FingerprintProgram();
  similar::SetFingerprintProgram("/nonexistent/fpcalc");
  AudioSearch run(MusicSettings(t.path()));
  similar::SetFingerprintProgram(before);
  EXPECT_FALSE(run.outcome.started);
  ASSERT_EQ(run.prompt.texts.size(), 1u);
  EXPECT_EQ(run.prompt.texts[0], "Das Programm '/nonexistent/fpcalc' wurde nicht gefunden (Paket 'libchromaprint-tools').");
}

}  // namespace
}  // namespace twinex::test
