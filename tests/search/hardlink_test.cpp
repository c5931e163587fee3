// Hard-link identity and the hard-link search over real links.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "search/hardlink_id.h"
#include "search_fixture.h"

namespace twinex::test {
namespace {

std::string HexIndex(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%X%X", static_cast<unsigned>(static_cast<std::uint64_t>(st.st_ino) >> 32),
                static_cast<unsigned>(st.st_ino & 0xFFFFFFFFu));
  return buf;
}

TEST(Hardlinks, IdentityOfLinkedSingleAndMissingFiles) {
  TempDir t;
  const std::string a = t.Write("a", "x"), single = t.Write("single", "y");
  ASSERT_EQ(link(a.c_str(), (t / "a2").c_str()), 0);
  struct stat st {};
  stat(a.c_str(), &st);

  cHardlinkID id, id2;
  std::string error;
  EXPECT_EQ(xGetHardlinkCount2(a, id, error), 2u);
  EXPECT_EQ(xGetHardlinkCount2(t / "a2", id2, error), 2u);
  EXPECT_TRUE(id.SameFileAs(id2));
  EXPECT_EQ(id.VolumeSerialNumber, static_cast<std::uint64_t>(st.st_dev));
  EXPECT_EQ(HardlinkSearchKey(id, true), "0-" + std::to_string(st.st_ino));
  EXPECT_EQ(HardlinkSearchKey(id, false), std::to_string(st.st_dev) + "-0-" + std::to_string(st.st_ino));

  cHardlinkID one;
  EXPECT_EQ(xGetHardlinkCount2(single, one, error), 1u);
  EXPECT_EQ(one.VolumeSerialNumber + one.FileIndexHigh + one.FileIndexLow, 0u);
  EXPECT_FALSE(one.SameFileAs(one));

  // A folder has an identity too; a FIFO is not opened for reading, so nothing blocks.
  ASSERT_EQ(mkfifo((t / "fifo").c_str(), 0600), 0);
  EXPECT_GE(xGetHardlinkCount2(t / "fifo", one, error), 1u);
  EXPECT_GE(xGetHardlinkCount2(t.path(), one, error), 2u);

  cHardlinkID kept = id;
  EXPECT_EQ(xGetHardlinkCount2(t / "missing", kept, error), 0u);
  EXPECT_EQ(error, "Die Datei '" + (t / "missing") +
                       "' konnte nicht geöffnet werden. (xGetHardlinkCount2\\CreateFileWide: No such file or directory)");
  EXPECT_TRUE(kept.SameFileAs(id));  // unchanged after a failure
}

TEST(Hardlinks, SearchGroupsTheNamesOfEachMultiplyLinkedFile) {
  TempDir t;
  const std::string a = t.Write("s/a", "same"), b = t.Write("s/b", "same");
  t.Write("s/single", "same");
  t.MakeDir("s/sub");
  ASSERT_EQ(link(a.c_str(), (t / "s/sub/a2").c_str()), 0);
  ASSERT_EQ(link(a.c_str(), (t / "s/a3").c_str()), 0);
  ASSERT_EQ(link(b.c_str(), (t / "s/b2").c_str()), 0);

  MainSettings m = SettingsFor({t / "s"});
  m.search.SearchMethod = kMethodHardlinks;
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome out = StartSearchForDups(m, {}, observer, prompt);
  ASSERT_TRUE(out.started);
  std::vector<const ResultGroup*> groups;
  for (const auto& g : out.search->result.groups) groups.push_back(&g);
  ASSERT_EQ(groups.size(), 2u);
  std::sort(groups.begin(), groups.end(), [](auto* x, auto* y) { return x->files.size() > y->files.size(); });

  EXPECT_EQ(groups[0]->dupname, HexIndex(a) + " (3)");
  EXPECT_EQ(groups[1]->dupname, HexIndex(b) + " (2)");
  struct stat st {};
  stat(a.c_str(), &st);
  for (const auto& f : groups[0]->files) {
    EXPECT_EQ(f.hardlinks, 3u);
    EXPECT_EQ(f.HardlinkID(), "0-" + std::to_string(st.st_ino));  // one volume: no serial
  }
  for (const auto* g : groups)
    for (const auto& f : g->files) EXPECT_NE(f.dupname, "single");
  EXPECT_EQ(groups[1]->files.size(), 2u);

  // In a content search the single-link file shows 0 and "-".
  MainSettings c = SettingsFor({t / "s"});
  c.search.Suchkriterien[kCritContent] = true;
  SearchOutcome content = StartSearchForDups(c, {}, observer, prompt);
  ASSERT_EQ(content.search->result.groups.size(), 1u);
  for (const auto& f : content.search->result.groups[0].files) {
    if (f.dupname != "single") continue;
    EXPECT_EQ(f.hardlinks, 0u);
    EXPECT_EQ(f.HardlinkID(), "-");
  }
}

}  // namespace
}  // namespace twinex::test
