// The result rows after a run that linked files show what a fresh search would show.
#include "actions/result_update.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace twinex::test {
namespace {

TEST(ResultUpdate, HardLinkIdsCarryTheVolumeOnlyWhenTheSearchShowedIt) {
  TempDir t;
  const std::string a = t.Write("a", "x");
  ASSERT_EQ(link(a.c_str(), (t / "b").c_str()), 0);
  struct stat st {};
  ASSERT_EQ(stat(a.c_str(), &st), 0);
  const std::string index = std::to_string(static_cast<std::uint64_t>(st.st_ino) >> 32) + "-" +
                            std::to_string(static_cast<std::uint64_t>(st.st_ino) & 0xFFFFFFFFu);

  for (bool withVolume : {false, true}) {
    ResultTree tree;
    tree.display.hardlinkIdWithVolume = withVolume;
    ResultGroup& g = tree.AddGroup("x");
    for (const char* name : {"a", "b"}) {
      ResultFile f;
      f.dupname = name;
      f.path = t.path();
      f.SetHardlinkID("-");
      tree.AddFile(g, f);
    }
    ResultChanges changes;
    for (ResultFile& f : tree.groups[0].files) changes.linked.push_back(&f);
    FileManagerSettings settings;
    settings.DateienEntfernen = settings.GruppenEntfernen = false;
    FileManagerCounters counters;
    ApplyResultChanges(tree, changes, settings, counters);
    const std::string expected = withVolume ? std::to_string(static_cast<std::uint64_t>(st.st_dev)) + "-" + index : index;
    for (const ResultFile& f : tree.groups[0].files) {
      EXPECT_EQ(f.hardlinks, 2u);
      EXPECT_EQ(f.HardlinkID(), expected);
    }
  }
}

}  // namespace
}  // namespace twinex::test
