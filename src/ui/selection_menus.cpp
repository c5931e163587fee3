#include "ui/selection_menus.h"

#include <QActionGroup>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressDialog>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <atomic>

#include "app/session.h"
#include "presenters/command_keys.h"
#include "presenters/result_options.h"
#include "presenters/result_window_presenter.h"
#include "results/selection_conditions.h"
#include "search/source_protection.h"
#include "settings/settings_file.h"
#include "settings/window_settings.h"
#include "ui/qt_text.h"
#include "ui/result_model.h"
#include "ui/select_dialogs.h"
#include "ui/serve_questions.h"
#include "ui/shortcuts.h"
#include "ui/shortcuts_dialog.h"
#include "ui/ui_bridge.h"

namespace twinex::ui {

struct ResultCommands::Feedback {
  std::atomic<int> percent{-1};
  std::atomic<bool> cancel{false};
  bool Tick(std::size_t done, std::size_t total) {
    percent = total ? static_cast<int>(done * 100 / total) : 0;
    return !cancel;
  }
};

namespace {

int ToBgr(const QColor& c) { return RgbToBgr(c.red(), c.green(), c.blue()); }
QColor FromBgr(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

}  // namespace

ResultCommands::ResultCommands(QMainWindow& window, Session& session, UiBridge& bridge, ResultModel& model,
                               QTreeView& grid, ResultWindowPresenter& presenter, WindowSettings& windowSettings)
    : QObject(&window),
      window_(window),
      session_(session),
      bridge_(bridge),
      model_(model),
      grid_(grid),
      presenter_(presenter),
      windowSettings_(windowSettings),
      mode_(LoadEditingMode()) {
  runDialog = [](QDialog& d) { return d.exec() == QDialog::Accepted; };
  askText = [this](const QString& title, const QString& label, const QString& text, bool* ok) {
    return QInputDialog::getText(&window_, title, label, QLineEdit::Normal, text, ok);
  };
  askFolder = [this](const QString& title) { return QFileDialog::getExistingDirectory(&window_, title); };
  askColour = [this](const QColor& initial, const QString& title) {
    return QColorDialog::getColor(initial, &window_, title);
  };
}

void ResultCommands::Install(std::function<void(QMenu&)> fillColumns) {
  QMenuBar* bar = window_.menuBar();
  auto keep = [this](QAction* a, const std::string& command) {
    commands_[a] = command;
    return a;
  };

  // ---- Auswahl ----
  QMenu* select = bar->addMenu(Q(SelectionMenuTitle()));
  undo_ = keep(select->addAction(Q(UndoList::CommandCaption()), this, [this] { UndoLast(); }), "Undo");
  QMenu* undoList = select->addMenu(Q(UndoMenuTitle()));
  connect(undoList, &QMenu::aboutToShow, this, [this, undoList] { FillUndoMenu(*undoList); });
  resultMenus_.push_back(undoList->menuAction());
  select->addSeparator();
  for (SelectMenuGroup group : kSelectMenuGroups) {
    QMenu* sub = select->addMenu(Q(SelectMenuTitle(group)));
    for (const SelectMenuEntry& e : SelectMenuEntries()) {
      if (e.menu != group) continue;
      QAction* a = keep(sub->addAction(Q(SelectEntryText(e)), this, [this, &e] { RunSelect(e); }), e.command);
      select_[e.tool] = a;
    }
    if (group == SelectMenuGroup::Rows) {
      markAll_ = keep(sub->addAction(Q(MarkAllFilesText()), this, [this] { MarkAllFiles(); }), "MarkAllFiles");
      resultMenus_.push_back(markAll_);
    }
  }
  select->addSeparator();
  QMenu* modes = select->addMenu(Q(EditingModeLabel()));
  modes->setToolTipsVisible(true);
  modes->menuAction()->setToolTip(Q(EditingModeQuestion()));
  auto* modeGroup = new QActionGroup(modes);
  for (int m = 0; m < kEditingModeCount; ++m) {
    QAction* a = modes->addAction(Q(EditingModeName(m)));
    a->setCheckable(true);
    a->setChecked(m == mode_);
    modeGroup->addAction(a);
    connect(a, &QAction::triggered, this, [this, m] {
      mode_ = m;
      SaveEditingMode(m);
      ReloadSection(windowSettings_, "Optionen");
    });
    modes_.push_back(a);
  }
  QMenu* filter = select->addMenu(Q(GroupFilterMenuTitle()));
  filter->menuAction()->setToolTip(Q(GroupFilter::Question()));
  for (int state = 0; state < 3; ++state) {
    QAction* a = filter->addAction(Q(GroupFilter::SwitchCaption(state)));
    a->setCheckable(true);
    a->setChecked(true);
    connect(a, &QAction::toggled, this, [this] { ApplyGroupFilter(); });
    filter_.push_back(a);
  }
  protection_ = select->addMenu(Q(ProtectionMenuTitle()));
  connect(protection_, &QMenu::aboutToShow, this, [this] { FillProtectionMenu(); });
  resultMenus_.insert(resultMenus_.end(), {modes->menuAction(), filter->menuAction(), protection_->menuAction()});

  // ---- Entfernen ----
  QMenu* removal = bar->addMenu(Q(RemovalMenuTitle()));
  for (const RemovalMenuEntry& e : RemovalMenuEntries())
    remove_[e.id] = keep(removal->addAction(Q(RemovalEntryText(e)), this, [this, &e] { RunRemoval(e); }), e.command);

  // ---- Optionen ----
  QMenu* options = bar->addMenu(Q(OptionsMenuTitle()));
  QMenu* columns = options->addMenu(Q(ColumnsMenuTitle()));
  connect(columns, &QMenu::aboutToShow, this, [columns, fillColumns] {
    columns->clear();
    fillColumns(*columns);
  });
  QMenu* colours = options->addMenu(Q(ColoursMenuTitle()));
  for (std::size_t i = 0; i < ColourOptions().size(); ++i)
    colours_.push_back(colours->addAction(Q(z_Translate(ColourOptions()[i].label)), this, [this, i] { ChooseColour(i); }));
  colours->addSeparator();
  colours->addAction(Q(ResetColoursText()), this, [this] {
    ResetColours(session_.settings().options, SettingsFilePath());
    ColoursChanged();
  });
  shortcuts_ = options->addAction(Q(ShortcutsMenuText()), this, [this] { EditShortcuts(); });

  // The tool bar opens the same menus; their captions are too long for buttons of their own.
  QToolBar* tools = window_.addToolBar(Q(SelectionMenuTitle()));
  tools->setObjectName("SelectionToolBar");
  for (QMenu* m : {select, removal}) {
    auto* button = new QToolButton(tools);
    button->setMenu(m);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setText(m->title().remove('&'));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addWidget(button);
  }
  tools->addAction(undo_);

  // Beside the counters, not over them as a passing status message would be.
  message_ = new QLabel(&window_);
  message_->setTextFormat(Qt::PlainText);
  window_.statusBar()->addPermanentWidget(message_);

  ApplyKeys();
  connect(&model_, &QAbstractItemModel::modelReset, this, [this] {
    filtered_ = false;  // a reset shows every row again
    ApplyGroupFilter();
    Refresh();
  });
  // Check marks decide which groups the filter shows.
  connect(&model_, &ResultModel::countersChanged, this, [this] {
    ApplyGroupFilter();
    Refresh();
  });
  connect(grid_.selectionModel(), &QItemSelectionModel::currentChanged, this, &ResultCommands::Refresh);
  connect(grid_.selectionModel(), &QItemSelectionModel::selectionChanged, this, &ResultCommands::Refresh);
  Refresh();
}

QAction* ResultCommands::Action(SelectToolId id) const {
  auto at = select_.find(id);
  return at == select_.end() ? nullptr : at->second;
}

QAction* ResultCommands::Action(RemovalId id) const {
  auto at = remove_.find(id);
  return at == remove_.end() ? nullptr : at->second;
}

QAction* ResultCommands::ModeAction(int mode) const {
  return mode >= 0 && static_cast<std::size_t>(mode) < modes_.size() ? modes_[static_cast<std::size_t>(mode)] : nullptr;
}

QAction* ResultCommands::GroupFilterAction(int state) const {
  return state >= 0 && static_cast<std::size_t>(state) < filter_.size() ? filter_[static_cast<std::size_t>(state)]
                                                                         : nullptr;
}

QAction* ResultCommands::ColourAction(std::size_t option) const {
  return option < colours_.size() ? colours_[option] : nullptr;
}

// ---- The view ----------------------------------------------------------------------------

ResultViewState ResultCommands::ViewState() const {
  ResultViewState v;
  const ResultTree* tree = model_.tree();
  v.hasResult = tree && !model_.showingLive() && !presenter_.running() && session_.selection() &&
                &session_.selection()->tree() == tree;
  v.busy = busy_;
  if (!v.hasResult) return v;
  v.files = tree->counters.DupCount;
  v.selectedFiles = tree->counters.DupCountSelected;
  v.undoActions = session_.selection()->undo().Count();
  const QModelIndex current = grid_.currentIndex();
  v.hasCurrent = current.isValid();
  v.currentIsFile = current.isValid() && current.parent().isValid();
  if (const QItemSelectionModel* sm = grid_.selectionModel())
    for (const QModelIndex& i : sm->selectedRows(0)) (i.parent().isValid() ? v.hasMarkedFiles : v.hasMarkedGroups) = true;
  return v;
}

ViewPick ResultCommands::Pick() const {
  ViewPick p;
  const ResultTree* tree = model_.tree();
  if (!tree) return p;
  // A row of the view: its group's number and, for a file row, its place in the group.
  auto row = [tree](const QModelIndex& i, MarkedRow& out) {
    const QModelIndex g = i.parent().isValid() ? i.parent() : i;
    if (g.row() < 0 || static_cast<std::size_t>(g.row()) >= tree->groups.size()) return false;
    out = {tree->groups[static_cast<std::size_t>(g.row())].id, i.parent().isValid() ? static_cast<std::size_t>(i.row()) : 0};
    return true;
  };
  const QModelIndex current = grid_.currentIndex();
  if (current.isValid() && row(current, p.current)) {
    p.currentIsFile = current.parent().isValid();
    if (p.currentIsFile) {
      const ResultGroup& g = tree->groups[static_cast<std::size_t>(current.parent().row())];
      if (p.current.fileIndex < g.files.size()) p.currentFolder = g.files[p.current.fileIndex].path;
    }
  }
  if (const QItemSelectionModel* sm = grid_.selectionModel()) {
    for (const QModelIndex& i : sm->selectedRows(0)) {
      MarkedRow m;
      if (!row(i, m)) continue;
      if (i.parent().isValid())
        p.markedFiles.push_back(m);
      else
        p.markedGroups.push_back(m.groupId);
    }
  }
  return p;
}

void ResultCommands::SyncView() {
  Selection* s = session_.selection();
  ResultTree* tree = model_.tree();
  if (!s || !tree) return;
  s->editingMode = mode_;
  s->groupFilter = {filter_[0]->isChecked(), filter_[1]->isChecked(), filter_[2]->isChecked()};
  s->markedGroups.clear();
  for (int g : Pick().markedGroups) s->markedGroups.insert(g);
  for (std::size_t g = 0; g < tree->groups.size(); ++g)
    tree->groups[g].expanded = grid_.isExpanded(model_.index(static_cast<int>(g), 0));
}

void ResultCommands::Refresh() {
  model_.SetSelection(session_.selection());
  const ResultViewState v = ViewState();
  for (const SelectMenuEntry& e : SelectMenuEntries()) select_[e.tool]->setEnabled(SelectEntryEnabled(e, v));
  for (const RemovalMenuEntry& e : RemovalMenuEntries()) remove_[e.id]->setEnabled(RemovalEntryEnabled(e, v));
  undo_->setEnabled(UndoEnabled(v));
  undo_->setToolTip(v.hasResult ? Q(session_.selection()->undo().Caption()) : QString());
  for (QAction* a : resultMenus_) a->setEnabled(ResultMenusEnabled(v));
}

// ---- Running commands --------------------------------------------------------------------

void ResultCommands::RunAway(const QString& waitText, const std::function<void(Feedback&)>& work) {
  busy_ = true;
  Refresh();
  grid_.setEnabled(false);
  grid_.setUpdatesEnabled(false);  // the rows change underneath while the helper works
  Feedback feedback;
  QProgressDialog progress(waitText, Q(z_Translate(22341, "Abbrechen")), 0, 100, &window_);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  connect(&progress, &QProgressDialog::canceled, this, [&feedback] { feedback.cancel = true; });
  message_->setText(waitText);
  // The progress dialog's cancel button needs the user's input, so every event is served.
  RunServingQuestions([&] { work(feedback); },
                      [&] {
                        if (feedback.percent >= 0) progress.setValue(feedback.percent);
                      },
                      QEventLoop::AllEvents);
  progress.close();
  grid_.setUpdatesEnabled(true);
  grid_.setEnabled(true);
  busy_ = false;
}

bool ResultCommands::AskNumber(SelectAsk ask, const QString& title, long& value) {
  const NumberQuestion n = ask == SelectAsk::Percent ? PercentQuestion() : FileCountQuestion();
  bool ok = false;
  const QString text = askText(title, Q(n.label), Q(n.defaultText), &ok);
  // An empty answer cancels, like Cancel; so does a number the command cannot take.
  return ok && !text.trimmed().isEmpty() && ReadNumberAnswer(n, S(text), value);
}

bool ResultCommands::AskFolder(const QString& title, std::string& folder) {
  const QString dir = askFolder(title);
  folder = S(dir);
  return !dir.isEmpty();
}

bool ResultCommands::AskSelectInput(const SelectMenuEntry& entry, const QString& title, SelectRequest& q) {
  switch (entry.ask) {
    case SelectAsk::None:
      return true;
    case SelectAsk::Date: {
      SelectByDateDialog d(Q(SelectByDateDialogTitle()), &window_);
      if (!runDialog(d)) return false;
      q.date = d.condition();
      return true;
    }
    case SelectAsk::Size: {
      SelectBySizeDialog d(title, &window_);
      if (!runDialog(d)) return false;
      q.size = d.condition();
      return true;
    }
    case SelectAsk::Name:
    case SelectAsk::Path: {
      const PatternField field = entry.ask == SelectAsk::Name ? PatternField::Name : PatternField::Path;
      const bool deselects = FindSelectTool(entry.tool).deselects;
      SelectByPatternDialog d(field, deselects ? title : Q(SelectPatternDialogTitle(field)), &window_);
      d.showError = [this](const QString& text) { Report(text, true); };
      if (!runDialog(d)) return false;
      q.pattern = d.condition();
      return true;
    }
    case SelectAsk::Percent: {
      long percent = 0;
      if (!AskNumber(entry.ask, title, percent)) return false;
      q.percent = static_cast<int>(percent);
      return true;
    }
    case SelectAsk::ChosenFolder:
      return AskFolder(title, q.folder);
    case SelectAsk::FileCount:
      break;
  }
  return false;
}

void ResultCommands::RunSelect(const SelectMenuEntry& entry) {
  if (busy_ || !SelectEntryEnabled(entry, ViewState())) return;
  const QString title = Q(SelectEntryText(entry));
  SelectRequest q = MakeSelectRequest(entry, Pick());
  if (!AskSelectInput(entry, title, q)) return;
  SyncView();
  q.prompt = &bridge_;
  SelectOutcome out;
  const QString wait = Q(z_Translate(FindSelectTool(entry.tool).waitText));
  RunAway(wait, [&](Feedback& f) {
    q.progress = [&f](std::size_t done, std::size_t total) { return f.Tick(done, total); };
    out = session_.Select(entry.tool, q);
  });
  model_.RefreshChecks();
  // A refusal, a search text that found nothing or a list of defects is worth a box; a count
  // is not.
  const bool box = (!out.ran && !out.message.empty()) || out.message.find("\r\n") != std::string::npos ||
                   (out.ran && out.matched == 0 && FindSelectTool(entry.tool).input == ToolInput::Pattern);
  Report(Q(out.message), box);
  Refresh();
}

void ResultCommands::RunRemoval(const RemovalMenuEntry& entry) {
  if (busy_ || !RemovalEntryEnabled(entry, ViewState())) return;
  const QString title = Q(RemovalEntryText(entry));
  Search* search = session_.search();
  RemovalRequest r = MakeRemovalRequest(entry, Pick(), search ? static_cast<int>(search->sourceTable.size()) : 0);
  if (entry.ask == SelectAsk::FileCount && !AskNumber(entry.ask, title, r.fileCount)) return;
  if (entry.ask == SelectAsk::ChosenFolder && !AskFolder(title, r.folder)) return;
  SyncView();
  ResultTree* tree = model_.tree();
  model_.SetTree(nullptr);  // rows go away underneath: the view lets go of them first
  std::size_t removed = 0;
  RunAway(Q(RemovalWaitText(entry.id, r)), [&](Feedback& f) {
    r.progress = [&f](std::size_t done, std::size_t total) { return f.Tick(done, total); };
    removed = session_.Remove(entry.id, r);
  });
  model_.SetTree(tree);
  model_.RefreshChecks();
  Report(Q(z_Translate(22312, "Es wurden %1 Dateien aus dem Suchergebnis entfernt.", {std::to_string(removed)})), false);
  Refresh();
  emit rowsRemoved();
}

void ResultCommands::UndoLast(std::size_t count) {
  Selection* s = session_.selection();
  if (busy_ || !s || !UndoEnabled(ViewState())) return;
  const QString wait = Q(s->undo().WaitText());
  std::size_t undone = 0;
  RunAway(wait, [&](Feedback&) {
    for (std::size_t i = 0; i < count && s->undo().Count() > 0; ++i) undone += session_.Undo();
  });
  model_.RefreshChecks();
  Report(Q(SelectCountMessage(undone, false)), false);
  Refresh();
}

void ResultCommands::MarkAllFiles() {
  QItemSelectionModel* sm = grid_.selectionModel();
  if (!sm || busy_) return;
  QItemSelection all;
  for (int g = 0; g < model_.rowCount(); ++g) {
    const QModelIndex group = model_.index(g, 0);
    const int files = model_.rowCount(group);
    if (files > 0) all.select(model_.index(0, 0, group), model_.index(files - 1, model_.columnCount() - 1, group));
  }
  sm->select(all, QItemSelectionModel::ClearAndSelect);
}

void ResultCommands::FillUndoMenu(QMenu& menu) {
  menu.clear();
  Selection* s = session_.selection();
  if (!s) return;
  const std::vector<std::string> entries = s->undo().MenuEntries();
  // Choosing an entry undoes it and every action after it.
  for (std::size_t i = 0; i < entries.size(); ++i)
    menu.addAction(Q(entries[i]), this, [this, i, n = entries.size()] { UndoLast(n - i); });
}

void ResultCommands::Report(const QString& message, bool asBox) {
  lastMessage_ = message;
  message_->clear();
  if (message.isEmpty()) return;
  if (asBox)
    bridge_.Ask(PromptMessage::Composed(S(message), PromptButtons::Ok, PromptIcon::Information));
  else
    message_->setText(QString(message).replace("\r\n", " "));
}

void ResultCommands::ApplyGroupFilter() {
  const ResultTree* tree = model_.tree();
  if (!tree) return;
  GroupFilter f{filter_[0]->isChecked(), filter_[1]->isChecked(), filter_[2]->isChecked()};
  const bool filtering = !(f.showNoneSelected && f.showAllSelected && f.showSomeSelected);
  if (!filtering && !filtered_) return;  // nothing hidden, nothing to show again
  for (std::size_t g = 0; g < tree->groups.size(); ++g)
    grid_.setRowHidden(static_cast<int>(g), {}, !f.Shows(ResultTree::GroupCheckState(tree->groups[g])));
  filtered_ = filtering;
  if (Selection* s = session_.selection()) s->groupFilter = f;
}

// ---- Protection ----------------------------------------------------------------------------

void ResultCommands::FillProtectionMenu() {
  protection_->clear();
  QAction* heading = protection_->addAction(Q(ProtectionQuestion()));
  heading->setEnabled(false);
  Search* search = session_.search();
  if (!search) return;
  for (const SourceEntry& e : search->sourceTable) {
    QAction* a = protection_->addAction(Q(std::to_string(e.SourceNr) + ": " + e.path));
    a->setCheckable(true);
    a->setChecked(e.fileProtection);
    a->setData(e.SourceNr);
    connect(a, &QAction::toggled, this, [this, nr = e.SourceNr](bool on) {
      if (Search* s = session_.search(); s && !busy_) SetSourceProtection(*s, nr, on);
      model_.RefreshChecks();
    });
  }
}

std::vector<QAction*> ResultCommands::ProtectionActions() {
  FillProtectionMenu();
  std::vector<QAction*> out;
  for (QAction* a : protection_->actions())
    if (a->isCheckable()) out.push_back(a);
  return out;
}

// ---- Options -------------------------------------------------------------------------------

void ResultCommands::ChooseColour(std::size_t option) {
  const ColourOption& o = ColourOptions()[option];
  ProgramOptions& options = session_.settings().options;
  const QColor chosen = askColour(FromBgr(options.*(o.field)), Q(z_Translate(o.label)));
  if (!chosen.isValid()) return;
  StoreColour(options, o, ToBgr(chosen), SettingsFilePath());
  ColoursChanged();
}

void ResultCommands::ColoursChanged() {
  presenter_.SetColours(session_.settings().options, QApplication::palette().color(QPalette::Base).lightness() < 128);
  model_.RefreshChecks();
}

void ResultCommands::ApplyKeys() {
  const Shortcuts keys = LoadShortcuts(windowSettings_);
  std::map<std::string, std::string> defaults;
  for (const CommandKey& c : ConfigurableCommands()) defaults[c.command] = c.defaultKey;
  for (const auto& [action, command] : commands_) action->setShortcut(keys.Key(command, defaults[command]));
}

void ResultCommands::EditShortcuts() {
  ShortcutsDialog d(windowSettings_, &window_);
  if (!runDialog(d)) return;
  ApplyKeys();
}

}  // namespace twinex::ui
