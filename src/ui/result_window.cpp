#include "ui/result_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <chrono>

#include "app/session.h"
#include "results/export_columns.h"
#include "search/search_driver.h"
#include "settings/settings_file.h"
#include "ui/export_window.h"
#include "ui/file_manager_window.h"
#include "ui/preview_pane.h"
#include "ui/qt_text.h"
#include "ui/close_question_dialog.h"
#include "ui/result_model.h"
#include "ui/row_actions.h"
#include "ui/saved_results_page.h"
#include "ui/selection_menus.h"
#include "ui/ui_bridge.h"
#include "ui/window_geometry.h"

namespace twinex::ui {

namespace {
constexpr int kRefreshMs = 100;
constexpr const char* kWindowName = "frmDupSearch";
// The view's cost of unfolding grows faster than the number of groups: past this many groups a
// result opens folded, and the user unfolds what they look at.
constexpr std::size_t kExpandLimit = 10000;

// The counters as the search left them (the last progress report may be up to a second old).
SearchProgress FinalProgress(const Search& s, SearchProgress p) {
  p.filesChecked = s.counters.filesChecked;
  p.filesTotal = std::max(p.filesTotal, p.filesChecked);
  p.duplicates = s.counters.duplicates;
  p.groups = s.result.groups.size();
  p.currentFolder.clear();
  return p;
}

}  // namespace

ResultWindow::ResultWindow(Session& session, UiBridge& bridge, WindowSettings& windowSettings, ExportColumns columns,
                           QWidget* parent)
    : QMainWindow(parent), session_(session), bridge_(bridge), windowSettings_(windowSettings), presenter_(columns) {
  setObjectName("ResultWindow");
  setAttribute(Qt::WA_DeleteOnClose, false);
  RefreshTitle();
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);

  step_ = new QLabel(central);
  layout->addWidget(step_);
  auto* counters = new QHBoxLayout;
  for (QLabel** l : {&elapsed_, &files_, &duplicates_, &groups_}) {
    *l = new QLabel(central);
    counters->addWidget(*l);
  }
  counters->addStretch(1);
  pause_ = new QPushButton(central);
  stop_ = new QPushButton(Q(z_Translate(22143, "Suche abbrechen")), central);
  skip_ = new QPushButton(Q(z_Translate(22144, "Überspringen")), central);
  skip_->setToolTip(Q(z_Translate(22145, "Den Vergleich der aktuellen Datei überspringen")));
  for (QPushButton* b : {pause_, stop_, skip_}) counters->addWidget(b);
  layout->addLayout(counters);
  folder_ = new QLabel(central);
  folder_->setTextFormat(Qt::PlainText);
  layout->addWidget(folder_);
  extraction_ = new QLabel(central);
  extraction_->setTextFormat(Qt::PlainText);
  extraction_->hide();
  layout->addWidget(extraction_);
  bar_ = new QProgressBar(central);
  layout->addWidget(bar_);

  auto* split = new QSplitter(Qt::Vertical, central);
  const QPalette palette = QApplication::palette();
  presenter_.SetColours(session_.settings().options, palette.color(QPalette::Base).lightness() < 128);
  model_ = new ResultModel(presenter_, this);
  auto* beside = new QSplitter(Qt::Horizontal, split);
  grid_ = new QTreeView(beside);
  grid_->setModel(model_);
  grid_->setSortingEnabled(true);
  grid_->header()->setSortIndicatorShown(true);
  grid_->header()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid_->header(), &QWidget::customContextMenuRequested, this, &ResultWindow::ChooseColumns);
  grid_->setUniformRowHeights(true);  // keeps half a million rows quick to scroll
  grid_->setAlternatingRowColors(true);
  preview_ = AttachPreview(*beside, *grid_, *model_, session_, windowSettings_);
  grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);  // highlighted rows feed the commands
  log_ = new QPlainTextEdit(split);
  log_->setReadOnly(true);
  log_->setMaximumBlockCount(100000);
  split->setStretchFactor(0, 4);
  split->setStretchFactor(1, 1);
  layout->addWidget(split, 1);
  setCentralWidget(central);
  for (QLabel*& s : status_) {
    s = new QLabel(this);
    statusBar()->addWidget(s);
  }
  resize(1000, 700);
  RestoreWindow(*this, windowSettings_, kWindowName);

  connect(pause_, &QPushButton::clicked, this, &ResultWindow::TogglePause);
  connect(stop_, &QPushButton::clicked, this, &ResultWindow::Stop);
  connect(skip_, &QPushButton::clicked, this, &ResultWindow::Skip);
  connect(&bridge_, &UiBridge::logLine, this, [this](const QString& text, bool isError) {
    log_->appendPlainText(isError ? "! " + text : text);
  });
  connect(&bridge_, &UiBridge::stepChanged, this, [this](const QString& caption) {
    presenter_.SetStep(S(caption));
    step_->setText(caption);
  });
  connect(&bridge_, &UiBridge::liveGroupsChanged, this, [this] {
    for (GroupHandOver& batch : bridge_.TakeGroupBatches()) model_->MergeLive(std::move(batch));
  });
  connect(&bridge_, &UiBridge::extractionChanged, this, [this](const QString& label) {
    extraction_->setText(label);
    extraction_->setVisible(!label.isEmpty());
  });
  connect(&bridge_, &UiBridge::pausedChanged, this, [this](bool paused) {
    presenter_.SetPaused(paused);
    ShowRunState();
  });
  connect(&bridge_, &UiBridge::rowsChanged, this, [this] {
    if (!presenter_.running()) ShowResult();
  });
  QMenu* file = menuBar()->addMenu(Q(z_Translate(22200, "&Datei")));
  file->addAction(Q(z_Translate(22434, "Dateimanager...")), this, [this] { OpenFileManager(); });
  file->addAction(Q(z_Translate(22411, "Exportieren...")), this, [this] { OpenExportWindow(); });
  file->addAction(Q(z_Translate(22427, "Suchergebnis speichern")), this, &ResultWindow::AskAndSave);
  rowActions_ = new RowActions(*grid_, *model_, session_, windowSettings_, [this] { return presenter_.running(); }, this);
  connect(rowActions_, &RowActions::fileManagerWanted, this, [this] { OpenFileManager(); });
  connect(rowActions_, &RowActions::runStarted, this, [this] { model_->SetTree(nullptr); });
  connect(rowActions_, &RowActions::runFinished, this, &ResultWindow::ShowResult);
  connect(model_, &ResultModel::countersChanged, this, &ResultWindow::ShowCounters);
  connect(model_, &QAbstractItemModel::modelReset, this, &ResultWindow::ExpandGroups);
  commands_ = new ResultCommands(*this, session_, bridge_, *model_, *grid_, presenter_, windowSettings_);
  commands_->Install([this](QMenu& menu) { FillColumnMenu(menu); });
  timer_ = new QTimer(this);
  timer_->setInterval(kRefreshMs);
  connect(timer_, &QTimer::timeout, this, &ResultWindow::Poll);
  ShowRunState();
}

ResultWindow::~ResultWindow() { StopAndWait(); }

void ResultWindow::RefreshTitle() { setWindowTitle(Q(ResultWindowPresenter::WindowTitle(session_.resultName()))); }

void ResultWindow::StartSearch() {
  if (presenter_.running()) return;
  (void)bridge_.TakeGroupBatches();  // what an earlier search left behind
  model_->ShowLive();  // the session replaces the result; until it ends, copies of its groups
  log_->clear();
  presenter_.SearchStarted();
  bridge_.ResetProgress();
  search_ = session_.StartSearch(session_.MakeSearchEnvironment());
  timer_->start();
  ShowRunState();
}

void ResultWindow::TogglePause() {
  if (!presenter_.running()) return;
  RunControl& run = session_.searchControl();
  if (presenter_.paused()) run.Resume(); else run.Pause();
  presenter_.SetPaused(!presenter_.paused());
  ShowRunState();
}

void ResultWindow::Stop() {
  if (presenter_.running()) CancelSearch(bridge_, session_.searchControl());
}

void ResultWindow::Skip() {
  if (presenter_.running()) session_.searchControl().RequestSkip();
}

void ResultWindow::StopAndWait() {
  if (!search_.valid()) return;
  session_.searchControl().RequestStop(kStopUser);
  // Questions of the closing steps still need the window thread.
  while (search_.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  Poll();
}

void ResultWindow::Poll() {
  if (presenter_.running()) presenter_.SetProgress(bridge_.LatestProgress());
  if (search_.valid() && search_.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
    search_.get();
    timer_->stop();
    Search* s = session_.search();
    presenter_.SearchEnded(s ? FinalProgress(*s, presenter_.progress()) : presenter_.progress());
    (void)bridge_.TakeGroupBatches();  // the finished result holds them all
    ShowResult();
    for (int c = 0; c < model_->columnCount(); ++c) grid_->resizeColumnToContents(c);
    emit searchFinished();
  }
  ShowRunState();
}

void ResultWindow::ShowResult() {
  Search* s = session_.search();
  model_->SetTree(s ? &s->result : nullptr);
  ShowCounters();
  RefreshTitle();
}

FileManagerWindow* ResultWindow::OpenFileManager() {
  if (presenter_.running()) return nullptr;
  auto* window = new FileManagerWindow(session_, bridge_, this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  // While the run changes the result on the worker, no other window may replace or search it,
  // and the grid lets go of it until the run has ended.
  window->setWindowModality(Qt::ApplicationModal);
  connect(window, &FileManagerWindow::runStarted, this, [this] { model_->SetTree(nullptr); });
  connect(window, &FileManagerWindow::runFinished, this, &ResultWindow::ShowResult);
  window->show();
  return window;
}

ExportWindow* ResultWindow::OpenExportWindow() {
  if (presenter_.running() || !session_.search()) return nullptr;
  auto* window = new ExportWindow(session_, bridge_, presenter_.visible(), this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowModality(Qt::WindowModal);
  window->show();
  return window;
}

void ResultWindow::AskAndSave() {
  const std::string name = AskResultName(this, session_.resultName());
  if (!name.empty()) SaveResultAs(name);
}

bool ResultWindow::SaveResultAs(const std::string& name) {
  if (presenter_.running()) return false;
  const bool saved = SaveResultNamed(session_, bridge_, name).saved;
  RefreshTitle();
  if (saved) emit resultSaved();
  return saved;
}

void ResultWindow::ShowRunState() {
  const SearchProgress& p = presenter_.progress();
  elapsed_->setText(Q(presenter_.ElapsedText()));
  files_->setText(Q(presenter_.FilesText()));
  duplicates_->setText(Q(presenter_.DuplicatesText()));
  groups_->setText(Q(presenter_.GroupsText()));
  folder_->setText(Q(p.currentFolder));
  const int percent = presenter_.ProgressPercent();
  bar_->setRange(0, percent < 0 && presenter_.running() ? 0 : 100);  // busy while the total is unknown
  bar_->setValue(percent < 0 ? (presenter_.running() ? 0 : 100) : percent);
  pause_->setText(Q(presenter_.PauseCaption()));
  for (QPushButton* b : {pause_, stop_, skip_}) b->setEnabled(presenter_.ControlsEnabled());
}

void ResultWindow::ChooseColumns(const QPoint& at) {
  QMenu menu(this);
  FillColumnMenu(menu);
  menu.exec(grid_->header()->mapToGlobal(at));
}

void ResultWindow::FillColumnMenu(QMenu& menu) {
  ExportColumns visible = presenter_.visible();
  for (const exporting::FileColumn& c : exporting::FileColumnTable()) {
    QAction* a = menu.addAction(Q(z_Translate(c.header)));
    a->setCheckable(true);
    a->setChecked(visible.*(c.visible));
    connect(a, &QAction::toggled, this, [this, &c](bool on) {
      ExportColumns v = presenter_.visible();
      v.*(c.visible) = on;
      presenter_.SetVisible(v);
      ProfilePutItemWide("Optionen", c.settingKey, on ? "1" : "0", SettingsFilePath());
      ReloadSection(windowSettings_, "Optionen");  // or the main window's copy writes the old value back
      model_->SetTree(model_->tree());
    });
  }
}

void ResultWindow::ExpandGroups() {
  const ResultTree* tree = model_->tree();
  if (!tree || tree->groups.size() > kExpandLimit) return;
  for (std::size_t g = 0; g < tree->groups.size(); ++g)
    if (tree->groups[g].expanded) grid_->expand(model_->index(static_cast<int>(g), 0));
}

void ResultWindow::ShowCounters() {
  const ResultTree* tree = model_->tree();
  const std::vector<std::string> texts = tree ? ResultWindowPresenter::StatusTexts(*tree) : std::vector<std::string>(3);
  for (std::size_t i = 0; i < 3; ++i) status_[i]->setText(Q(texts[i]));
}

QString ResultWindow::StatusText() const {
  return status_[0]->text() + "|" + status_[1]->text() + "|" + status_[2]->text();
}

QString ResultWindow::LogText() const { return log_->toPlainText(); }

void ResultWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && presenter_.EscapeStops()) {
    Stop();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void ResultWindow::closeEvent(QCloseEvent* event) {
  if (commands_->Busy()) {  // a command's helper still works on the rows
    event->ignore();
    return;
  }
  StopAndWait();
  AskToSaveOnClose(this, session_, windowSettings_, [this] { AskAndSave(); });
  RememberWindow(*this, windowSettings_, kWindowName);
  session_.CloseSearchLog();
  QMainWindow::closeEvent(event);
  emit closed();
}

}  // namespace twinex::ui
