#pragma once
// The group view of the preview: a grid of the group's files with a thumbnail of each picture,
// filled in as the thumbnails arrive.
#include <QWidget>
#include <vector>

#include "preview/preview_load.h"

class QLabel;
class QTableWidget;

namespace twinex::ui {

class PreviewGroupView : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewGroupView(QWidget* parent = nullptr);

  void ShowGroup(const QString& header, const std::vector<preview::ThumbnailRow>& rows, int thumbnailSize);
  // The thumbnail of row `row` (a PNG file), with the picture's size when the row had none.
  void SetThumbnail(int row, const QString& png, const QString& dimensions);
  void SetProgress(const QString& text);
  void Clear();

  QTableWidget& grid() { return *grid_; }
  int thumbnailsShown() const { return thumbnailsShown_; }

 private:
  QLabel* header_;
  QLabel* progress_;
  QTableWidget* grid_;
  int thumbnailsShown_ = 0;
};

}  // namespace twinex::ui
