#pragma once
// The file preview beside the result grid: the current file in the viewer its extension chooses
// (picture, text or page, media player, properties page, information page), or for a group row
// the thumbnails of its pictures. Loading, decoding and thumbnailing run on a thread of the
// pane's own; a result that arrives after the selection has moved on is dropped.
#include <QImage>
#include <QThreadPool>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "preview/preview_load.h"
#include "preview/thumbnail_cache.h"
#include "results/result_tree.h"
#include "settings/window_settings.h"

class QLabel;
class QPlainTextEdit;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QTextBrowser;
class QTreeView;

namespace twinex {
class Session;
}

namespace twinex::ui {

class PreviewGroupView;
class PreviewMedia;
class ResultModel;

struct PreviewSetup {
  std::string tempFolder;  // extracted members and the thumbnail cache live below it
  preview::PreviewKeys keys;
  int thumbnailSize = 128;
  // From the session's folders and settings (the built-in lists when the settings have none).
  static PreviewSetup Of(Session& session);
};

class PreviewPane : public QWidget {
  Q_OBJECT
 public:
  enum class Page { Empty, Message, Picture, Text, Html, Media, Group };

  explicit PreviewPane(PreviewSetup setup, QWidget* parent = nullptr);
  ~PreviewPane() override;

  void ShowFile(const ResultFile& row);
  // caption: the group's caption as the grid shows it ("": its stored caption).
  void ShowGroup(const ResultGroup& group, const QString& caption = {});
  void Reset();

  // What is shown, for the window's status and for tests.
  Page page() const { return page_; }
  QString status() const;
  QString shownText() const;
  const QImage& picture() const { return picture_; }
  PreviewGroupView& groupView() { return *group_; }
  PreviewMedia& media() { return *media_; }
  int thumbnailsFromCache() const { return fromCache_; }

 signals:
  // A file is shown, or every thumbnail of a group is done.
  void loaded();
  // A thumbnail of the file at `file` in the group with id `groupId` is in the cache at `png`
  // (the file's path is given so that a receiver can tell that the row is still that file).
  void thumbnailMade(int groupId, int file, const QString& path, const QString& png);

 private:
  struct Shown;
  void Show(const ResultFile& row, bool force);
  void Apply(const ResultFile& row, preview::LoadedPreview result);
  void ShowPicturePage(const ResultFile& row, const preview::LoadedPreview& loaded);
  void AppendText(std::shared_ptr<const QString> text, qsizetype from, std::uint64_t generation);
  void SetPage(Page page);
  // Runs a job on the pane's thread; `post` brings a result back to the window thread, where it
  // is dropped unless its generation is still the current one.
  void Run(std::function<void(std::uint64_t generation)> job);
  void Post(std::uint64_t generation, std::function<void()> apply);
  void ShowAgain();

  PreviewSetup setup_;
  std::shared_ptr<preview::PreviewCopies> copies_;
  std::shared_ptr<preview::ThumbnailCache> cache_;
  std::shared_ptr<std::atomic<std::uint64_t>> generation_;
  QThreadPool pool_;
  QTabBar* tabs_;
  QLabel* header_;
  QStackedWidget* stack_;
  QLabel* message_;
  QWidget* pictureView_;
  QPlainTextEdit* text_;
  QTextBrowser* browser_;
  PreviewMedia* media_;
  PreviewGroupView* group_;
  QLabel* status_;
  Page page_ = Page::Empty;
  QImage picture_;
  std::optional<ResultFile> current_;  // the file row shown (or loading)
  preview::Viewer currentViewer_ = preview::Viewer::Unknown;
  int fromCache_ = 0;
};

// The hook of the result window: puts a preview pane into the splitter beside the grid (or, when
// the options ask for it, into a window of its own) and lets it follow the grid's current row.
PreviewPane* AttachPreview(QSplitter& splitter, QTreeView& grid, ResultModel& model, Session& session,
                           WindowSettings& windowSettings);

}  // namespace twinex::ui
