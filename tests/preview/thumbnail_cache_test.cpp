// Thumbnails: written once as PNG, reused, renamed when the picture changes, never made of a
// broken or oversized picture, and cleaned after a time without use.
#include "preview/thumbnail_cache.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "similar/picture_fixture.h"
#include "support/temp_dir.h"

namespace twinex::preview {
namespace {

std::string Save(const test::TempDir& t, const std::string& name, int w, int h, int seed) {
  test::DibPtr dib = test::DrawPattern(w, h, seed);
  const std::string path = t / name;
  EXPECT_EQ(platform::CreateFolderTree(platform::ParentFolder(path)), "");
  EXPECT_TRUE(test::Save(dib.get(), path, FreeImage_GetFIFFromFilename(name.c_str())));
  return path;
}

std::size_t Entries(const std::string& folder) {
  std::size_t n = 0;
  (void)platform::ListFolder(folder, [&](const platform::FileInfo&) { return ++n, true; });
  return n;
}

TEST(ThumbnailCache, AThumbnailIsWrittenOnceAndThenReused) {
  test::TempDir t;
  ThumbnailCache cache(ThumbnailCache::FolderIn(t / "temp"));
  const std::string picture = Save(t, "wide.png", 400, 100, 1);
  const ThumbnailResult first = cache.Get(picture, 64);
  ASSERT_TRUE(first.ok) << first.error;
  EXPECT_FALSE(first.fromCache);
  EXPECT_EQ(first.picture.width, 400);
  EXPECT_EQ(first.path.rfind(cache.folder(), 0), 0u);
  similar::Bitmap thumb;
  ASSERT_TRUE(similar::DecodePicture(first.path, {}, thumb).ok);
  EXPECT_EQ(thumb.width, 64);
  EXPECT_EQ(thumb.height, 16);
  const ThumbnailResult second = cache.Get(picture, 64);
  EXPECT_TRUE(second.ok && second.fromCache);
  EXPECT_EQ(second.path, first.path);
  EXPECT_EQ(Entries(cache.folder()), 1u);  // no temporary file left beside it
}

TEST(ThumbnailCache, NamesFollowThePictureItsChangesAndTheThumbnailSize) {
  test::TempDir t;
  ThumbnailCache cache(ThumbnailCache::FolderIn(t / "temp"));
  const std::string a = Save(t, "a/same.png", 50, 50, 1);
  const std::string b = Save(t, "b/same.png", 50, 50, 1);  // same name and bytes, other folder
  EXPECT_NE(cache.CacheFileOf(a, 64), cache.CacheFileOf(b, 64));
  EXPECT_NE(cache.CacheFileOf(a, 64), cache.CacheFileOf(a, 128));
  const std::string before = cache.Get(a, 64).path;
  test::SetMTime(a, 1600000000);
  const ThumbnailResult after = cache.Get(a, 64);
  EXPECT_NE(after.path, before);
  EXPECT_FALSE(after.fromCache);
  EXPECT_EQ(cache.CacheFileOf(t / "missing.png", 64), "");
}

TEST(ThumbnailCache, BrokenAndOversizedPicturesGiveAnErrorAndNoFile) {
  test::TempDir t;
  ThumbnailCache cache(ThumbnailCache::FolderIn(t / "temp"));
  test::DibPtr dib = test::DrawPattern(32, 32, 3);
  const std::vector<std::uint8_t> png = test::Encoded(dib.get(), FIF_PNG);
  const std::vector<std::uint8_t> bomb = test::WithAnnouncedSize(png, 20000, 20000);  // 400 megapixels
  const std::string bombPath = t.Write("bomb.png", std::string(bomb.begin(), bomb.end()));
  const std::string cutPath = t.Write("cut.jpg", std::string(png.begin(), png.begin() + 40));
  for (const std::string& path : {bombPath, cutPath, t.Write("text.jpg", "no picture")}) {
    const ThumbnailResult r = cache.Get(path, 64);
    EXPECT_FALSE(r.ok) << path;
    EXPECT_FALSE(r.error.empty()) << path;
  }
  EXPECT_EQ(Entries(cache.folder()), 0u);
}

TEST(ThumbnailCache, CleaningRemovesWhatWasNotUsedForLong) {
  test::TempDir t;
  ThumbnailCache cache(ThumbnailCache::FolderIn(t / "temp"));
  const std::string used = cache.Get(Save(t, "used.png", 40, 40, 1), 32).path;
  const std::string old = cache.Get(Save(t, "old.png", 40, 40, 2), 32).path;
  const std::int64_t now = 1800000000;
  test::SetMTime(old, now - ThumbnailCache::kMaxAgeSeconds - 10);
  test::SetMTime(used, now - ThumbnailCache::kMaxAgeSeconds - 10);
  const std::string leftover = t.Write("temp/thumbnails/.twinex-1-1.tmp", "half");
  test::SetMTime(leftover, now - 7200);
  const std::string young = t.Write("temp/thumbnails/.twinex-1-2.tmp", "being written");
  test::SetMTime(young, now - 10);
  test::SetMTime(used, now - 100);  // as a reuse marks it
  EXPECT_EQ(cache.Clean(now), 2u);
  EXPECT_TRUE(test::Exists(used));
  EXPECT_TRUE(test::Exists(young));
  EXPECT_FALSE(test::Exists(old));
  EXPECT_FALSE(test::Exists(leftover));
}

}  // namespace
}  // namespace twinex::preview
