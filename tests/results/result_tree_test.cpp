#include "results/result_tree.h"

#include <gtest/gtest.h>

#include "platform/date_time.h"
#include "platform/number_format.h"

namespace twinex {
namespace {

ResultFile File(std::string name, std::uint64_t size, bool selected = false) {
  ResultFile f;
  f.dupname = std::move(name);
  f.path = "/data";
  f.size = size;
  f.selected = selected;
  return f;
}

// Recounts everything from the rows, to compare with the counters kept on the way.
void ExpectCountersMatchRows(const ResultTree& t) {
  std::int64_t files = 0, selected = 0;
  std::uint64_t bytes = 0, selectedBytes = 0;
  for (const ResultGroup& g : t.groups) {
    std::uint64_t groupBytes = 0;
    int groupSel = 0;
    for (const ResultFile& f : g.files) {
      files += 1, bytes += f.size, groupBytes += f.size;
      if (f.selected) selected += 1, selectedBytes += f.size, groupSel += 1;
    }
    EXPECT_EQ(g.size, groupBytes) << g.dupname;
    EXPECT_EQ(g.Sel, groupSel) << g.dupname;
  }
  EXPECT_EQ(t.counters.DupCount, files);
  EXPECT_EQ(t.counters.DupCountSelected, selected);
  EXPECT_EQ(t.counters.FilesizeAll, bytes);
  EXPECT_EQ(t.counters.FilesizeSelected, selectedBytes);
}

// Groups a (a1 selected, a2, a3), b (b1, b2 selected), c (c1, c2 both selected).
ResultTree ThreeGroups() {
  ResultTree t;
  for (const char* rows : {"a100", "b01", "c11"}) {
    ResultGroup& g = t.AddGroup(std::string(1, rows[0]));
    for (int i = 1; rows[i]; ++i)
      t.AddFile(g, File(g.dupname + std::to_string(i), g.id == 1 ? 10 : g.id == 2 ? 200 : 3000, rows[i] == '1'));
  }
  return t;
}

TEST(ResultTree, AddingAndSelectingKeepsEveryCounter) {
  ResultTree t = ThreeGroups();
  EXPECT_EQ(t.counters.GroupID, 3);
  EXPECT_EQ(t.counters.DupCount, 7);
  EXPECT_EQ(t.counters.FilesizeSelected, 6210u);
  ExpectCountersMatchRows(t);

  ResultGroup& b = *t.FindGroup(2);
  t.SetSelected(b, b.files[0], true);
  t.SetSelected(b, b.files[0], true);  // no double count
  EXPECT_EQ(ResultTree::GroupCheckState(b), 1);
  t.SetSelected(b, b.files[1], false);
  EXPECT_EQ(ResultTree::GroupCheckState(b), 2);
  t.SetSelected(b, b.files[0], false);
  EXPECT_EQ(ResultTree::GroupCheckState(b), 0);
  ExpectCountersMatchRows(t);
  EXPECT_EQ(t.FindGroup(99), nullptr);
}

TEST(ResultTree, BulkRemovalDropsEmptiedGroupsAndKeepsOneFileGroups) {
  ResultTree t = ThreeGroups();
  const std::size_t removed = t.RemoveFiles([](const ResultGroup& g, const ResultFile& f) {
    return g.dupname == "b" || f.dupname == "a2" || f.dupname == "a3" || f.dupname == "c1";
  });
  EXPECT_EQ(removed, 5u);
  ASSERT_EQ(t.groups.size(), 2u);
  EXPECT_EQ(t.groups[0].files[0].dupname, "a1");
  EXPECT_EQ(t.groups[1].files[0].dupname, "c2");
  EXPECT_EQ(t.counters.DupCountSelected, 2);
  ExpectCountersMatchRows(t);
  // Ids keep working after groups moved; new groups never reuse a number.
  EXPECT_EQ(t.FindGroup(3)->dupname, "c");
  EXPECT_EQ(t.FindGroup(2), nullptr);
  EXPECT_EQ(t.AddGroup("d").id, 4);

  t = ThreeGroups();
  EXPECT_EQ(t.RemoveGroups([](const ResultGroup& g) { return g.dupname != "b"; }), 5u);
  ExpectCountersMatchRows(t);

  // The walk runs from the last group; stopping after the first leaves a and b untouched.
  t = ThreeGroups();
  t.RemoveFiles([](const ResultGroup&, const ResultFile&) { return true; },
                [](std::size_t done, std::size_t total) { return done < 1 && total == 3; });
  ASSERT_EQ(t.groups.size(), 2u);
  EXPECT_EQ(t.groups[1].dupname, "b");
  ExpectCountersMatchRows(t);
}

TEST(ResultTree, NamedValuesIgnoreCaseAndCarryValueAndText) {
  ResultTree t;
  t.display.dateFormat = "dd.MM.yyyy hh:nn";
  ResultFile f = File("x.mp3", 1234567);
  f.dateVal = platform::MakeDate(2024, 3, 5, 14, 7, 9);
  f.attr = 0x21;
  f.SetAudioBitrate(320000);
  f.path = "C{1}";

  EXPECT_EQ(std::get<std::int64_t>(t.FileValue(f, "AudioBitRate").value), 320000);
  EXPECT_EQ(t.FileValue(f, "audiobitrate").text, platform::FormatCount(std::uint64_t{320000}));
  EXPECT_EQ(t.FileValue(f, "AudioSamplingRate").text, "");  // zero shows blank
  EXPECT_EQ(t.FileValue(f, "DATE").text, "05.03.2024 14:07");
  EXPECT_DOUBLE_EQ(std::get<double>(t.FileValue(f, "dateVal").value), f.dateVal);
  EXPECT_EQ(t.FileValue(f, "attr2").text, "AR");
  EXPECT_EQ(t.FileValue(f, "RTFpath").text, "{\\rtf1\\uc1 C\\{1\\}}");
  EXPECT_EQ(t.FileValue(f, "size").text, platform::FormatCount(std::uint64_t{1234567}));
  EXPECT_EQ(t.FileValue(f, "hardlinks").text, "-");
  EXPECT_FALSE(t.FileValue(f, "nosuchkey").Exists());
  t.display.formatSize = 4;
  EXPECT_EQ(t.FileValue(f, "size").text, platform::FormatSizeAuto(1234567));

  ResultGroup& g = t.AddGroup("Name");
  t.AddFile(g, f);
  t.AddFile(g, File("y", 1));
  EXPECT_EQ(std::get<std::int64_t>(t.GroupValue(g, "ANZ").value), 2);
  EXPECT_EQ(std::get<std::int64_t>(t.GroupValue(g, "size").value), 1234568);
  EXPECT_EQ(std::get<std::string>(t.GroupValue(g, "dupname").value), "Name");
}

TEST(ResultTree, SortsByValueAndTextsWithoutRegardToCase) {
  ResultTree t;
  t.AddGroup("beta", 300, 45000.5);
  t.AddGroup("Alpha", 20, 45001.0);
  t.AddGroup("gamma", 1000000, 44000.0);
  t.AddGroup("ALPHA", 20, 45000.0);
  auto order = [&] {
    std::string s;
    for (const ResultGroup& g : t.groups) s += std::to_string(g.id);
    return s;
  };

  EXPECT_EQ(t.GroupSortKey(), "dupname");
  t.SortGroups("dupname");
  EXPECT_EQ(order(), "2413");  // equal texts keep their order
  t.captionType = kCaptionSize;
  EXPECT_EQ(t.GroupSortKey(), "sizeG");
  t.SortGroups("sizeG", false);
  EXPECT_EQ(order(), "3124");  // by number, not as texts
  t.captionType = kCaptionModified;
  EXPECT_EQ(t.GroupSortKey(), "dateG");
  t.SortGroups("dateG");
  EXPECT_EQ(order(), "3412");
  EXPECT_EQ(t.FindGroup(1)->dupname, "beta");

  ResultGroup& g = *t.FindGroup(1);
  for (const char* name : {"b", "a", "C"}) t.AddFile(g, File(name, 1));
  t.SortFiles("dupname");
  EXPECT_EQ(g.files[0].dupname + g.files[1].dupname + g.files[2].dupname, "abC");
}

}  // namespace
}  // namespace twinex
