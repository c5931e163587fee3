#include "ui/result_model.h"

#include <QColor>

#include "results/export_columns.h"
#include "ui/qt_text.h"

namespace twinex::ui {

namespace {
// Group rows carry id 0; a file row carries its group's position + 1.
constexpr quintptr kGroupRow = 0;
}  // namespace

ResultModel::ResultModel(ResultWindowPresenter& presenter, QObject* parent)
    : QAbstractItemModel(parent), presenter_(presenter) {}

void ResultModel::SetTree(ResultTree* tree) {
  beginResetModel();
  tree_ = tree;
  columns_ = tree ? presenter_.Columns(*tree) : std::vector<GridColumn>{};
  endResetModel();
}

void ResultModel::ShowLive() {
  live_.Clear();
  SetTree(&live_.tree());
}

void ResultModel::MergeLive(GroupHandOver batch) {
  if (!showingLive()) return;
  const bool firstBatch = live_.tree().groups.empty();
  live_.Merge(std::move(batch), [this](const LiveGroupEdit& e, bool after) {
    const int row = static_cast<int>(e.row);
    if (e.added) {
      if (after) endInsertRows(); else beginInsertRows({}, row, row);
      return;
    }
    const QModelIndex group = createIndex(row, 0, kGroupRow);
    if (e.filesAfter > e.filesBefore) {
      if (after)
        endInsertRows();
      else
        beginInsertRows(group, static_cast<int>(e.filesBefore), static_cast<int>(e.filesAfter) - 1);
    }
    if (after) emit dataChanged(group, group.siblingAtColumn(columnCount() - 1));
  });
  // The columns follow the caption type, which the first batch brings.
  if (firstBatch) SetTree(&live_.tree());
}

QModelIndex ResultModel::index(int row, int column, const QModelIndex& parent) const {
  if (!tree_ || row < 0 || column < 0 || column >= columnCount()) return {};
  if (!parent.isValid()) {
    if (static_cast<std::size_t>(row) >= tree_->groups.size()) return {};
    return createIndex(row, column, kGroupRow);
  }
  const ResultGroup* g = GroupOf(parent);
  if (!g || parent.internalId() != kGroupRow || static_cast<std::size_t>(row) >= g->files.size()) return {};
  return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex ResultModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == kGroupRow) return {};
  return createIndex(static_cast<int>(child.internalId() - 1), 0, kGroupRow);
}

int ResultModel::rowCount(const QModelIndex& parent) const {
  if (!tree_) return 0;
  if (!parent.isValid()) return static_cast<int>(tree_->groups.size());
  if (parent.internalId() != kGroupRow) return 0;
  const ResultGroup* g = GroupOf(parent);
  return g ? static_cast<int>(g->files.size()) : 0;
}

int ResultModel::columnCount(const QModelIndex&) const { return static_cast<int>(columns_.size()); }

ResultGroup* ResultModel::GroupOf(const QModelIndex& index) const {
  if (!tree_ || !index.isValid()) return nullptr;
  const std::size_t at = index.internalId() == kGroupRow ? static_cast<std::size_t>(index.row())
                                                         : static_cast<std::size_t>(index.internalId() - 1);
  return at < tree_->groups.size() ? &tree_->groups[at] : nullptr;
}

QVariant ResultModel::data(const QModelIndex& index, int role) const {
  ResultGroup* g = GroupOf(index);
  if (!g) return {};
  const GridColumn& column = columns_[static_cast<std::size_t>(index.column())];
  const bool groupRow = index.internalId() == kGroupRow;
  const ResultFile* f = groupRow ? nullptr : &g->files[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return Q(groupRow ? presenter_.GroupText(*tree_, *g, column) : presenter_.FileText(*tree_, *f, column));
    case Qt::CheckStateRole:
      if (index.column() != 0 || showingLive()) return {};
      if (f) return f->selected ? Qt::Checked : Qt::Unchecked;
      switch (ResultTree::GroupCheckState(*g)) {
        case 1: return Qt::Checked;
        case 2: return Qt::PartiallyChecked;
        default: return Qt::Unchecked;
      }
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
      const RowColours c = groupRow ? presenter_.GroupColours() : presenter_.FileColours(*f);
      const int bgr = role == Qt::ForegroundRole ? c.text : c.back;
      if (bgr < 0) return {};
      return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    }
    case Qt::TextAlignmentRole:
      if (column.file && column.file->kind != exporting::ColumnKind::Text) return int(Qt::AlignRight | Qt::AlignVCenter);
      if (column.sortKey == "anz") return int(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    default:
      return {};
  }
}

bool ResultModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  ResultGroup* g = GroupOf(index);
  if (!g || role != Qt::CheckStateRole || index.column() != 0 || showingLive()) return false;
  const QModelIndex groupIndex = index.internalId() == kGroupRow ? index : index.parent();
  const int last = columnCount() - 1;  // a checked row may change its colour across the row
  const bool undoable = selection_ && &selection_->tree() == tree_;
  if (index.internalId() == kGroupRow) {
    if (undoable)
      selection_->Report_ChangeCheckboxStatus(g->id);
    else
      ResultWindowPresenter::ToggleGroup(*tree_, *g);
    if (!g->files.empty())
      emit dataChanged(this->index(0, 0, groupIndex), this->index(static_cast<int>(g->files.size()) - 1, last, groupIndex));
  } else {
    const std::size_t row = static_cast<std::size_t>(index.row());
    ResultFile& f = g->files[row];
    if (undoable) {
      if (f.selected != (value.toInt() == Qt::Checked)) selection_->Report_ChangeCheckboxStatus(g->id, &row);
    } else {
      ResultWindowPresenter::SetFile(*tree_, *g, f, value.toInt() == Qt::Checked);
    }
    emit dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(last));
  }
  emit dataChanged(groupIndex, groupIndex);
  emit countersChanged();
  return true;
}

void ResultModel::RefreshChecks() {
  // One change over all groups repaints the whole view, file rows included.
  if (tree_ && !tree_->groups.empty())
    emit dataChanged(index(0, 0), index(static_cast<int>(tree_->groups.size()) - 1, columnCount() - 1));
  emit countersChanged();
}

Qt::ItemFlags ResultModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0 && !showingLive()) f |= Qt::ItemIsUserCheckable;
  return f;
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
  return Q(columns_[static_cast<std::size_t>(section)].header);
}

void ResultModel::sort(int column, Qt::SortOrder order) {
  // Groups of a running search keep the order they form in.
  if (!tree_ || showingLive() || column < 0 || column >= columnCount()) return;
  beginResetModel();
  presenter_.Sort(*tree_, columns_[static_cast<std::size_t>(column)], order == Qt::AscendingOrder);
  endResetModel();
}

}  // namespace twinex::ui
