#include "ui/preview_pane.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextBrowser>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <cstring>

#include "app/session.h"
#include "platform/date_time.h"
#include "preview/picture_fit.h"
#include "settings/settings_file.h"
#include "settings/translate.h"
#include "ui/preview_group_view.h"
#include "ui/preview_media.h"
#include "ui/preview_window.h"
#include "ui/qt_text.h"
#include "ui/result_model.h"

namespace twinex::ui {

namespace {

// The picture viewer: the picture scaled to fit, never enlarged, centred.
class PictureView : public QWidget {
 public:
  using QWidget::QWidget;
  void SetImage(const QImage& image) {
    image_ = image;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (image_.isNull()) return;
    const preview::FitSize fit = preview::FitInto(image_.width(), image_.height(), width(), height());
    if (fit.width <= 0) return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect((width() - fit.width) / 2, (height() - fit.height) / 2, fit.width, fit.height), image_);
  }

 private:
  QImage image_;
};

QImage ToImage(const similar::Bitmap& b) {
  if (b.width <= 0 || b.height <= 0) return {};
  // Blue, green, red, alpha bytes are one 0xAARRGGBB word on a little-endian machine.
  QImage image(b.width, b.height, QImage::Format_ARGB32);
  for (int y = 0; y < b.height; ++y)
    std::memcpy(image.scanLine(y), b.Pixel(0, y), static_cast<std::size_t>(b.width) * 4);
  return image;
}

preview::PageColours Colours() {
  const QPalette palette = QApplication::palette();
  return {S(palette.color(QPalette::Text).name()), S(palette.color(QPalette::Base).name())};
}

constexpr int kTabAuto = 0;
constexpr int kTabProperties = 1;
constexpr const char* kPicturePageImage = "twinex-preview-picture";

}  // namespace

PreviewSetup PreviewSetup::Of(Session& session) {
  PreviewSetup s;
  s.tempFolder = session.app().paths.tempFolder;
  auto lists = session.settings().options.previewLists;
  bool any = false;
  for (const auto& list : lists) any |= !list.empty();
  s.keys = preview::MakePreviewKeys(any ? lists : preview::DefaultPreviewLists());
  const int size = std::atoi(ProfileGetItemWide("Optionen", "ThumbnailSize", "128", SettingsFilePath()).c_str());
  s.thumbnailSize = size >= 16 && size <= 1024 ? size : 128;
  return s;
}

PreviewPane::PreviewPane(PreviewSetup setup, QWidget* parent)
    : QWidget(parent),
      setup_(std::move(setup)),
      copies_(std::make_shared<preview::PreviewCopies>(setup_.tempFolder)),
      cache_(std::make_shared<preview::ThumbnailCache>(preview::ThumbnailCache::FolderIn(setup_.tempFolder))),
      generation_(std::make_shared<std::atomic<std::uint64_t>>(0)) {
  setObjectName("PreviewPane");
  // One thread: jobs run in the order the rows were chosen, and a stale one ends at once.
  pool_.setMaxThreadCount(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  tabs_ = new QTabBar(this);
  tabs_->setExpanding(false);
  tabs_->addTab(Q(z_Translate(22500, "Dateivorschau")));
  tabs_->addTab(Q(z_Translate(22529, "Media Info Viewer")));
  header_ = new QLabel(this);
  header_->setTextFormat(Qt::PlainText);
  stack_ = new QStackedWidget(this);
  message_ = new QLabel(stack_);
  message_->setTextFormat(Qt::PlainText);
  message_->setWordWrap(true);
  message_->setAlignment(Qt::AlignCenter);
  pictureView_ = new PictureView(stack_);
  text_ = new QPlainTextEdit(stack_);
  text_->setReadOnly(true);
  browser_ = new QTextBrowser(stack_);
  browser_->setOpenLinks(false);  // the preview shows one file; it is no web browser
  media_ = new PreviewMedia(stack_);
  group_ = new PreviewGroupView(stack_);
  for (QWidget* w : {static_cast<QWidget*>(message_), pictureView_, static_cast<QWidget*>(text_),
                     static_cast<QWidget*>(browser_), static_cast<QWidget*>(media_), static_cast<QWidget*>(group_)})
    stack_->addWidget(w);
  status_ = new QLabel(this);
  status_->setTextFormat(Qt::PlainText);
  layout->addWidget(tabs_);
  layout->addWidget(header_);
  layout->addWidget(stack_, 1);
  layout->addWidget(status_);
  connect(tabs_, &QTabBar::currentChanged, this, &PreviewPane::ShowAgain);
  // Thumbnails nobody looked at for a month go; the clean-up waits for the first job's thread.
  Run([cache = cache_](std::uint64_t) { cache->Clean(platform::UnixFromDate(platform::Now())); });
  Reset();
}

PreviewPane::~PreviewPane() {
  // Jobs end at their next step once their generation is old; the pane waits for the running one.
  generation_->fetch_add(1);
  pool_.clear();
  pool_.waitForDone();
}

QString PreviewPane::status() const { return status_->text(); }

QString PreviewPane::shownText() const {
  switch (page_) {
    case Page::Message: return message_->text();
    case Page::Text: return text_->toPlainText();
    case Page::Html: return browser_->toPlainText();
    default: return {};
  }
}

void PreviewPane::SetPage(Page page) {
  // The player lets go of its file only when the view leaves it (stopping may wait for it).
  if (page_ == Page::Media && page != Page::Media) media_->Stop();
  page_ = page;
  QWidget* const widgets[] = {message_, message_, pictureView_, text_, browser_, media_, group_};
  stack_->setCurrentWidget(widgets[static_cast<int>(page)]);
}

void PreviewPane::Run(std::function<void(std::uint64_t)> job) {
  const std::uint64_t generation = generation_->load();
  pool_.start([job = std::move(job), generation, current = generation_] {
    if (current->load() == generation) job(generation);
  });
}

void PreviewPane::Post(std::uint64_t generation, std::function<void()> apply) {
  // The pane outlives every job (its destructor waits), so the call may name it; Qt drops the
  // queued call if the pane is gone by the time it would run.
  QMetaObject::invokeMethod(
      this,
      [this, generation, apply = std::move(apply)] {
        if (generation_->load() == generation) apply();
      },
      Qt::QueuedConnection);
}

void PreviewPane::Reset() {
  generation_->fetch_add(1);
  current_.reset();
  picture_ = {};
  static_cast<PictureView*>(pictureView_)->SetImage({});
  text_->clear();
  browser_->clear();
  group_->Clear();
  header_->clear();
  message_->clear();
  status_->clear();
  SetPage(Page::Empty);
}

void PreviewPane::ShowAgain() {
  if (current_) Show(*current_, true);
}

void PreviewPane::ShowFile(const ResultFile& row) { Show(row, false); }

void PreviewPane::Show(const ResultFile& row, bool force) {
  const preview::PreviewPlan plan = preview::PlanPreview(setup_.keys, row.dupname, row.size,
                                                         tabs_->currentIndex() == kTabProperties ? preview::kTabMediaInfo : 0);
  // The same file in the same viewer is not loaded a second time.
  if (!force && current_ && page_ != Page::Group && currentViewer_ == plan.viewer &&
      current_->FullPath() == row.FullPath() && current_->PathA() == row.PathA() && current_->size == row.size &&
      current_->dateVal == row.dateVal)
    return;
  generation_->fetch_add(1);
  current_ = row;
  currentViewer_ = plan.viewer;
  header_->clear();
  status_->setText(Q(row.archiv != 0 && row.Extras().tmppath.empty() ? preview::PreviewCopies::ExtractingText(row)
                                                                      : preview::LoadingText(row)));
  const preview::PageColours colours = Colours();
  Run([this, row, plan, colours, copies = copies_](std::uint64_t generation) {
    RunControl run;
    preview::LoadedPreview loaded = preview::LoadFilePreview(row, plan, *copies, run, colours);
    Post(generation, [this, row, loaded = std::move(loaded)]() mutable { Apply(row, std::move(loaded)); });
  });
}

void PreviewPane::Apply(const ResultFile& row, preview::LoadedPreview result) {
  using preview::ShowAs;
  header_->setText(Q(result.header));
  status_->setText(Q(result.status));
  switch (result.as) {
    case ShowAs::Message:
      message_->setText(Q(result.text));
      SetPage(Page::Message);
      break;
    case ShowAs::Picture:
      picture_ = ToImage(result.picture);
      static_cast<PictureView*>(pictureView_)->SetImage(picture_);
      SetPage(Page::Picture);
      break;
    case ShowAs::PlainText:
      text_->clear();
      SetPage(Page::Text);
      AppendText(std::make_shared<const QString>(Q(result.text)), 0, generation_->load());
      return;  // AppendText tells when the whole text is in
    case ShowAs::Html:
      browser_->setSearchPaths({Q(row.archiv != 0 ? std::string() : row.path.str())});
      browser_->setHtml(Q(result.text));
      SetPage(Page::Html);
      break;
    case ShowAs::PicturePage:
      ShowPicturePage(row, result);
      break;
    case ShowAs::Media:
      SetPage(Page::Media);
      media_->Load(Q(result.path), result.viewer == preview::Viewer::Vlc);
      break;
  }
  emit loaded();
}

void PreviewPane::AppendText(std::shared_ptr<const QString> text, qsizetype from, std::uint64_t generation) {
  // A text of up to the view's limit would hold the window for seconds if set at once: it goes
  // in piece by piece, each ending at a line end, with the window's events served in between.
  constexpr qsizetype kPiece = 256 * 1024;
  if (generation_->load() != generation) return;
  qsizetype end = text->size();
  if (end - from > kPiece) {
    const qsizetype lineEnd = text->indexOf('\n', from + kPiece);
    end = lineEnd < 0 ? text->size() : lineEnd + 1;
  }
  QScrollBar* bar = text_->verticalScrollBar();
  const int at = bar->value();
  QTextCursor cursor(text_->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text->mid(from, end - from));
  bar->setValue(at);
  if (end >= text->size()) {
    emit loaded();
    return;
  }
  QTimer::singleShot(0, this, [this, text, end, generation] { AppendText(text, end, generation); });
}

void PreviewPane::ShowPicturePage(const ResultFile& row, const preview::LoadedPreview& loaded) {
  // The picture is decoded here from the file the job found readable, at the page's size: the
  // view would otherwise read it itself, at its full size, on the window thread.
  const QSize box = browser_->viewport()->size();
  const preview::FitSize fit = preview::FitInto(loaded.pictureSize.width, loaded.pictureSize.height,
                                                std::max(box.width() - 24, 16), std::max(box.height() * 9 / 10 - 60, 16));
  const std::uint64_t generation = generation_->load();
  const preview::FileFacts facts = preview::FactsOf(row);
  const preview::PageColours colours = Colours();
  const std::string path = loaded.path;
  Run([this, generation, fit, facts, colours, path](std::uint64_t) {
    similar::DecodeRequest request;
    request.width = fit.width;
    request.height = fit.height;
    auto bitmap = std::make_shared<similar::Bitmap>();
    const similar::DecodeOutcome o = similar::DecodePicture(path, request, *bitmap);
    Post(generation, [this, o, bitmap, facts, colours, fit] {
      if (!o.ok) {
        message_->setText(Q(z_Translate(22506, "Die Datei '%1' kann nicht angezeigt werden!%!%!", {facts.name}) + o.error));
        SetPage(Page::Message);
        return;
      }
      browser_->document()->addResource(QTextDocument::ImageResource, QUrl(kPicturePageImage),
                                        ToImage(*bitmap));
      browser_->setHtml(Q(preview::PicturePage(facts, kPicturePageImage, fit.width, fit.height, colours)));
      SetPage(Page::Html);
    });
  });
  SetPage(Page::Html);
}

void PreviewPane::ShowGroup(const ResultGroup& group, const QString& caption) {
  generation_->fetch_add(1);
  current_.reset();
  header_->clear();
  status_->clear();
  const std::vector<preview::ThumbnailRow> rows = preview::ThumbnailRows(group, setup_.keys);
  group_->ShowGroup(Q(preview::GroupHeader(caption.isEmpty() ? group.dupname : S(caption), group.files.size())), rows,
                    setup_.thumbnailSize);
  SetPage(Page::Group);
  fromCache_ = 0;
  std::vector<std::pair<int, ResultFile>> pictures;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].picture) pictures.emplace_back(static_cast<int>(i), group.files[i]);
  group_->SetProgress(Q(preview::ThumbnailProgressText(0, pictures.size())));
  Run([this, pictures, size = setup_.thumbnailSize, copies = copies_, cache = cache_, current = generation_,
       groupId = group.id](std::uint64_t generation) {
    RunControl run;
    std::size_t done = 0;
    for (const auto& [row, file] : pictures) {
      if (current->load() != generation) return;  // the selection moved on
      const preview::PreviewSource source = copies->SourceOf(file, run);
      preview::ThumbnailResult t;
      if (source.ok) t = cache->Get(source.path, size);
      // A thumbnail from the cache does not know its picture's size; rows of a picture search do.
      if (t.ok && t.fromCache && file.picW <= 0) t.picture = similar::ReadPictureSize(source.path).source;
      ++done;
      Post(generation, [this, row = row, t, done, total = pictures.size(), groupId, path = file.FullPath()] {
        if (t.ok) {
          group_->SetThumbnail(row, Q(t.path), Q(preview::DimensionsText(t.picture.width, t.picture.height)));
          fromCache_ += t.fromCache ? 1 : 0;
          emit thumbnailMade(groupId, row, Q(path), Q(t.path));
        }
        group_->SetProgress(Q(preview::ThumbnailProgressText(done, total)));
      });
    }
    Post(generation, [this] { emit loaded(); });
  });
}

PreviewPane* AttachPreview(QSplitter& splitter, QTreeView& grid, ResultModel& model, Session& session,
                           WindowSettings& windowSettings) {
  auto* pane = new PreviewPane(PreviewSetup::Of(session));
  const std::string& file = SettingsFilePath();
  if (ProfileGetItemWide("Optionen", "PreviewWindow", "0", file) == "1") {
    new PreviewWindow(pane, *splitter.window(), windowSettings);
  } else {
    splitter.addWidget(pane);
    // The grid keeps the larger share; the preview gets what is left beside it.
    splitter.setStretchFactor(splitter.indexOf(&grid), 3);
    splitter.setStretchFactor(splitter.indexOf(pane), 2);
    splitter.setSizes({600, 400});
    pane->setVisible(ProfileGetItemWide("Optionen", "DateivorschauAktiv", "1", file) != "0");
  }
  auto follow = [pane, &model](const QModelIndex& index) {
    const ResultTree* tree = model.tree();
    if (!index.isValid() || !tree || model.showingLive()) {
      pane->Reset();
      return;
    }
    const QModelIndex groupIndex = index.parent().isValid() ? index.parent() : index;
    const std::size_t g = static_cast<std::size_t>(groupIndex.row());
    if (g >= tree->groups.size()) return;
    const ResultGroup& group = tree->groups[g];
    if (!index.parent().isValid()) {
      pane->ShowGroup(group, model.data(groupIndex.siblingAtColumn(0)).toString());
    } else if (static_cast<std::size_t>(index.row()) < group.files.size()) {
      pane->ShowFile(group.files[static_cast<std::size_t>(index.row())]);
    }
  };
  QObject::connect(grid.selectionModel(), &QItemSelectionModel::currentChanged, pane,
                   [follow](const QModelIndex& current, const QModelIndex&) { follow(current); });
  QObject::connect(&model, &QAbstractItemModel::modelReset, pane, [pane] { pane->Reset(); });
  // The row keeps its thumbnail's path, as the saved result and the metadata view read it.
  QObject::connect(pane, &PreviewPane::thumbnailMade, pane,
                   [&model](int groupId, int file, const QString& path, const QString& png) {
                     ResultTree* tree = model.tree();
                     ResultGroup* group = tree && !model.showingLive() ? tree->FindGroup(groupId) : nullptr;
                     if (!group || file < 0 || static_cast<std::size_t>(file) >= group->files.size()) return;
                     ResultFile& row = group->files[static_cast<std::size_t>(file)];
                     if (row.FullPath() == S(path)) row.EditExtras().thumbnailpath = S(png);
                   });
  return pane;
}

}  // namespace twinex::ui
