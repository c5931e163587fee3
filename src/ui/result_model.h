#pragma once
// The result grid's model: two levels (groups, their files) read straight from the engine's
// result tree, with no copy of its rows. Texts, sorting and check marks come from the result
// window's presenter.
#include <QAbstractItemModel>
#include <vector>

#include "presenters/live_groups.h"
#include "presenters/result_window_presenter.h"
#include "results/selection.h"

namespace twinex::ui {

class ResultModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  explicit ResultModel(ResultWindowPresenter& presenter, QObject* parent = nullptr);

  // The tree to show (null: nothing). The tree must not change behind the model's back while set.
  void SetTree(ResultTree* tree);
  ResultTree* tree() const { return tree_; }
  // Shows the groups of a running search as they form (no check marks: the result is not the
  // user's yet), until SetTree gives the model the finished result.
  void ShowLive();
  void MergeLive(GroupHandOver batch);
  bool showingLive() const { return tree_ && tree_ == &live_.tree(); }
  const std::vector<GridColumn>& columns() const { return columns_; }
  // Check-box clicks go through the selection (counted and undoable) while it works on the tree.
  void SetSelection(Selection* selection) { selection_ = selection; }
  // A command changed check marks anywhere: every row is shown again, the counters are new.
  void RefreshChecks();

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 signals:
  // The check marks changed: the counters are new.
  void countersChanged();

 private:
  ResultGroup* GroupOf(const QModelIndex& index) const;
  ResultWindowPresenter& presenter_;
  ResultTree* tree_ = nullptr;
  LiveGroups live_;
  std::vector<GridColumn> columns_;
  Selection* selection_ = nullptr;
};

}  // namespace twinex::ui
