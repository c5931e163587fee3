#include "ui/preview_group_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QTableWidget>
#include <QVBoxLayout>

#include "settings/translate.h"
#include "ui/qt_text.h"

namespace twinex::ui {

namespace {
enum Column { kPicture, kFile, kMatch, kDimensions, kSize, kFolder, kProperties, kColumns };
}  // namespace

PreviewGroupView::PreviewGroupView(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  header_ = new QLabel(this);
  header_->setTextFormat(Qt::PlainText);
  progress_ = new QLabel(this);
  progress_->setTextFormat(Qt::PlainText);
  grid_ = new QTableWidget(0, kColumns, this);
  grid_->setHorizontalHeaderLabels({Q(z_Translate(22519, "Bild")), Q(z_Translate(15009, "Datei")),
                                    Q(z_Translate(11111, "Übereinstimmung")), Q(z_Translate(22521, "Bildmaße")),
                                    Q(z_Translate(22153, "Größe")), Q(z_Translate(22164, "Ordner")),
                                    Q(z_Translate(22524, "Eigenschaften"))});
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(header_);
  layout->addWidget(grid_, 1);
  layout->addWidget(progress_);
}

void PreviewGroupView::Clear() {
  grid_->setRowCount(0);
  header_->clear();
  progress_->clear();
  thumbnailsShown_ = 0;
}

void PreviewGroupView::ShowGroup(const QString& header, const std::vector<preview::ThumbnailRow>& rows,
                                 int thumbnailSize) {
  Clear();
  header_->setText(header);
  grid_->setRowCount(static_cast<int>(rows.size()));
  grid_->setColumnWidth(kPicture, thumbnailSize + 8);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const preview::ThumbnailRow& row = rows[static_cast<std::size_t>(r)];
    const std::string* texts[] = {nullptr, &row.file, &row.match, &row.dimensions, &row.size, &row.folder, &row.properties};
    for (int c = kFile; c < kColumns; ++c) {
      auto* item = new QTableWidgetItem(Q(*texts[c]));
      if (c == kMatch || c == kSize) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      grid_->setItem(r, c, item);
    }
    grid_->setRowHeight(r, row.picture ? thumbnailSize + 8 : grid_->verticalHeader()->defaultSectionSize());
  }
  for (int c = kFile; c < kProperties; ++c) grid_->resizeColumnToContents(c);
}

void PreviewGroupView::SetThumbnail(int row, const QString& png, const QString& dimensions) {
  if (row < 0 || row >= grid_->rowCount()) return;
  QPixmap pixmap(png);
  if (pixmap.isNull()) return;
  auto* label = new QLabel;
  label->setAlignment(Qt::AlignCenter);
  label->setPixmap(pixmap);
  grid_->setCellWidget(row, kPicture, label);
  if (!dimensions.isEmpty() && grid_->item(row, kDimensions)->text().isEmpty()) {
    grid_->item(row, kDimensions)->setText(dimensions);
    grid_->resizeColumnToContents(kDimensions);
  }
  ++thumbnailsShown_;
}

void PreviewGroupView::SetProgress(const QString& text) { progress_->setText(text); }

}  // namespace twinex::ui
