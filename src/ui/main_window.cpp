#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "app/logs.h"
#include "app/session.h"
#include "settings/language.h"
#include "settings/profiles.h"
#include "ui/about_dialog.h"
#include "ui/after_search_menu.h"
#include "ui/qt_text.h"
#include "ui/result_model.h"
#include "ui/result_window.h"
#include "ui/saved_results_page.h"
#include "ui/shortcuts.h"
#include "ui/ui_bridge.h"
#include "ui/update_menu.h"
#include "ui/window_geometry.h"

namespace twinex::ui {

namespace {

constexpr const char* kWindowName = "frmMain";

// The source list's check columns: ticked, with subfolders, protected.
struct SourceFlag {
  TextRef header;
  bool SourceFolder::*field;
};
const SourceFlag kSourceFlags[] = {
    {TextRef{22160, "Aktiv"}, &SourceFolder::ticked},
    {TextRef{22161, "Unterordner"}, &SourceFolder::includeSubfolders},
    {TextRef{22162, "Geschützt"}, &SourceFolder::fileProtection},
};

// The option boxes: the page they stand on (0 search options, 1 file filter, 2 folder filter,
// 3 further options) and their place in the page's two columns.
struct OptionBox {
  OptionGroup group;
  TextRef title;
  int page, row, column, span;
};
const OptionBox kOptionBoxes[] = {
    {OptionGroup::Criteria, TextRef{22180, "Suchkriterien"}, 0, 0, 0, 1},
    {OptionGroup::FileName, TextRef{3577, "Dateiname"}, 0, 1, 0, 1},
    {OptionGroup::FirstChars, TextRef{22125, "Anzahl der Zeichen"}, 0, 2, 0, 1},
    {OptionGroup::Dates, TextRef{22181, "Datum"}, 0, 3, 0, 1},
    {OptionGroup::Hardlinks, TextRef{22182, "Hardlinks"}, 0, 4, 0, 1},
    {OptionGroup::Content, TextRef{3574, "Dateiinhalt"}, 0, 0, 1, 1},
    {OptionGroup::ContentPercent, TextRef{3867, "Byte für Byte"}, 0, 1, 1, 1},
    {OptionGroup::SimilarNames, TextRef{5504, "Finde ähnliche Dateinamen"}, 0, 2, 1, 1},
    {OptionGroup::Pictures, TextRef{5505, "Finde ähnliche Bilder"}, 0, 3, 1, 1},
    {OptionGroup::Music, TextRef{5506, "Finde ähnliche Musik"}, 0, 4, 1, 1},
    {OptionGroup::TrackLength, TextRef{5507, "Finde Video- und Musikdateien anhand der Tonspurlänge"}, 0, 5, 1, 1},
    // The general options have the longest captions: they take the whole width.
    {OptionGroup::General, TextRef{22183, "Allgemeine Optionen"}, 0, 6, 0, 2},
    {OptionGroup::FileFilterOptions, TextRef{22197, "Filteroptionen"}, 1, 0, 0, 2},
    {OptionGroup::FolderFilterOptions, TextRef{22197, "Filteroptionen"}, 2, 0, 0, 2},
    {OptionGroup::Archives, TextRef{22146, "Archive"}, 3, 0, 0, 1},
    {OptionGroup::ArchiveOptions, TextRef{22147, "Archivoptionen"}, 3, 1, 0, 1},
    {OptionGroup::Database, TextRef{22155, "Prüfsummen-Datenbank"}, 3, 0, 1, 1},
    {OptionGroup::DatabaseOptions, TextRef{22198, "Datenbankoptionen"}, 3, 1, 1, 1},
    {OptionGroup::Exclusions, TextRef{22173, "Ausschlüsse"}, 3, 2, 0, 2},
    {OptionGroup::DateFilter, TextRef{22181, "Datum"}, 3, 3, 0, 1},
    {OptionGroup::SizeFilter, TextRef{22153, "Größe"}, 3, 4, 0, 1},
    {OptionGroup::SecondSize, TextRef{22176, "Zweite Bedingung"}, 3, 4, 1, 1},
};

QWidget* Scrolled(QWidget* page, QWidget* parent) {
  auto* scroll = new QScrollArea(parent);
  scroll->setWidget(page);
  scroll->setWidgetResizable(true);
  return scroll;
}

QPushButton* Button(const TextRef& text, QWidget* parent) { return new QPushButton(Q(z_Translate(text)), parent); }

}  // namespace

MainWindow::MainWindow(Session& session, UiBridge& bridge, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      bridge_(bridge),
      settings_(session.settings()),
      presenter_(session.settings()),
      windowSettings_(LoadWindowSettings()) {
  setObjectName("MainWindow");
  setWindowTitle(Q(session.app().title.empty() ? std::string("Twinex") : session.app().title));
  setAcceptDrops(true);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);

  // Source folders.
  auto* sourceBox = new QGroupBox(Q(z_Translate(22163, "Quellordner")), central);
  auto* sourceLayout = new QHBoxLayout(sourceBox);
  sources_ = new QTableWidget(0, 1 + static_cast<int>(std::size(kSourceFlags)), sourceBox);
  QStringList headers{Q(z_Translate(22164, "Ordner"))};
  for (const SourceFlag& f : kSourceFlags) headers << Q(z_Translate(f.header));
  sources_->setHorizontalHeaderLabels(headers);
  sources_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  sources_->verticalHeader()->hide();
  sources_->setSelectionBehavior(QAbstractItemView::SelectRows);
  sources_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sourceLayout->addWidget(sources_, 1);
  auto* sourceButtons = new QVBoxLayout;
  QPushButton* add = Button(TextRef{22165, "Ordner hinzufügen..."}, sourceBox);
  QPushButton* remove = Button(TextRef{22166, "Entfernen"}, sourceBox);
  sourceButtons->addWidget(add);
  sourceButtons->addWidget(remove);
  sourceButtons->addStretch(1);
  sourceLayout->addLayout(sourceButtons);
  connect(add, &QPushButton::clicked, this, [this] {
    const QString dir = QFileDialog::getExistingDirectory(this, Q(z_Translate(22165, "Ordner hinzufügen...")));
    if (!dir.isEmpty()) Tell(AddSourceFolder(S(dir)));
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (sources_->currentRow() < 0) return;
    presenter_.RemoveSourceFolder(static_cast<std::size_t>(sources_->currentRow()));
    RefreshSources();
  });
  connect(sources_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (refreshing_ || item->column() == 0) return;
    auto& list = settings_.sources.sources;
    if (static_cast<std::size_t>(item->row()) >= list.size()) return;
    list[static_cast<std::size_t>(item->row())].*(kSourceFlags[item->column() - 1].field) =
        item->checkState() == Qt::Checked;
  });

  // Method and its note.
  auto* methodRow = new QHBoxLayout;
  methodRow->addWidget(new QLabel(Q(z_Translate(22167, "Suchmethode:")), central));
  method_ = new QComboBox(central);
  for (int m = 0; m <= 5; ++m) method_->addItem(Q(SearchMethodText(m)));
  methodRow->addWidget(method_, 1);
  methodNote_ = new QLabel(central);
  methodNote_->setStyleSheet("color: palette(link)");
  connect(method_, &QComboBox::currentIndexChanged, this, [this](int m) {
    if (refreshing_) return;
    presenter_.SetMethod(m);
    Refresh();
  });

  auto* tabs = new QTabWidget(central);
  tabs->addTab(Scrolled(BuildOptionPage(0), tabs), Q(z_Translate(22168, "Suchoptionen")));
  tabs->addTab(BuildFilterPage(false), Q(z_Translate(22169, "Dateifilter")));
  tabs->addTab(BuildFilterPage(true), Q(z_Translate(22170, "Ordnerfilter")));
  tabs->addTab(Scrolled(BuildOptionPage(3), tabs), Q(z_Translate(22142, "Weitere Optionen")));
  tabs->addTab(BuildProfilePage(), Q(z_Translate(22171, "Profile")));
  savedResults_ = new SavedResultsPage(session_, bridge_, [this](const std::string& name) { OpenSavedResult(name); }, tabs);
  tabs->addTab(savedResults_, Q(z_Translate(22428, "Suchergebnisse")));
  BuildOptionControls();

  auto* logBox = new QWidget(central);
  auto* logLayout = new QVBoxLayout(logBox);
  logLayout->setContentsMargins(0, 0, 0, 0);
  logHeading_ = new QLabel(logBox);
  logPane_ = new QPlainTextEdit(logBox);
  logPane_->setReadOnly(true);
  logLayout->addWidget(logHeading_);
  logLayout->addWidget(logPane_);

  auto* split = new QSplitter(Qt::Vertical, central);
  split->addWidget(sourceBox);
  auto* middle = new QWidget(split);
  auto* middleLayout = new QVBoxLayout(middle);
  middleLayout->setContentsMargins(0, 0, 0, 0);
  middleLayout->addLayout(methodRow);
  middleLayout->addWidget(methodNote_);
  middleLayout->addWidget(tabs, 1);
  split->addWidget(middle);
  split->addWidget(logBox);
  split->setStretchFactor(1, 3);
  split->setSizes({150, 520, 130});
  layout->addWidget(split);
  setCentralWidget(central);

  BuildMenus();
  resize(1100, 850);
  RestoreWindow(*this, windowSettings_, kWindowName);
  Refresh();
  ShowLastSearchLog();
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::BuildOptionPage(int page) {
  auto* widget = new QWidget;
  auto* grid = new QGridLayout(widget);
  int rows = 0;
  for (const OptionBox& b : kOptionBoxes) {
    if (b.page != page) continue;
    auto* box = new QGroupBox(Q(z_Translate(b.title)), widget);
    forms_[static_cast<int>(b.group)] = new QFormLayout(box);
    boxes_.emplace_back(box, b.group);
    grid->addWidget(box, b.row, b.column, 1, b.span);
    rows = std::max(rows, b.row + 1);
  }
  grid->setRowStretch(rows, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  return widget;
}

void MainWindow::BuildOptionControls() {
  auto formOf = [this](OptionGroup g) { return forms_[static_cast<int>(g)]; };
  QWidget* page = centralWidget() ? centralWidget() : this;
  for (int c = 0; c < 7; ++c) {
    auto* box = new QCheckBox(Q(CriterionCaption(c)), page);
    box->setToolTip(Q(CriterionTooltip(c)));
    criteria_.push_back(box);
    formOf(OptionGroup::Criteria)->addRow(box);
    connect(box, &QCheckBox::toggled, this, [this, c](bool on) {
      if (refreshing_) return;
      presenter_.SetCriterion(c, on);
      Refresh();
    });
  }
  for (std::size_t i = 0; i < ChoiceOptions().size(); ++i) {
    const ChoiceOption& o = ChoiceOptions()[i];
    auto* combo = new QComboBox(page);
    choices_.push_back(combo);
    formOf(o.group)->addRow(Q(z_Translate(o.caption)), combo);
    connect(combo, &QComboBox::currentIndexChanged, this, [this, i](int position) {
      if (refreshing_) return;
      presenter_.SetChoice(i, position);
      Refresh();
    });
  }
  for (std::size_t i = 0; i < BoolOptions().size(); ++i) {
    const BoolOption& o = BoolOptions()[i];
    auto* box = new QCheckBox(Q(OptionCaption(o.caption)), page);
    bools_.push_back(box);
    formOf(o.group)->addRow(box);
    // A switch may put other boxes in force.
    connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
      if (refreshing_) return;
      presenter_.SetBool(i, on);
      RefreshOptions();
    });
  }
  for (std::size_t i = 0; i < TextOptions().size(); ++i) {
    const TextOption& o = TextOptions()[i];
    auto* edit = new QLineEdit(page);
    texts_.push_back(edit);
    formOf(o.group)->addRow(Q(z_Translate(o.caption)), edit);
    connect(edit, &QLineEdit::editingFinished, this, [this, i, edit] {
      edit->setText(Q(presenter_.LeaveText(i, S(edit->text()))));
    });
  }
  exclusionDate_ = new QDateEdit(page);
  exclusionDate_->setCalendarPopup(true);
  formOf(OptionGroup::DateFilter)->addRow(Q(z_Translate(22181, "Datum")), exclusionDate_);
  connect(exclusionDate_, &QDateEdit::dateChanged, this, [this](QDate d) {
    if (!refreshing_) presenter_.SetExclusionDate(d.year(), d.month(), d.day());
  });
}

QWidget* MainWindow::BuildFilterPage(bool folders) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  const int k = folders ? 1 : 0;
  filters_[k] = new QListWidget(page);
  layout->addWidget(filters_[k], 1);
  layout->addWidget(BuildOptionPage(folders ? 2 : 1));
  auto* row = new QHBoxLayout;
  filterEdit_[k] = new QLineEdit(page);
  QPushButton* add = Button(TextRef{22184, "Hinzufügen"}, page);
  QPushButton* remove = Button(TextRef{22166, "Entfernen"}, page);
  row->addWidget(filterEdit_[k], 1);
  row->addWidget(add);
  row->addWidget(remove);
  layout->addLayout(row);
  filterError_[k] = new QLabel(page);
  filterError_[k]->setStyleSheet("color: red");
  layout->addWidget(filterError_[k]);
  // The text is checked as it is typed; a refused text cannot be added.
  checkFilterText_[k] = [this, k, folders, add] {
    const QString text = filterEdit_[k]->text();
    const std::string error = text.isEmpty() ? "" : presenter_.FilterError(folders, S(text));
    filterError_[k]->setText(Q(error));
    add->setEnabled(!text.isEmpty() && error.empty());
  };
  connect(filterEdit_[k], &QLineEdit::textChanged, this, [this, k] { checkFilterText_[k](); });
  auto addFilter = [this, k, folders] {
    const std::string error = presenter_.AddFilter(folders, S(filterEdit_[k]->text()));
    filterError_[k]->setText(Q(error));
    if (error.empty()) filterEdit_[k]->clear();
    RefreshFilters();
  };
  connect(add, &QPushButton::clicked, this, addFilter);
  connect(filterEdit_[k], &QLineEdit::returnPressed, this, addFilter);
  connect(remove, &QPushButton::clicked, this, [this, k, folders] {
    if (filters_[k]->currentRow() < 0) return;
    presenter_.RemoveFilter(folders, static_cast<std::size_t>(filters_[k]->currentRow()));
    RefreshFilters();
  });
  connect(filters_[k], &QListWidget::itemChanged, this, [this, folders](QListWidgetItem* item) {
    if (refreshing_) return;
    auto& list = folders ? settings_.sources.folderFilters : settings_.sources.fileFilters;
    const int row = item->listWidget()->row(item);
    if (row >= 0 && static_cast<std::size_t>(row) < list.size())
      list[static_cast<std::size_t>(row)].ticked = item->checkState() == Qt::Checked;
  });
  add->setEnabled(false);
  return page;
}

QWidget* MainWindow::BuildProfilePage() {
  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);
  profiles_ = new QListWidget(page);
  layout->addWidget(profiles_, 1);
  auto* buttons = new QVBoxLayout;
  layout->addLayout(buttons);
  auto selected = [this] { return profiles_->currentItem() ? S(profiles_->currentItem()->data(Qt::UserRole).toString()) : ""; };
  auto ask = [this](const TextRef& label, const std::string& preset) {
    return S(QInputDialog::getText(this, Q(z_Translate(22171, "Profile")), Q(z_Translate(label)), QLineEdit::Normal, Q(preset)));
  };
  struct Command {
    TextRef caption;
    std::function<void()> run;
  };
  const Command kCommands[] = {
      {TextRef{22185, "Laden"}, [=, this] { if (!selected().empty()) LoadProfile(selected()); }},
      {TextRef{22186, "Speichern unter..."}, [=, this] {
         const std::string name = ask(TextRef{22190, "Name des Profils:"}, selected());
         if (!name.empty()) SaveProfile(name);
       }},
      {TextRef{22187, "Umbenennen..."}, [=, this] {
         const std::string from = selected();
         const std::string to = from.empty() ? "" : ask(TextRef{22190, "Name des Profils:"}, from);
         if (!to.empty()) RenameProfile(from, to);
       }},
      {TextRef{22188, "Löschen"}, [=, this] { if (!selected().empty()) DeleteProfile(selected()); }},
      {TextRef{22189, "Kommentar..."}, [=, this] {
         const std::string name = selected();
         if (!name.empty()) CommentProfile(name, ask(TextRef{22191, "Kommentar:"}, ""));
       }},
  };
  for (const Command& c : kCommands) {
    QPushButton* b = Button(c.caption, page);
    connect(b, &QPushButton::clicked, this, c.run);
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  connect(profiles_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    LoadProfile(S(item->data(Qt::UserRole).toString()));
  });
  return page;
}

void MainWindow::BuildMenus() {
  const Shortcuts keys = LoadShortcuts(windowSettings_);
  QMenu* file = menuBar()->addMenu(Q(z_Translate(22200, "&Datei")));
  startAction_ = file->addAction(Q(z_Translate(22201, "Suche starten")), this, [this] { StartSearch(); });
  startAction_->setShortcut(keys.Key(ShortcutId::StartSearch));
  QAction* addFolder = file->addAction(Q(z_Translate(22165, "Ordner hinzufügen...")), this, [this] {
    const QString dir = QFileDialog::getExistingDirectory(this, Q(z_Translate(22165, "Ordner hinzufügen...")));
    if (!dir.isEmpty()) Tell(AddSourceFolder(S(dir)));
  });
  addFolder->setShortcut(keys.Key(ShortcutId::AddFolder));
  AddAfterSearchCommands(file, session_);
  file->addSeparator();
  QAction* quit = file->addAction(Q(z_Translate(22202, "Beenden")), this, &QWidget::close);
  quit->setShortcut(keys.Key(ShortcutId::Quit));
  QMenu* language = menuBar()->addMenu(Q(z_Translate(22206, "&Sprache")));
  language->addAction(Q(z_Translate(22207, "Sprachdatei 'lang.txt' erstellen")), this, [this] { CreateUserLanguageFile(); });
  useLanguageFile_ = language->addAction(Q(z_Translate(22208, "Sprachdatei 'lang.txt' verwenden")));
  useLanguageFile_->setCheckable(true);
  useLanguageFile_->setChecked(UserLanguageFileOn(windowSettings_));
  connect(useLanguageFile_, &QAction::toggled, this, [this](bool on) { UseUserLanguageFile(on); });
  QMenu* help = menuBar()->addMenu(Q(z_Translate(22203, "&Hilfe")));
  AddUpdateCommands(help, {this, session_, bridge_, windowSettings_});
  help->addSeparator();
  help->addAction(Q(z_Translate(22204, "Über Twinex")), this, [this] { ShowAboutDialog(this); });
  QToolBar* bar = addToolBar(Q(z_Translate(22205, "Symbolleiste")));
  bar->setObjectName("MainToolBar");
  bar->addAction(startAction_);
  bar->addAction(addFolder);
}

void MainWindow::Refresh() {
  refreshing_ = true;
  const SearchSettings& s = settings_.search;
  method_->setCurrentIndex(s.SearchMethod);
  methodNote_->setText(Q(presenter_.MethodNote()));
  methodNote_->setVisible(!methodNote_->text().isEmpty());
  if (startAction_) startAction_->setEnabled(presenter_.StartEnabled());
  for (int c = 0; c < 7; ++c) criteria_[static_cast<std::size_t>(c)]->setChecked(s.Suchkriterien[static_cast<std::size_t>(c)]);
  refreshing_ = false;
  RefreshOptions();
  RefreshSources();
  RefreshFilters();
  RefreshProfiles();
}

void MainWindow::RefreshOptions() {
  refreshing_ = true;
  for (auto& [box, group] : boxes_) box->setEnabled(presenter_.Enabled(group));
  for (std::size_t i = 0; i < bools_.size(); ++i) bools_[i]->setChecked(BoolOptions()[i].flag(settings_));
  for (std::size_t i = 0; i < texts_.size(); ++i) texts_[i]->setText(Q(TextOptions()[i].text(settings_)));
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    // Lists that depend on other choices get their entries anew.
    QStringList items;
    for (const std::string& item : presenter_.ChoiceItems(i)) items << Q(item);
    QStringList shown;
    for (int k = 0; k < choices_[i]->count(); ++k) shown << choices_[i]->itemText(k);
    if (shown != items) {
      choices_[i]->clear();
      choices_[i]->addItems(items);
    }
    choices_[i]->setCurrentIndex(presenter_.ChoicePosition(i));
  }
  const auto [year, month, day] = presenter_.ExclusionDate();
  exclusionDate_->setDate(QDate(year, month, day));
  refreshing_ = false;
  for (auto& check : checkFilterText_)
    if (check) check();
}

void MainWindow::RefreshSources() {
  refreshing_ = true;
  const auto& list = settings_.sources.sources;
  sources_->setRowCount(static_cast<int>(list.size()));
  for (std::size_t r = 0; r < list.size(); ++r) {
    sources_->setItem(static_cast<int>(r), 0, new QTableWidgetItem(Q(list[r].path)));
    for (std::size_t f = 0; f < std::size(kSourceFlags); ++f) {
      auto* item = new QTableWidgetItem;
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
      item->setCheckState(list[r].*(kSourceFlags[f].field) ? Qt::Checked : Qt::Unchecked);
      sources_->setItem(static_cast<int>(r), static_cast<int>(f) + 1, item);
    }
  }
  refreshing_ = false;
}

void MainWindow::RefreshFilters() {
  refreshing_ = true;
  for (int k = 0; k < 2; ++k) {
    const auto& list = k ? settings_.sources.folderFilters : settings_.sources.fileFilters;
    filters_[k]->clear();
    for (const FilterRow& row : list) {
      auto* item = new QListWidgetItem(Q(row.text), filters_[k]);
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(row.ticked ? Qt::Checked : Qt::Unchecked);
    }
  }
  refreshing_ = false;
}

void MainWindow::RefreshProfiles() {
  profiles_->clear();
  for (const ProfileRow& row : Init_ProfileList(session_.app().paths.profileFolder)) {
    auto* item = new QListWidgetItem(Q(row.comment.empty() ? row.name : row.name + "  -  " + row.comment), profiles_);
    item->setData(Qt::UserRole, Q(row.name));
  }
}

void MainWindow::ShowLastSearchLog() {
  const LastSearchLog log = Log_Show_Last_Search();
  logHeading_->setText(Q(log.heading));
  logPane_->setPlainText(Q(log.text));
}

QString MainWindow::LogPaneText() const { return logHeading_->text() + "\n" + logPane_->toPlainText(); }

void MainWindow::Tell(const std::string& message) {
  if (!message.empty()) bridge_.Ask(PromptMessage::Composed(message, PromptButtons::Ok, PromptIcon::Exclamation));
}

std::string MainWindow::AddSourceFolder(const std::string& path) {
  std::string error = presenter_.AddSourceFolder(path);
  RefreshSources();
  return error;
}

bool MainWindow::SaveProfile(const std::string& name) {
  const std::string& folder = session_.app().paths.profileFolder;
  const auto rows = Init_ProfileList(folder);
  const bool exists = std::any_of(rows.begin(), rows.end(), [&](const ProfileRow& r) { return r.name == name; });
  const bool ok = exists ? Profil_Save(folder, name, settings_, bridge_) : Profil_New(folder, name, settings_, bridge_);
  RefreshProfiles();
  return ok;
}

bool MainWindow::LoadProfile(const std::string& name) {
  const bool ok = Profil_Load(session_.app().paths.profileFolder, name, settings_);
  Refresh();
  return ok;
}

bool MainWindow::RenameProfile(const std::string& from, const std::string& to) {
  const bool ok = Profil_Rename(session_.app().paths.profileFolder, from, to, bridge_);
  RefreshProfiles();
  return ok;
}

bool MainWindow::DeleteProfile(const std::string& name) {
  const bool ok = Profil_Delete(session_.app().paths.profileFolder, name, bridge_);
  RefreshProfiles();
  return ok;
}

bool MainWindow::CommentProfile(const std::string& name, const std::string& comment) {
  const bool ok = Profil_Save_Comment(session_.app().paths.profileFolder, name, comment, bridge_);
  RefreshProfiles();
  return ok;
}

std::vector<std::string> MainWindow::ProfileNames() const {
  std::vector<std::string> names;
  for (const ProfileRow& row : Init_ProfileList(session_.app().paths.profileFolder)) names.push_back(row.name);
  return names;
}

bool MainWindow::CreateUserLanguageFile() {
  const std::string& folder = session_.app().paths.langFolder;
  if (!twinex::CreateUserLanguageFile(folder, bridge_)) return false;
  Tell(z_Translate(22209, "Die Sprachdatei '%1' wurde erstellt.", {folder + "/lang.txt"}));
  return true;
}

void MainWindow::UseUserLanguageFile(bool on) {
  const std::string message = SwitchUserLanguageFile(windowSettings_, on);
  if (message.empty()) return;
  // Written at once: the next start reads it even when this run ends without closing the window.
  SaveWindowSettings(windowSettings_);
  const QSignalBlocker keep(useLanguageFile_);
  useLanguageFile_->setChecked(on);
  Tell(message);
}

void MainWindow::RunStartupUpdateChecks() { ui::RunStartupUpdateChecks({this, session_, bridge_, windowSettings_}); }

bool MainWindow::ApplyCommandLine(const std::string& rawCommandLine) {
  CommandLineOutcome outcome;
  session_.ApplyCommandLine(rawCommandLine, &outcome);
  Refresh();
  if (!outcome.processed) return false;
  StartSearch();
  return true;
}

ResultWindow* MainWindow::StartSearch() {
  if (!presenter_.StartEnabled()) return nullptr;
  if (result_ && result_->Running()) {
    result_->raise();
    return result_.get();
  }
  NewResultWindow();
  connect(result_.get(), &ResultWindow::searchFinished, this, [this] {
    if (!session_.lastSearch().started) result_->hide();
  });
  result_->show();
  result_->StartSearch();
  return result_.get();
}

ResultWindow* MainWindow::NewResultWindow() {
  if (result_) result_->close();
  result_ = std::make_unique<ResultWindow>(session_, bridge_, windowSettings_, LoadExportColumns(SettingsFilePath()));
  connect(result_.get(), &ResultWindow::closed, this, &MainWindow::ShowLastSearchLog);
  // A search may save its result by itself (AutoSave).
  for (auto saved : {&ResultWindow::resultSaved, &ResultWindow::searchFinished})
    connect(result_.get(), saved, savedResults_, &SavedResultsPage::Refresh);
  return result_.get();
}

ResultWindow* MainWindow::OpenSavedResult(const std::string& name) {
  if (result_ && result_->Running()) {
    result_->raise();
    return nullptr;
  }
  // The load replaces the session's result: the open window lets go of the old one first and
  // takes it back when nothing was loaded. The load asks nothing, so it runs from here.
  if (result_) result_->model().SetTree(nullptr);
  if (!session_.LoadResult(name).empty()) {
    if (result_) result_->ShowResult();
    return nullptr;
  }
  NewResultWindow();
  result_->ShowResult();
  result_->show();
  return result_.get();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (result_) result_->close();
  RememberWindow(*this, windowSettings_, kWindowName);
  SaveWindowSettings(windowSettings_);
  EinstellungenSpeichern(settings_, SettingsFilePath());
  QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  std::string errors;
  for (const QUrl& url : event->mimeData()->urls()) {
    const std::string error = url.isLocalFile() ? AddSourceFolder(S(url.toLocalFile())) : "";
    if (!error.empty()) errors += (errors.empty() ? "" : "\n") + error;
  }
  Tell(errors);
  event->acceptProposedAction();
}

}  // namespace twinex::ui
