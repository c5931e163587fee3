// Archive members reach the preview through copies of its own, one at a time.
#include "preview/preview_copies.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "search/archive_fixture.h"
#include "support/temp_dir.h"

namespace twinex::preview {
namespace {

ResultFile Member(const std::string& archive, const std::string& inner) {
  ResultFile f;
  f.path = archive;
  f.SetPathA(inner);
  f.dupname = platform::FileNameOf(inner);
  f.archiv = 1;
  return f;
}

TEST(PreviewCopies, MembersAreExtractedAndOnlyTheNewestCopyStays) {
  test::TempDir t;
  const std::string zip = t / "box.zip";
  test::WriteArchive(zip, "zip", "", test::CommonEntries());
  RunControl run;
  std::string first, second;
  {
    PreviewCopies copies(t.MakeDir("temp"));
    ResultFile plain;
    plain.path = t.path();
    plain.dupname = "box.zip";
    EXPECT_EQ(copies.SourceOf(plain, run).path, zip);

    const PreviewSource a = copies.SourceOf(Member(zip, "docs/Bücher/Größe.txt"), run);
    ASSERT_TRUE(a.ok) << a.message;
    EXPECT_TRUE(a.extracted);
    EXPECT_EQ(test::ReadFile(a.path), "umlaut content\n");
    first = a.path;
    const PreviewSource b = copies.SourceOf(Member(zip, "top.txt"), run);
    ASSERT_TRUE(b.ok) << b.message;
    second = b.path;
    EXPECT_FALSE(test::Exists(first));
    EXPECT_TRUE(test::Exists(second));

    // A copy the search kept is read where it lies.
    ResultFile kept = Member(zip, "top.txt");
    kept.EditExtras().tmppath = second;
    const PreviewSource k = copies.SourceOf(kept, run);
    EXPECT_EQ(k.path, second);
    EXPECT_FALSE(k.extracted);

    const PreviewSource missing = copies.SourceOf(Member(zip, "nothere.txt"), run);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.message.find("Beim Entpacken der Datei 'nothere.txt'"), std::string::npos) << missing.message;
  }
  EXPECT_FALSE(test::Exists(second));
  EXPECT_TRUE(platform::IsEmptyFolder(t / "temp"));
}

}  // namespace
}  // namespace twinex::preview
