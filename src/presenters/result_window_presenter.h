#pragma once
// What the result window shows, apart from any toolkit: the grid's columns and cell texts over
// the engine's result tree, sorting by a column's value, the check marks of files and groups,
// and the run display (step caption, counters, elapsed time, the pause button's caption and
// which controls work while a search runs).
#include <cstdint>
#include <string>
#include <vector>

#include "results/export.h"
#include "results/result_tree.h"
#include "search/search_observer.h"
#include "settings/program_options.h"

namespace twinex {

namespace exporting {
struct FileColumn;
}

// Colours of a grid row as the settings store them (BGR); -1 leaves the palette's colour.
struct RowColours {
  int text = -1;
  int back = -1;
  bool operator==(const RowColours&) const = default;
};

// One column of the grid: the group column, "Duplikate", then the visible file columns.
struct GridColumn {
  std::string header;
  const exporting::FileColumn* file = nullptr;  // null for the two group columns
  std::string sortKey;                          // named value the column sorts the file rows by
};

class ResultWindowPresenter {
 public:
  explicit ResultWindowPresenter(ExportColumns visible = {}) : visible_(visible) {}

  // ---- Grid ----
  const ExportColumns& visible() const { return visible_; }
  void SetVisible(const ExportColumns& visible) { visible_ = visible; }
  std::vector<GridColumn> Columns(const ResultTree& tree) const;
  std::string GroupText(const ResultTree& tree, const ResultGroup& group, const GridColumn& column) const;
  std::string FileText(const ResultTree& tree, const ResultFile& file, const GridColumn& column) const;
  // Sorts the groups (by the group column) or the file rows inside each group by the value.
  void Sort(ResultTree& tree, const GridColumn& column, bool ascending) const;
  // A click on a group's box: every file checked unless all were, then none.
  static void ToggleGroup(ResultTree& tree, ResultGroup& group);
  static void SetFile(ResultTree& tree, ResultGroup& group, ResultFile& file, bool checked);
  // The colour keys of "Optionen". On a dark palette a key left at its default (made for a light
  // grid) gives way to the palette, so text stays readable; a colour the user chose still applies.
  void SetColours(const ProgramOptions& options, bool darkPalette);
  RowColours GroupColours() const { return group_; }
  RowColours FileColours(const ResultFile& file) const;
  // The status texts: groups, files, sizes.
  static std::vector<std::string> StatusTexts(const ResultTree& tree);
  // The window title: with the name the result was saved under or loaded from, when it has one.
  static std::string WindowTitle(const std::string& resultName);

  // ---- Run display ----
  void SearchStarted();
  // The run ended; the counters as it left them.
  void SearchEnded(const SearchProgress& final);
  void SetStep(const std::string& caption) { step_ = caption; }
  void SetProgress(const SearchProgress& progress) { progress_ = progress; }
  void SetPaused(bool paused) { paused_ = paused; }

  bool running() const { return running_; }
  bool paused() const { return paused_; }
  const std::string& step() const { return step_; }
  const SearchProgress& progress() const { return progress_; }
  std::string PauseCaption() const;  // "Anhalten" / "Fortsetzen"
  std::string ElapsedText() const;   // "h:mm:ss"
  std::string FilesText() const;     // checked \ total
  std::string DuplicatesText() const;
  std::string GroupsText() const;
  // 0..100, or -1 while the total is unknown.
  int ProgressPercent() const;
  // Escape stops a search that runs and is not paused; stop, pause and skip work while it runs.
  bool EscapeStops() const { return running_ && !paused_; }
  bool ControlsEnabled() const { return running_; }

 private:
  ExportColumns visible_;
  RowColours group_;
  int selectedBack_ = -1, archiveText_ = -1, referenceText_ = -1, hardlinkText_ = -1;
  bool running_ = false;
  bool paused_ = false;
  std::string step_;
  SearchProgress progress_;
};

}  // namespace twinex
