// The result window's selection, undo, protection, removal and option commands, given through
// their menu actions over a real search, with the dialogs and questions answered by the test.
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTreeView>
#include <QtTest>
#include <ctime>
#include <memory>
#include <set>

#include "app/session.h"
#include "settings/settings_file.h"
#include "settings/window_settings.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"
#include "ui/result_model.h"
#include "ui/result_window.h"
#include "ui/select_dialogs.h"
#include "ui/selection_menus.h"
#include "ui/shortcuts_dialog.h"
#include "ui/ui_bridge.h"
#include "desktop_session.h"

namespace twinex::ui {

class SelectionWindowTest : public QObject, protected DesktopSession {
  Q_OBJECT

 private:
  ResultWindow* result_ = nullptr;

  // `count` groups of equal files, one copy under each of the folders; the copy in the first
  // folder is ten days old, the others are new.
  void Copies(const std::vector<std::string>& folders, int count) {
    const std::int64_t now = std::time(nullptr);
    for (int i = 0; i < count; ++i)
      for (std::size_t c = 0; c < folders.size(); ++c) {
        const std::string f = dir_->Write(folders[c] + "/f" + std::to_string(i) + ".bin",
                                          std::string(10 + static_cast<std::size_t>(i), static_cast<char>('a' + i)));
        test::SetMTime(f, c == 0 ? now - 10 * 86400 : now - 60);
      }
  }
  // Searches the folders by size and content and keeps the result window.
  void Search(const std::vector<std::string>& sources) {
    for (const std::string& s : sources) QCOMPARE(QString::fromStdString(window_->AddSourceFolder(*dir_ / s)), QString());
    for (int c = 0; c < 7; ++c) window_->presenter().SetCriterion(c, c == kCritSize || c == kCritContent);
    result_ = window_->StartSearch();
    QVERIFY(result_);
    QTRY_VERIFY_WITH_TIMEOUT(!result_->Running(), 60000);
  }
  ResultCommands& Commands() { return result_->commands(); }
  ResultModel& Model() { return result_->model(); }
  int PathColumn() {
    for (std::size_t i = 0; i < Model().columns().size(); ++i)
      if (Model().columns()[i].sortKey == "path") return static_cast<int>(i);
    return -1;
  }
  // The checked files as the grid shows them, relative to the test folder ("a/f0.bin").
  std::set<std::string> Checked() {
    std::set<std::string> out;
    ResultModel& m = Model();
    const std::string base = dir_->path() + "/";
    for (int g = 0; g < m.rowCount(); ++g) {
      const QModelIndex group = m.index(g, 0);
      for (int f = 0; f < m.rowCount(group); ++f) {
        if (m.data(m.index(f, 0, group), Qt::CheckStateRole).toInt() != Qt::Checked) continue;
        std::string path = m.data(m.index(f, PathColumn(), group)).toString().toStdString() + "/" +
                           m.data(m.index(f, 0, group)).toString().toStdString();
        if (path.rfind(base, 0) == 0) path = path.substr(base.size());
        out.insert(path);
      }
    }
    return out;
  }
  void Trigger(QAction* a) {
    QVERIFY(a);
    QVERIFY2(a->isEnabled(), qPrintable(a->text()));
    a->trigger();
  }
  QModelIndex FileRow(int group, int file) { return Model().index(file, 0, Model().index(group, 0)); }

 private slots:
  void init() { OpenSession([](const PromptMessage& m) { return m.buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok; }); }

  void cleanup() {
    if (result_) result_->close();
    result_ = nullptr;
    CloseSession();
  }

  void keepOneByDateAndUndoThroughTheMenus() {
    Copies({"old", "new"}, 3);
    Search({"old", "new"});
    const std::set<std::string> old = {"old/f0.bin", "old/f1.bin", "old/f2.bin"};
    QVERIFY(!Commands().undoAction()->isEnabled());
    QVERIFY(!Commands().Action(SelectToolId::DeselectAll)->isEnabled());  // nothing selected yet

    Trigger(Commands().Action(SelectToolId::KeepNewest));
    QCOMPARE(Checked(), old);
    QVERIFY(result_->StatusText().contains("3 \\ 6"));
    QCOMPARE(Commands().lastMessage(), QString("Es wurden 3 Dateien ausgewählt."));

    Trigger(Commands().Action(SelectToolId::DeselectAll));
    QVERIFY(Checked().empty());

    // The date dialog, answered as a user would: older than five days.
    bool shown = false;
    Commands().runDialog = [&](QDialog& d) {
      auto* date = qobject_cast<SelectByDateDialog*>(&d);
      shown = date != nullptr;
      if (!date) return false;
      date->filterType->setCurrentIndex(0);
      date->amount->setValue(5);
      date->unit->setCurrentIndex(3);
      shown = !date->exactDate->isEnabled();  // only "exakt gleich" takes a date
      date->accept();
      return d.result() == QDialog::Accepted;
    };
    Trigger(Commands().Action(SelectToolId::SelectByDate));
    QVERIFY(shown);
    QCOMPARE(Checked(), old);
    QCOMPARE(ReadSetting("SelectDate", "DateValue"), std::string("5"));

    // A click on a box is an action of its own.
    const int unchecked = Model().data(FileRow(0, 0), Qt::CheckStateRole).toInt() == Qt::Checked ? 1 : 0;
    QVERIFY(Model().setData(FileRow(0, unchecked), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(Checked().size(), std::size_t{4});
    Trigger(Commands().undoAction());
    QCOMPARE(Checked(), old);
    Trigger(Commands().undoAction());  // the date selection
    QVERIFY(Checked().empty());
    Trigger(Commands().undoAction());  // "Alle Dateien abwählen"
    QCOMPARE(Checked(), old);
    QVERIFY(result_->StatusText().contains("3 \\ 6"));

    // The size dialog: an amount it cannot read keeps OK from closing it.
    Commands().runDialog = [&](QDialog& d) {
      auto* size = qobject_cast<SelectBySizeDialog*>(&d);
      if (!size) return false;
      size->filterType->setCurrentIndex(2);  // "größer als"
      size->unit->setCurrentIndex(0);
      size->amount->setText("zehn");
      size->accept();
      if (d.result() == QDialog::Accepted) return false;
      size->amount->setText("10,5");
      size->accept();
      return d.result() == QDialog::Accepted;
    };
    Trigger(Commands().Action(SelectToolId::DeselectBySize));
    QCOMPARE(Checked(), std::set<std::string>{"old/f0.bin"});  // f0 holds 10 bytes
    QCOMPARE(ReadSetting("SelectSize", "FilterType"), std::string("2"));
  }

  void folderPatternAndInvertCommandsAskWhatTheyNeed() {
    Copies({"a", "b/c"}, 2);
    Search({"a", "b"});
    Commands().askFolder = [this](const QString&) { return QString::fromStdString(*dir_ / "b"); };
    Trigger(Commands().Action(SelectToolId::SelectInsideFolder));
    QCOMPARE(Checked(), (std::set<std::string>{"b/c/f0.bin", "b/c/f1.bin"}));
    QVERIFY(!asked_.empty());
    QVERIFY(QString::fromStdString(asked_.back()).startsWith("Alle Dateien innerhalb der folgenden Ordnerstruktur auswählen?"));

    Trigger(Commands().Action(SelectToolId::Invert));
    QCOMPARE(Checked(), (std::set<std::string>{"a/f0.bin", "a/f1.bin"}));
    Trigger(Commands().markAllAction());
    Trigger(Commands().Action(SelectToolId::SelectMarked));
    QCOMPARE(Checked().size(), std::size_t{4});
    Trigger(Commands().undoAction());

    // An invalid search text keeps the dialog open with its message; a good one is remembered.
    QString error;
    Commands().runDialog = [&](QDialog& d) {
      auto* p = qobject_cast<SelectByPatternDialog*>(&d);
      if (!p) return false;
      p->text->setEditText("[f");
      p->accept();
      error = p->lastError();
      if (d.result() == QDialog::Accepted) return false;
      p->text->setEditText("F1*");
      p->accept();
      return d.result() == QDialog::Accepted;
    };
    asked_.clear();
    Trigger(Commands().Action(SelectToolId::DeselectByName));
    QVERIFY(error.startsWith("Der Suchtext '[f' ist ungültig"));
    QCOMPARE(asked_.size(), std::size_t{1});  // the message of the invalid text
    QCOMPARE(Checked(), (std::set<std::string>{"a/f0.bin"}));
    QCOMPARE(ReadSetting("SelectName", "namelist"), std::string("F1*"));

    // Nothing found is said in a box.
    Commands().runDialog = [&](QDialog& d) {
      auto* p = qobject_cast<SelectByPatternDialog*>(&d);
      p->text->setEditText("nothing*");
      p->accept();
      return d.result() == QDialog::Accepted;
    };
    Trigger(Commands().Action(SelectToolId::SelectByName));
    QCOMPARE(QString::fromStdString(asked_.back()), QString("Es konnten keine Dateien anhand dem Suchtext gefunden werden."));
  }

  void protectedFolderFilesAreNeverSelectedAndTheModeLimitsTheGroups() {
    Copies({"a", "b"}, 3);
    Search({"a", "b"});
    const std::vector<QAction*> sources = Commands().ProtectionActions();
    QCOMPARE(sources.size(), std::size_t{2});
    sources[1]->setChecked(true);  // "b"
    Trigger(Commands().Action(SelectToolId::SelectAll));
    QCOMPARE(Checked(), (std::set<std::string>{"a/f0.bin", "a/f1.bin", "a/f2.bin"}));
    QVERIFY(Commands().ProtectionActions()[1]->isChecked());
    Commands().ProtectionActions()[1]->setChecked(false);
    Trigger(Commands().Action(SelectToolId::DeselectAll));

    // "Offene Gruppen": a folded group is left alone.
    Trigger(Commands().ModeAction(1));
    QCOMPARE(ReadSetting("Optionen", "SelectionMode"), std::string("1"));
    QTreeView& grid = result_->grid();
    for (int g = 0; g < Model().rowCount(); ++g) grid.setExpanded(Model().index(g, 0), g != 0);
    Trigger(Commands().Action(SelectToolId::SelectAll));
    QCOMPARE(Checked().size(), std::size_t{4});
    QCOMPARE(Model().data(Model().index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    Trigger(Commands().ModeAction(0));

    // The group filter hides the groups whose files are all selected, and a hidden group is
    // left alone by the commands.
    Commands().GroupFilterAction(1)->setChecked(false);
    QVERIFY(!grid.isRowHidden(0, {}));
    QVERIFY(grid.isRowHidden(1, {}) && grid.isRowHidden(2, {}));
    Trigger(Commands().Action(SelectToolId::Invert));
    QCOMPARE(Checked().size(), std::size_t{6});
    QVERIFY(grid.isRowHidden(0, {}));
    Commands().GroupFilterAction(1)->setChecked(true);
    QVERIFY(!grid.isRowHidden(0, {}) && !grid.isRowHidden(1, {}));
  }

  void removalCommandsTakeRowsOutOfTheGrid() {
    Copies({"a", "b", "c"}, 3);
    Search({"a", "b", "c"});
    QCOMPARE(Model().rowCount(), 3);
    Trigger(Commands().Action(SelectToolId::KeepFirst));
    QVERIFY(Commands().undoAction()->isEnabled());

    QTreeView& grid = result_->grid();
    grid.setCurrentIndex(FileRow(0, 0));
    Trigger(Commands().Action(RemovalId::File_RemoveFromReport));
    QCOMPARE(Model().rowCount(Model().index(0, 0)), 2);
    QVERIFY(!Commands().undoAction()->isEnabled());  // rows left: the undo list is gone
    QVERIFY(result_->StatusText().contains("\\ 8"));

    grid.selectionModel()->select(Model().index(2, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Trigger(Commands().Action(RemovalId::RemoveMarkedGroupAndFiles));
    QCOMPARE(Model().rowCount(), 2);

    Commands().askText = [](const QString&, const QString& label, const QString& text, bool* ok) {
      *ok = label == "Dateianzahl:" && text == "1";
      return QString("2");
    };
    Trigger(Commands().Action(RemovalId::RemoveGroup_WithXfiles));
    QCOMPARE(Model().rowCount(), 1);
    QCOMPARE(Model().rowCount(Model().index(0, 0)), 3);
    QVERIFY(result_->StatusText().contains("\\ 3"));
  }

  void shortcutsAndColoursAreStored() {
    Copies({"a", "b"}, 1);
    Search({"a", "b"});
    QCOMPARE(Commands().Action(SelectToolId::SelectAll)->shortcut(), QKeySequence("Ctrl+A"));
    Commands().runDialog = [](QDialog& d) {
      auto* s = qobject_cast<ShortcutsDialog*>(&d);
      QString clash;
      s->showError = [&](const QString& text) { clash = text; };
      s->SetKeyText("SelectAll", "Ctrl+I");  // already "Dateiauswahl umkehren"
      s->accept();
      if (clash.isEmpty() || d.result() == QDialog::Accepted) return false;
      s->SetKeyText("SelectAll", "F9");
      s->accept();
      return d.result() == QDialog::Accepted;
    };
    Trigger(Commands().shortcutsAction());
    QCOMPARE(Commands().Action(SelectToolId::SelectAll)->shortcut(), QKeySequence("F9"));
    const auto stored = LoadWindowSettings();
    QCOMPARE(stored.Get("Shortcuts", "ID1"), std::string("SelectAll"));
    QCOMPARE(stored.Get("Shortcuts", "Key1"), std::string("F9"));

    Commands().askColour = [](const QColor&, const QString&) { return QColor(0x10, 0x20, 0x30); };
    Trigger(Commands().ColourAction(0));  // group background
    QCOMPARE(ReadSetting("Optionen", "GroupBackColor"), std::to_string(0x302010));
    QCOMPARE(session_->settings().options.GroupBackColor, 0x302010);
    QCOMPARE(Model().data(Model().index(0, 0), Qt::BackgroundRole).value<QColor>(), QColor(0x10, 0x20, 0x30));
  }
};

}  // namespace twinex::ui

QTEST_MAIN(twinex::ui::SelectionWindowTest)
#include "selection_window_test.moc"
