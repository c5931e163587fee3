// A search through the program that looks into archives: a loose file and its copies inside a
// zip, a 7z and a compressed tar form one group, each member shown with its archive and its
// path inside it; the temporary copies are gone once the program ends.
#include <gtest/gtest.h>

#include <filesystem>

#include "search/archive_fixture.h"
#include "support/cli_run.h"

namespace twinex::test {
namespace {

TEST(CliArchives, LooseFileGroupsWithItsCopiesInsideArchives) {
  TempDir t;
  const std::string same = std::string(3000, 'r') + "readme";
  const std::string other = std::string(3000, 'r') + "README";  // same size, other content
  t.Write("src/loose/readme.txt", same);
  WriteArchive(t / "src/backup.zip", "zip", "", {{"docs/readme.txt", same}, {"docs/other.txt", other}});
  WriteArchive(t / "src/photos.tar.gz", "pax", "gzip", {{"pics/Größe.txt", same}});
  WriteWith7zz(t, t / "src/old.7z", {{"old/readme.txt", same}});
  const std::string settings =
      t.Write("arch.ini", "[DupVerz]\nScanArchives=1\n1ScanArchive=1\n3ScanArchive=1\n6ScanArchive=1\nTempFolder=" +
                              t.path() + "/temp\n");
  const std::string src = t / "src";
  CliRun r = RunCli(t, "--settings '" + settings + "' -s34 -c2 '" + src + "'");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  for (const std::string& part : {src + "/backup.zip", std::string("docs/readme.txt"), src + "/old.7z",
                                  std::string("old/readme.txt"), src + "/photos.tar.gz", std::string("pics/Größe.txt"),
                                  src + "/loose"})
    EXPECT_TRUE(r.Says(part)) << part << "\n" << r.out;
  EXPECT_FALSE(r.Says("docs/other.txt")) << r.out;
  // Every temporary copy of this search is gone with the program.
  std::size_t left = 0;
  if (std::filesystem::exists(t / "temp"))
    for (const auto& e : std::filesystem::recursive_directory_iterator(t / "temp")) left += e.is_regular_file();
  EXPECT_EQ(left, 0u);
}

}  // namespace
}  // namespace twinex::test
