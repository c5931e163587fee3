#include "presenters/result_window_presenter.h"

#include "platform/date_time.h"
#include "platform/number_format.h"
#include "results/export_columns.h"
#include "settings/translate.h"

namespace twinex {

std::vector<GridColumn> ResultWindowPresenter::Columns(const ResultTree& tree) const {
  std::vector<GridColumn> columns{
      {GroupColumnHeader(tree.captionType, tree.display.formatSize), nullptr, "dupname"},
      {z_Translate(15014, "Duplikate"), nullptr, "anz"},
  };
  for (const exporting::FileColumn* c : exporting::VisibleFileColumns(visible_))
    columns.push_back({exporting::FileColumnHeader(tree, *c), c, c->key});
  return columns;
}

std::string ResultWindowPresenter::GroupText(const ResultTree& tree, const ResultGroup& group,
                                             const GridColumn& column) const {
  const std::vector<exporting::ExportCell> cells = exporting::GroupCells(tree, group, visible_);
  if (!column.file) return cells[column.sortKey == "anz" ? 1 : 0].text;
  // The group row shows its total under the size column and nothing under the others.
  if (column.sortKey == "size" && cells.size() > 2) return cells[2].text;
  return "";
}

std::string ResultWindowPresenter::FileText(const ResultTree& tree, const ResultFile& file,
                                            const GridColumn& column) const {
  if (column.file) return exporting::FileCell(tree, file, *column.file).text;
  return column.sortKey == "dupname" ? file.dupname : "";
}

void ResultWindowPresenter::Sort(ResultTree& tree, const GridColumn& column, bool ascending) const {
  if (!column.file) {
    tree.SortGroups(column.sortKey == "anz" ? "anz" : tree.GroupSortKey(), ascending);
    if (column.sortKey == "dupname") tree.SortFiles("dupname", ascending);
    return;
  }
  tree.SortFiles(column.sortKey, ascending);
}

void ResultWindowPresenter::ToggleGroup(ResultTree& tree, ResultGroup& group) {
  const bool check = ResultTree::GroupCheckState(group) != 1;
  for (ResultFile& f : group.files) tree.SetSelected(group, f, check);
}

void ResultWindowPresenter::SetFile(ResultTree& tree, ResultGroup& group, ResultFile& file, bool checked) {
  tree.SetSelected(group, file, checked);
}

void ResultWindowPresenter::SetColours(const ProgramOptions& o, bool darkPalette) {
  static const ProgramOptions kDefaults;
  struct Key {
    int ProgramOptions::*field;
    int* target;
  };
  const Key keys[] = {
      {&ProgramOptions::GroupBackColor, &group_.back},
      {&ProgramOptions::GroupTextColor, &group_.text},
      {&ProgramOptions::SelectedFilesBackgroundColor, &selectedBack_},
      {&ProgramOptions::ArchiveFileTextColor, &archiveText_},
      {&ProgramOptions::ReferenceFileTextColor, &referenceText_},
      {&ProgramOptions::HardlinkTextColor, &hardlinkText_},
  };
  for (const Key& k : keys) {
    const bool defaultOnDark = darkPalette && o.*(k.field) == kDefaults.*(k.field);
    *k.target = defaultOnDark ? -1 : o.*(k.field);
  }
  // White behind selected rows is the light grid's own background: no colour of its own.
  if (selectedBack_ == 0xFFFFFF) selectedBack_ = -1;
}

RowColours ResultWindowPresenter::FileColours(const ResultFile& file) const {
  RowColours c;
  if (file.archiv != 0) c.text = archiveText_;
  else if (file.IsRefFile) c.text = referenceText_;
  else if (file.hardlinks >= 2) c.text = hardlinkText_;
  if (file.selected) c.back = selectedBack_;
  return c;
}

std::vector<std::string> ResultWindowPresenter::StatusTexts(const ResultTree& tree) { return ShowDupCount(tree); }

void ResultWindowPresenter::SearchStarted() {
  running_ = true;
  paused_ = false;
  step_.clear();
  progress_ = {};
}

void ResultWindowPresenter::SearchEnded(const SearchProgress& final) {
  progress_ = final;
  running_ = false;
  paused_ = false;
}

std::string ResultWindowPresenter::PauseCaption() const {
  return paused_ ? z_Translate(22140, "Fortsetzen") : z_Translate(22141, "Anhalten");
}

std::string ResultWindowPresenter::ElapsedText() const { return platform::FormatDuration(progress_.elapsedSeconds); }

std::string ResultWindowPresenter::FilesText() const {
  const std::string total = progress_.filesTotal ? platform::FormatCount(progress_.filesTotal) : "-";
  return z_Translate(13021, "Dateien: %1 \\ %2", {platform::FormatCount(progress_.filesChecked), total});
}

std::string ResultWindowPresenter::DuplicatesText() const {
  return z_Translate(11043, "Duplikate: %1", {platform::FormatCount(progress_.duplicates)});
}

std::string ResultWindowPresenter::GroupsText() const {
  return z_Translate(13020, "Gruppen: %1", {platform::FormatCount(progress_.groups)});
}

int ResultWindowPresenter::ProgressPercent() const {
  if (progress_.filesTotal == 0) return -1;
  const std::uint64_t done = std::min(progress_.filesChecked, progress_.filesTotal);
  return static_cast<int>(done * 100 / progress_.filesTotal);
}

std::string ResultWindowPresenter::WindowTitle(const std::string& resultName) {
  if (resultName.empty()) return z_Translate(22150, "Twinex - Suchergebnis");
  return "Twinex " + z_Translate(22214, "- Suchergebnis '%1'", {resultName});
}

}  // namespace twinex
