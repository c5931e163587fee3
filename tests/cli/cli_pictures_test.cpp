// Similar pictures from twinex-cli: the switches of the method, the picture columns in the
// export and the selection that keeps the picture with most pixels.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "similar/picture_fixture.h"
#include "support/cli_run.h"

namespace twinex::test {
namespace {

TEST(CliSimilarPictures, AlikePicturesAreGroupedWithTheirSizesAndTheLargestIsKept) {
  TempDir t;
  t.MakeDir("src");
  DibPtr a = DrawPattern(320, 240, 7);
  Save(a.get(), t / "src/a.jpg", FIF_JPEG, 90);
  Save(Resized(a.get(), 160, 120).get(), t / "src/a_small.jpg", FIF_JPEG, 70);
  Save(DrawPattern(320, 240, 8).get(), t / "src/b.jpg", FIF_JPEG, 90);
  t.Write("src/broken.jpg", "no picture");
  const std::string settings = t.Write("settings.ini", "[Optionen]\nColumnSimilar=1\nColumnPicWidth=1\nColumnPicHeight=1\n");
  const std::string csv = t / "pictures.csv";
  CliRun r = RunCli(t, "--settings '" + settings + "' -s9 -h4 -m90 '" + (t / "src") + "' --export '" + csv +
                           "' --select all-but-most-megapixels --which selected --delimiter tab");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Has(r.err, "Algorithmus: pHash")) << r.err;
  EXPECT_TRUE(Has(r.err, "Gruppen: 1")) << r.err;
  EXPECT_TRUE(Has(r.err, "Datei '" + (t / "src/broken.jpg") + "' ist ein Fehler aufgetreten")) << r.err;
  const std::string table = platform::DecodeUtf16LE(ReadFile(csv));
  EXPECT_TRUE(Has(table, "\"a_small.jpg\"")) << table;
  EXPECT_TRUE(Has(table, "\"160\"\t\"120\"")) << table;
  EXPECT_FALSE(Has(table, "\"a.jpg\"\t\"" + (t / "src"))) << table;  // the larger picture is kept
  EXPECT_FALSE(Has(table, "b.jpg")) << table;
}

}  // namespace
}  // namespace twinex::test
