#include "presenters/result_window_presenter.h"

#include <gtest/gtest.h>

#include "presenters/window_placement.h"

namespace twinex {
namespace {

ResultFile File(const char* name, std::uint64_t size, double date) {
  ResultFile f;
  f.dupname = name;
  f.path = "/data";
  f.size = size;
  f.dateVal = date;
  return f;
}

// Two size groups whose order by name, size and date disagree.
ResultTree SampleTree() {
  ResultTree t;
  t.captionType = kCaptionSize;
  ResultGroup& big = t.AddGroup("1000", 1000);
  t.AddFile(big, File("b.bin", 1000, 45000.0));
  t.AddFile(big, File("a.bin", 1000, 44000.0));
  ResultGroup& small = t.AddGroup("9", 9);
  t.AddFile(small, File("c.txt", 9, 46000.0));
  t.AddFile(small, File("d.txt", 9, 43000.0));
  t.AddFile(small, File("e.txt", 9, 47000.0));
  return t;
}

const GridColumn& ColumnBy(const std::vector<GridColumn>& columns, const std::string& key) {
  for (const GridColumn& c : columns)
    if (c.sortKey == key) return c;
  ADD_FAILURE() << "no column " << key;
  return columns.front();
}

TEST(ResultWindowPresenter, ColumnsFollowTheVisibilitySettings) {
  ResultTree t = SampleTree();
  ExportColumns visible;
  visible.dateM = true;
  visible.zipPath = false;
  const auto columns = ResultWindowPresenter(visible).Columns(t);
  std::vector<std::string> keys;
  for (const auto& c : columns) keys.push_back(c.sortKey);
  EXPECT_EQ(keys, (std::vector<std::string>{"dupname", "anz", "path", "size", "dateVal"}));
  EXPECT_EQ(columns[0].header, "Gruppe - Dateigröße (Bytes)");
}

TEST(ResultWindowPresenter, SortsByValueNotByText) {
  ResultTree t = SampleTree();
  ExportColumns visible;
  visible.dateM = true;
  ResultWindowPresenter p(visible);
  const auto columns = p.Columns(t);

  // Groups by their shared size: 9 before 1000, although "1000" < "9" as text.
  p.Sort(t, columns[0], true);
  EXPECT_EQ(t.groups[0].sizeG, 9u);
  p.Sort(t, columns[0], false);
  EXPECT_EQ(t.groups[0].sizeG, 1000u);

  p.Sort(t, ColumnBy(columns, "dateVal"), true);
  EXPECT_EQ(t.groups[1].files[0].dupname, "d.txt");
  EXPECT_EQ(t.groups[1].files[2].dupname, "e.txt");
  EXPECT_EQ(t.groups[0].files[0].dupname, "a.bin");
  p.Sort(t, ColumnBy(columns, "dateVal"), false);
  EXPECT_EQ(t.groups[1].files[0].dupname, "e.txt");

  // The cells show the values in their display format.
  EXPECT_EQ(p.GroupText(t, t.groups[1], columns[1]), "3");
  EXPECT_EQ(p.FileText(t, t.groups[1].files[0], columns[0]), "e.txt");
  EXPECT_EQ(p.FileText(t, t.groups[1].files[0], ColumnBy(columns, "path")), "/data");
  EXPECT_EQ(p.GroupText(t, t.groups[1], ColumnBy(columns, "path")), "");
}

TEST(ResultWindowPresenter, GroupCheckTogglesAllFilesAndCountersFollow) {
  ResultTree t = SampleTree();
  ResultGroup& g = t.groups[1];
  ResultWindowPresenter::SetFile(t, g, g.files[0], true);
  EXPECT_EQ(ResultTree::GroupCheckState(g), 2);
  ResultWindowPresenter::ToggleGroup(t, g);  // some -> all
  EXPECT_EQ(ResultTree::GroupCheckState(g), 1);
  EXPECT_EQ(t.counters.DupCountSelected, 3);
  EXPECT_EQ(t.counters.FilesizeSelected, 27u);
  const auto status = ResultWindowPresenter::StatusTexts(t);
  EXPECT_NE(status[1].find("3 \\ 5"), std::string::npos) << status[1];
  ResultWindowPresenter::ToggleGroup(t, g);  // all -> none
  EXPECT_EQ(t.counters.DupCountSelected, 0);
  EXPECT_EQ(ResultTree::GroupCheckState(g), 0);
}

TEST(ResultWindowPresenter, RunDisplay) {
  ResultWindowPresenter p;
  EXPECT_FALSE(p.ControlsEnabled());
  p.SearchStarted();
  EXPECT_TRUE(p.EscapeStops());
  EXPECT_EQ(p.PauseCaption(), "Anhalten");
  p.SetPaused(true);
  EXPECT_EQ(p.PauseCaption(), "Fortsetzen");
  EXPECT_FALSE(p.EscapeStops()) << "Escape does not stop a paused search";
  EXPECT_TRUE(p.ControlsEnabled());

  SearchProgress progress;
  progress.filesChecked = 1500;
  EXPECT_EQ(p.ProgressPercent(), -1);
  p.SetProgress(progress);
  EXPECT_EQ(p.ProgressPercent(), -1) << "no total known yet";
  progress.filesTotal = 6000;
  progress.elapsedSeconds = 3725;
  p.SetProgress(progress);
  EXPECT_EQ(p.ProgressPercent(), 25);
  EXPECT_EQ(p.FilesText(), "Dateien: 1,500 \\ 6,000");
  EXPECT_EQ(p.ElapsedText(), "01:02:05");

  p.SearchEnded(progress);
  EXPECT_FALSE(p.ControlsEnabled());
  EXPECT_FALSE(p.EscapeStops());
  EXPECT_EQ(p.PauseCaption(), "Anhalten");
}

TEST(ResultWindowPresenter, RowColoursFromTheOptionsGiveWayToADarkPalette) {
  ProgramOptions o;
  ResultWindowPresenter p;
  ResultFile plain = File("a", 1, 0), linked = File("b", 1, 0), packed = File("c", 1, 0);
  linked.hardlinks = 2;
  packed.archiv = 1;
  packed.hardlinks = 3;  // an archive member shows as one, whatever its links
  p.SetColours(o, false);
  EXPECT_EQ(p.GroupColours(), (RowColours{o.GroupTextColor, o.GroupBackColor}));
  EXPECT_EQ(p.FileColours(plain), RowColours{});
  EXPECT_EQ(p.FileColours(linked).text, o.HardlinkTextColor);
  EXPECT_EQ(p.FileColours(packed).text, o.ArchiveFileTextColor);

  o.SelectedFilesBackgroundColor = 0x00FFFF;
  o.GroupTextColor = 0x0000FF;
  p.SetColours(o, true);
  EXPECT_EQ(p.GroupColours(), (RowColours{0x0000FF, -1})) << "only the colour the user chose stays";
  plain.selected = true;
  EXPECT_EQ(p.FileColours(plain), (RowColours{-1, 0x00FFFF}));
  EXPECT_EQ(p.FileColours(linked).text, -1);
}

TEST(WindowPlacement, RoundTripAndOnlyOntoAScreenThatExists) {
  WindowSettings settings;
  EXPECT_FALSE(ReadPlacement(settings, "frmMain").stored);
  WindowPlacement p;
  p.rect = {2000, 100, 2800, 700};
  p.maximized = true;
  WritePlacement(settings, "frmMain", p);
  const WindowPlacement back = ReadPlacement(settings, "frmMain");
  EXPECT_TRUE(back.stored && back.maximized);
  EXPECT_EQ(back.rect.left, 2000);
  EXPECT_EQ(back.rect.bottom, 700);

  const std::vector<WindowRect> one{{0, 0, 1920, 1080}};
  const std::vector<WindowRect> two{{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
  EXPECT_FALSE(PlacementUsable(back, one)) << "its screen was unplugged";
  EXPECT_TRUE(PlacementUsable(back, two));
  WindowPlacement above = back;
  above.rect = {100, -900, 900, -10};
  EXPECT_FALSE(PlacementUsable(above, two)) << "the title bar must be reachable";

  settings.Set("WindowPos", "frmMain_Right", "x");
  EXPECT_FALSE(ReadPlacement(settings, "frmMain").stored);
}

TEST(ResultWindowPresenter, TitleNamesASavedResult) {
  EXPECT_EQ(ResultWindowPresenter::WindowTitle(""), "Twinex - Suchergebnis");
  EXPECT_EQ(ResultWindowPresenter::WindowTitle("AutoSave 3"), "Twinex - Suchergebnis 'AutoSave 3'");
}

}  // namespace
}  // namespace twinex
