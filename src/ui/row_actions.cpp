#include "ui/row_actions.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QTreeView>
#include <algorithm>

#include "app/session.h"
#include "settings/settings_file.h"
#include "settings/window_settings.h"
#include "ui/qt_text.h"
#include "ui/result_model.h"
#include "ui/serve_questions.h"

namespace twinex::ui {
namespace {

// The file row under the index, or null for a group row or no row.
const ResultFile* FileAt(const ResultModel& model, const QModelIndex& at, MarkedRow* row) {
  const ResultTree* tree = model.tree();
  if (!tree || !at.isValid() || !at.parent().isValid()) return nullptr;
  const auto g = static_cast<std::size_t>(at.parent().row());
  const auto f = static_cast<std::size_t>(at.row());
  if (g >= tree->groups.size() || f >= tree->groups[g].files.size()) return nullptr;
  if (row) *row = {tree->groups[g].id, f};
  return &tree->groups[g].files[f];
}

}  // namespace

RowActions::RowActions(QTreeView& grid, ResultModel& model, Session& session, WindowSettings& windowSettings,
                       std::function<bool()> busy, QWidget* window)
    : QObject(window),
      grid_(grid),
      model_(model),
      session_(session),
      windowSettings_(windowSettings),
      busy_(std::move(busy)),
      window_(window) {
  chooseFolder_ = [this](const QString& start) { return QFileDialog::getExistingDirectory(window_, QString(), start); };
  chooseName_ = [this](const QString& start) {
    return QInputDialog::getText(window_, Q(z_Translate(22604, "Datei umbenennen")),
                                 Q(z_Translate(22605, "Neuer Dateiname:")), QLineEdit::Normal, start)
        .trimmed();
  };
  grid_.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&grid_, &QWidget::customContextMenuRequested, this, &RowActions::ShowMenu);
}

std::vector<RowMenuItem> RowActions::ItemsAt(const QModelIndex& at) const {
  RowMenuContext c;
  const ResultTree* tree = model_.tree();
  c.actionsAllowed = tree && !model_.showingLive() && !busy_() && session_.ActionRefusal().empty();
  if (tree) c.selectedFiles = static_cast<std::size_t>(std::max<std::int64_t>(tree->counters.DupCountSelected, 0));
  if (const ResultFile* f = FileAt(model_, at, nullptr)) {
    c.onFile = true;
    c.fileProtected = f->protectedFile;
    c.groupFiles = tree->groups[static_cast<std::size_t>(at.parent().row())].files.size();
  }
  return RowMenuItems(c);
}

void RowActions::FillMenu(QMenu& menu, const QModelIndex& at) {
  const QPersistentModelIndex row(at);
  for (const RowMenuItem& item : ItemsAt(at)) {
    if (item.separatorBefore) menu.addSeparator();
    QAction* a = menu.addAction(Q(item.caption));
    a->setEnabled(item.enabled);
    const RowCommand command = item.command;
    connect(a, &QAction::triggered, this, [this, command, row] { Run(command, row); });
  }
}

void RowActions::ShowMenu(const QPoint& at) {
  QMenu menu(window_);
  FillMenu(menu, grid_.indexAt(at));
  menu.exec(grid_.viewport()->mapToGlobal(at));
}

bool RowActions::Run(RowCommand command, const QModelIndex& at) {
  const std::vector<RowMenuItem> items = ItemsAt(at);
  const auto item = std::find_if(items.begin(), items.end(), [&](const RowMenuItem& i) { return i.command == command; });
  if (item == items.end() || !item->enabled) return false;
  if (command == RowCommand::FileManager) {
    emit fileManagerWanted();
    return true;
  }
  FileCommandRequest request;
  request.command = FileCommandOf(command);
  const ResultFile* file = FileAt(model_, at, &request.row);
  if (const char* key = RowFolderKey(command)) {
    const std::string settings = session_.settingsFile();
    request.folder = S(chooseFolder_(Q(ReadSetting("Optionen", key, settings))));
    if (request.folder.empty()) return false;
    StoreSetting(windowSettings_, "Optionen", key, request.folder, settings);
  } else if (command == RowCommand::Rename) {
    request.newName = S(chooseName_(Q(file->dupname)));
    if (request.newName.empty() || request.newName == file->dupname) return false;
  }
  emit runStarted();
  RunServingQuestions([&] { return session_.RunFileCommand(request); });
  emit runFinished();
  return true;
}

}  // namespace twinex::ui
