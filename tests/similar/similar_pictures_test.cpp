// The similar-pictures search over real picture files made in the test: which copies group
// with their original under each setting, the percentages, the database cache, bad pictures,
// and the picture columns the selection reads.
#include "similar/similar_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "results/selection.h"
#include "results/selection_tools.h"
#include "search/archive_fixture.h"
#include "search/checksum_db_fixture.h"
#include "similar/picture_fixture.h"
#include "similar/similar_pictures_method.h"
#include "similar/similar_names_method.h"

namespace twinex::test {
namespace {

using Names = std::set<std::string>;

// The original "a", its copies, and another picture "b".
struct PictureFolder {
  TempDir t;
  std::string dir = t / "pics";
  PictureFolder() {
    t.MakeDir("pics");
    DibPtr a = DrawPattern(320, 240, 1);
    Save(a.get(), dir + "/a.png", FIF_PNG);
    Save(Resized(a.get(), 160, 120).get(), dir + "/a_small.jpg", FIF_JPEG, 90);
    Save(a.get(), dir + "/a_q30.jpg", FIF_JPEG, 30);
    Save(Cropped(a.get(), 12, 9).get(), dir + "/a_cut.png", FIF_PNG);
    Save(Turned(a.get(), 90).get(), dir + "/a_turn.png", FIF_PNG);
    Save(Mirrored(a.get()).get(), dir + "/a_mirror.png", FIF_PNG);
    Save(DrawPattern(320, 240, 2).get(), dir + "/b.png", FIF_PNG);
  }
};

MainSettings PictureSettings(const std::string& folder, int algo, int percent) {
  MainSettings m = SettingsFor({folder});
  m.search.SearchMethod = kMethodSimilarPictures;
  m.search.SimiliarImagesAlgo = algo;
  m.search.SimilarPicsThumbSizeIndex = algo == similar::kPHash ? 0 : 1;
  m.search.SimilarPicsMatchPercent = std::to_string(percent);
  m.search.SimiliarImagesOnlySameFileType = false;
  m.search.SimiliarImagesOnlySameRatio = false;
  m.search.usedb = false;
  return m;
}

struct PictureSearch {
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome outcome;
  explicit PictureSearch(const MainSettings& m, DatabaseLocation db = {}, std::string temp = "/nonexistent-twinex-temp") {
    similar::InstallSimilarMethods();
    SearchEnvironment env;
    env.programTempFolder = std::move(temp);
    env.database = db;
    outcome = StartSearchForDups(m, env, observer, prompt);
  }
  ResultTree& result() { return outcome.search->result; }
  const SearchCounters& counters() const { return outcome.search->counters; }
  std::vector<Names> Groups() const {
    std::vector<Names> out;
    for (const ResultGroup& g : outcome.search->result.groups) {
      Names n;
      for (const ResultFile& f : g.files) n.insert(f.dupname);
      out.push_back(n);
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  const ResultFile* Row(const std::string& name) const {
    for (const ResultGroup& g : outcome.search->result.groups)
      for (const ResultFile& f : g.files)
        if (f.dupname == name) return &f;
    return nullptr;
  }
};

TEST(SimilarPicturesSearch, EveryHashGroupsResizedAndReencodedCopiesButNotAnotherPicture) {
  PictureFolder f;
  for (int algo : {similar::kAHash, similar::kDHash, similar::kMHash, similar::kPHash, similar::kBHash}) {
    PictureSearch s(PictureSettings(f.dir, algo, 85));
    ASSERT_TRUE(s.outcome.started) << algo;
    const auto groups = s.Groups();
    ASSERT_EQ(groups.size(), 1u) << algo;
    const Names& g = groups[0];
    EXPECT_TRUE(g.count("a.png") && g.count("a_small.jpg") && g.count("a_q30.jpg")) << algo;
    EXPECT_FALSE(g.count("b.png") || g.count("a_turn.png") || g.count("a_mirror.png")) << algo;
    EXPECT_TRUE(s.observer.errors.empty()) << algo;
  }
}

TEST(SimilarPicturesSearch, TurnedAndMirroredCopiesMatchOnlyThroughTheirTickedVariant) {
  PictureFolder f;
  MainSettings m = PictureSettings(f.dir, similar::kAHash, 90);
  m.search.SimiliarImagesRotateFlip = true;
  m.search.SimiliarImagesRotateFlipN = {};
  m.search.SimiliarImagesRotateFlipN[3] = true;  // slot 4: mirrored left to right
  PictureSearch mirrorOnly(m);
  const ResultFile* mirror = mirrorOnly.Row("a_mirror.png");
  ASSERT_NE(mirror, nullptr);
  EXPECT_GE(mirror->similar, 90);
  EXPECT_EQ(mirrorOnly.Row("a_turn.png"), nullptr);

  m.search.SimiliarImagesRotateFlipN.fill(true);
  m.search.SimiliarImagesOnlySameFormat = true;  // the turned copy is upright: still compared
  PictureSearch all(m);
  EXPECT_NE(all.Row("a_turn.png"), nullptr);
  EXPECT_NE(all.Row("a_mirror.png"), nullptr);
  EXPECT_EQ(all.Row("b.png"), nullptr);
  // Each variant tried counts as one comparison: more than one per pair.
  EXPECT_GT(all.counters().fileComparisons, 21u);
}

TEST(SimilarPicturesSearch, PercentagesFallWithTheChangeAndTheRowsCarryThePictureSize) {
  PictureFolder f;
  PictureSearch s(PictureSettings(f.dir, similar::kAHash, 80));
  const ResultFile* original = s.Row("a.png");
  const ResultFile* small = s.Row("a_small.jpg");
  const ResultFile* cut = s.Row("a_cut.png");
  ASSERT_TRUE(original && small && cut);
  EXPECT_GE(small->similar, 95);
  EXPECT_LT(cut->similar, small->similar);
  EXPECT_EQ(small->picW, 160);
  EXPECT_EQ(small->picH, 120);
  EXPECT_EQ(original->picW * original->picH, 320 * 240);

  // Keeping the picture with most pixels keeps the original (of two at full size, the bigger
  // file).
  Selection sel(s.result());
  Select_AllButNotTheMostMP(sel);
  for (const ResultFile& row : s.result().groups[0].files) EXPECT_EQ(row.selected, row.dupname != "a.png") << row.dupname;

  // A row whose size was not read gets it from its file.
  ResultFile unread = *small;
  unread.picW = unread.picH = 0;
  unread.GetFileInfo = true;
  similar::ReadPictureFileInfo(unread);
  EXPECT_EQ(unread.picW, 160);
  EXPECT_FALSE(unread.GetFileInfo);
}

TEST(SimilarPicturesSearch, SameSizeRestrictionAndFullMatchNeedEqualPicturesAndHashes) {
  PictureFolder f;
  MainSettings m = PictureSettings(f.dir, similar::kAHash, 85);
  m.search.SimiliarImagesOnlySameDimension = true;
  PictureSearch sameSize(m);
  EXPECT_EQ(sameSize.Row("a_small.jpg"), nullptr);
  EXPECT_NE(sameSize.Row("a_q30.jpg"), nullptr);

  PictureSearch full(PictureSettings(f.dir, similar::kAHash, 100));
  for (const ResultGroup& g : full.result().groups)
    for (const ResultFile& row : g.files) EXPECT_EQ(row.similar, 100) << row.dupname;
}

TEST(SimilarPicturesSearch, PixelDigestsIgnoreTheFileFormatButSeeOnePixel) {
  TempDir t;
  t.MakeDir("p");
  DibPtr a = DrawPattern(64, 48, 5);
  Save(a.get(), t / "p/a.png", FIF_PNG);
  Save(a.get(), t / "p/a.bmp", FIF_BMP);
  Save(a.get(), t / "p/a.tif", FIF_TIFF);
  RGBQUAD dot{1, 2, 3, 0};
  FreeImage_SetPixelColor(a.get(), 30, 20, &dot);
  Save(a.get(), t / "p/dot.png", FIF_PNG);
  MainSettings m = PictureSettings(t / "p", similar::kMd5, 100);
  for (auto& e : m.search.SimilarImageExtensions) e.ticked = e.ticked || e.ext == "tif";
  PictureSearch s(m);
  ASSERT_EQ(s.Groups(), (std::vector<Names>{{"a.bmp", "a.png", "a.tif"}}));
}

TEST(SimilarPicturesSearch, BadPicturesAreLoggedOnceAndLeftOut) {
  PictureFolder f;
  f.t.Write("pics/empty.jpg", "");
  f.t.Write("pics/words.png", "not a picture at all");
  std::vector<std::uint8_t> jpg = Encoded(DrawPattern(200, 100, 9).get(), FIF_JPEG);
  f.t.Write("pics/cut.gif", std::string(jpg.begin(), jpg.begin() + 40));
  PictureSearch s(PictureSettings(f.dir, similar::kDHash, 85));
  ASSERT_EQ(s.observer.errors.size(), 3u);
  for (const std::string& e : s.observer.errors)
    EXPECT_NE(e.find("Beim Erstellen der Prüfsumme von Datei '" + f.dir + "/"), std::string::npos) << e;
  EXPECT_EQ(s.Groups().size(), 1u);
  EXPECT_NE(s.Row("a_small.jpg"), nullptr);
}

TEST(SimilarPicturesSearch, HashesComeFromTheDatabaseOnlyForTheSameSettings) {
  PictureFolder f;
  DbFolder db;
  db.Create();
  MainSettings m = PictureSettings(f.dir, similar::kDHash, 85);
  m.search.usedb = true;
  PictureSearch first(m, db.loc);
  EXPECT_EQ(first.counters().dbChecksumsStored, 7u);
  PictureSearch again(m, db.loc);
  EXPECT_EQ(again.counters().dbChecksumsUsed, 7u);
  EXPECT_EQ(again.counters().checksumsCreated, 0u);
  EXPECT_EQ(again.Groups(), first.Groups());
  const ResultFile* small = again.Row("a_small.jpg");
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->picW, 160);  // read from the file's header

  m.search.SimilarPicsThumbSizeIndex = 0;  // 8 x 8: another type code
  PictureSearch other(m, db.loc);
  EXPECT_EQ(other.counters().dbChecksumsUsed, 0u);
  EXPECT_EQ(db.Query("SELECT count(*) FROM hashp WHERE ctype = 160"), 7);
  EXPECT_EQ(db.Query("SELECT count(*) FROM hashp WHERE ctype = 150"), 7);
}

TEST(SimilarPicturesSearch, PicturesInsideArchivesAreHashedFromTheirTemporaryCopies) {
  TempDir t;
  t.MakeDir("src");
  t.MakeDir("tmp");
  DibPtr a = DrawPattern(320, 240, 11);
  Save(a.get(), t / "src/a.png", FIF_PNG);
  const std::vector<std::uint8_t> copy = Encoded(Resized(a.get(), 200, 150).get(), FIF_JPEG, 80);
  WriteArchiveIn(t / "src/album.zip", "zip", "", {{"inner/a_copy.jpg", std::string(copy.begin(), copy.end())}});
  MainSettings m = PictureSettings(t / "src", similar::kAHash, 90);
  m.search.ScanArchives = true;
  m.search.ScanArchive.fill(true);
  PictureSearch s(m, {}, t / "tmp");
  const ResultFile* member = s.Row("a_copy.jpg");
  ASSERT_NE(member, nullptr) << (s.observer.errors.empty() ? "" : s.observer.errors[0]);
  EXPECT_EQ(member->PathA(), "inner/a_copy.jpg");
  EXPECT_EQ(member->picW, 200);
  EXPECT_NE(s.Row("a.png"), nullptr);
}

}  // namespace
}  // namespace twinex::test
