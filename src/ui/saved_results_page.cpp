#include "ui/saved_results_page.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/qt_text.h"
#include "ui/serve_questions.h"
#include "ui/ui_bridge.h"

namespace twinex::ui {

SavedResultsPage::SavedResultsPage(Session& session, UiBridge& bridge, Loader load, QWidget* parent)
    : QWidget(parent),
      session_(session),
      bridge_(bridge),
      load_(std::move(load)),
      presenter_(session.app().paths.dataFolder) {
  setObjectName("SavedResultsPage");
  auto* layout = new QHBoxLayout(this);
  list_ = new QTreeWidget(this);
  list_->setRootIsDecorated(false);
  list_->setAlternatingRowColors(true);
  QStringList headers;
  for (const std::string& h : SavedResultsPresenter::Headers()) headers << Q(h);
  list_->setHeaderLabels(headers);
  list_->header()->setStretchLastSection(true);
  // The comment is edited in place; the other columns only show.
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layout->addWidget(list_, 1);
  auto* column = new QVBoxLayout;
  layout->addLayout(column);
  for (const SavedResultCommandRow& row : SavedResultCommands()) {
    auto* b = new QPushButton(Q(z_Translate(row.caption)), this);
    connect(b, &QPushButton::clicked, this, [this, c = row.command] { Run(c); });
    column->addWidget(b);
    buttons_.emplace_back(row.command, b);
  }
  column->addStretch(1);

  connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (refreshing_) return;
    presenter_.Choose(item ? list_->indexOfTopLevelItem(item) : -1);
    ShowEnabled();
  });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int column) {
    if (column == SavedResultsPresenter::kCommentColumn) {
      list_->editItem(item, column);
      return;
    }
    presenter_.Choose(list_->indexOfTopLevelItem(item));
    Load();
  });
  connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (refreshing_ || column != SavedResultsPresenter::kCommentColumn) return;
    SaveComment(S(item->text(0)), S(item->text(column)));
  });
  Refresh();
}

void SavedResultsPage::Refresh() {
  refreshing_ = true;
  presenter_.Refresh();
  list_->clear();
  for (std::size_t r = 0; r < presenter_.entries().size(); ++r) {
    QStringList cells;
    for (const std::string& c : presenter_.Cells(r)) cells << Q(c);
    auto* item = new QTreeWidgetItem(list_, cells);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
  }
  if (presenter_.chosen() >= 0) list_->setCurrentItem(list_->topLevelItem(presenter_.chosen()));
  for (int c = 0; c < SavedResultsPresenter::kCommentColumn; ++c) list_->resizeColumnToContents(c);
  refreshing_ = false;
  ShowEnabled();
}

void SavedResultsPage::ShowEnabled() {
  for (auto& [command, button] : buttons_) button->setEnabled(presenter_.Enabled(command));
}

void SavedResultsPage::Choose(const std::string& name) {
  for (std::size_t i = 0; i < presenter_.entries().size(); ++i)
    if (presenter_.entries()[i].name == name) list_->setCurrentItem(list_->topLevelItem(static_cast<int>(i)));
}

void SavedResultsPage::Run(SavedResultCommand command) {
  const SavedResultEntry* e = presenter_.ChosenEntry();
  if (!e || !presenter_.Enabled(command)) return;
  switch (command) {
    case SavedResultCommand::Load: Load(); break;
    case SavedResultCommand::Rename: {
      const std::string to = S(QInputDialog::getText(this, Q(e->name), Q(SavedResultsPresenter::RenameQuestion()),
                                                     QLineEdit::Normal, Q(e->name)));
      if (!to.empty() && to != e->name) Rename(to);
      break;
    }
    case SavedResultCommand::Delete: Delete(); break;
    case SavedResultCommand::ShowLog:
      QDesktopServices::openUrl(QUrl::fromLocalFile(Q(SavedResultPaths(presenter_.dataFolder(), e->name).log)));
      break;
  }
}

void SavedResultsPage::Load() {
  if (const SavedResultEntry* e = presenter_.ChosenEntry()) load_(e->name);
}

bool SavedResultsPage::Rename(const std::string& newName) {
  const SavedResultEntry* e = presenter_.ChosenEntry();
  if (!e) return false;
  const std::string error = Searchresult_Rename(presenter_.dataFolder(), e->name, newName);
  Tell(error);
  Refresh();
  if (error.empty()) Choose(newName);
  return error.empty();
}

bool SavedResultsPage::Delete() {
  const SavedResultEntry* e = presenter_.ChosenEntry();
  if (!e) return false;
  std::string error;
  const bool deleted = Searchresult_Delete(presenter_.dataFolder(), e->name, bridge_, &error);
  Tell(error);
  Refresh();
  return deleted;
}

bool SavedResultsPage::SaveComment(const std::string& name, const std::string& comment) {
  const std::string error = Searchresult_Save_Comment(presenter_.dataFolder(), name, comment);
  Tell(error);
  if (!error.empty()) Refresh();  // the list shows the comment that is stored
  return error.empty();
}

void SavedResultsPage::Tell(const std::string& message) {
  if (!message.empty()) bridge_.Ask(PromptMessage::Composed(message, PromptButtons::Ok, PromptIcon::Exclamation));
}

std::string AskResultName(QWidget* parent, const std::string& preset) {
  return S(QInputDialog::getText(parent, Q(z_Translate(22427, "Suchergebnis speichern")),
                                 Q(SavedResultsPresenter::SaveNameQuestion()), QLineEdit::Normal, Q(preset))
               .trimmed());
}

SaveResultOutcome SaveResultNamed(Session& session, UiBridge& bridge, const std::string& name) {
  SaveResultOutcome out = RunServingQuestions([&] { return session.SaveResult(name); });
  if (!out.saved && !out.error.empty())
    bridge.Ask(PromptMessage::Composed(out.error, PromptButtons::Ok, PromptIcon::Exclamation));
  return out;
}

}  // namespace twinex::ui
