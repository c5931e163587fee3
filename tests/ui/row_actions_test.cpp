// The result grid's context menu over a real session (deleting the selected files, deleting the
// other files of a group, moving a file into a folder) and the question on closing the window.
#include <QApplication>
#include <QCheckBox>
#include <QInputDialog>
#include <QMenu>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "ui/close_question_dialog.h"
#include "ui/main_window.h"
#include "ui/result_model.h"
#include "ui/result_window.h"
#include "ui/row_actions.h"
#include "ui/ui_bridge.h"
#include "desktop_session.h"

namespace twinex::ui {

class RowActionsTest : public QObject, protected DesktopSession {
  Q_OBJECT

 private:
  static QModelIndex FileRow(ResultWindow& r, int group, int file) {
    return r.model().index(file, 0, r.model().index(group, 0));
  }
  std::string PathAt(ResultWindow& r, int group, int file) const {
    const ResultFile& f = r.model().tree()->groups[static_cast<std::size_t>(group)].files[static_cast<std::size_t>(file)];
    return f.path + "/" + f.dupname;
  }
  // Triggers the context menu's entry for the row, as a click on it does.
  static void Choose(ResultWindow& r, const QModelIndex& row, const QString& caption) {
    QMenu menu;
    r.rowActions().FillMenu(menu, row);
    const QList<QAction*> actions = menu.actions();
    auto it = std::find_if(actions.begin(), actions.end(), [&](QAction* a) { return a->text() == caption; });
    QVERIFY2(it != actions.end(), qPrintable(caption));
    QVERIFY((*it)->isEnabled());
    (*it)->trigger();
  }
  void SetOption(const char* key, const char* value) {
    QCOMPARE(QString::fromStdString(ProfilePutItemWide("Optionen", key, value, session_->settingsFile())), QString());
  }

 private slots:
  void init() { OpenSession(); }

  void cleanup() { CloseSession(); }

  void deleteSelectedFileAsksFirst() {
    ResultWindow* r = SearchCopies();
    QVERIFY(r);
    // "LoeschenBestaetigen" as a new settings file has it: the question per file is asked.
    const QModelIndex row = FileRow(*r, 0, 1);
    QVERIFY(r->model().setData(row, Qt::Checked, Qt::CheckStateRole));
    const std::string victim = PathAt(*r, 0, 1);
    const std::string other = PathAt(*r, 0, 0);

    // No to the question: the file and its row stay.
    answer_ = PromptAnswer::No;
    Choose(*r, row, "Ausgewählte Dateien löschen");
    QVERIFY(Asked("Soll die Datei"));
    QVERIFY(test::Exists(victim));
    QCOMPARE(r->model().rowCount(r->model().index(0, 0)), 2);

    answer_ = PromptAnswer::Yes;
    asked_.clear();
    Choose(*r, FileRow(*r, 0, 1), "Ausgewählte Dateien löschen");
    QVERIFY(Asked("Dateien gelöscht: 1 von 1"));
    QVERIFY(!test::Exists(victim));
    QVERIFY(test::Exists(other));
    QCOMPARE(r->model().rowCount(r->model().index(0, 0)), 1);
    QCOMPARE(r->model().rowCount(r->model().index(1, 0)), 2);
    QCOMPARE(session_->search()->result.counters.DupCountSelected, std::int64_t{0});

    // Switched off, the file goes without a question.
    SetOption("LoeschenBestaetigen", "0");
    QVERIFY(r->model().setData(FileRow(*r, 1, 0), Qt::Checked, Qt::CheckStateRole));
    const std::string quiet = PathAt(*r, 1, 0);
    asked_.clear();
    QVERIFY(r->rowActions().Run(RowCommand::DeleteSelected, FileRow(*r, 1, 0)));
    QVERIFY(!Asked("Soll die Datei"));
    QVERIFY(!test::Exists(quiet));
  }

  void deleteOthersKeepsTheChosenFile() {
    ResultWindow* r = SearchCopies();
    QVERIFY(r);
    const std::string keep = PathAt(*r, 1, 1);
    const std::string gone = PathAt(*r, 1, 0);
    Choose(*r, FileRow(*r, 1, 1), "Alle anderen Dateien der Gruppe löschen");
    QVERIFY(Asked("Sollen alle Dateien außer"));
    QVERIFY(test::Exists(keep));
    QVERIFY(!test::Exists(gone));
    QCOMPARE(r->model().rowCount(r->model().index(1, 0)), 1);
    QCOMPARE(QString::fromStdString(PathAt(*r, 1, 0)), QString::fromStdString(keep));
  }

  void moveIntoAFolderRemembersTheFolder() {
    ResultWindow* r = SearchCopies();
    QVERIFY(r);
    const std::string target = *dir_ / "moved";
    const std::string from = PathAt(*r, 0, 0);
    const std::string content = test::ReadFile(from);
    r->rowActions().SetFolderChooser([&](const QString&) { return QString::fromStdString(target); });
    Choose(*r, FileRow(*r, 0, 0), "Datei verschieben...");
    const std::string to = target + from.substr(from.rfind('/'));
    QVERIFY(!test::Exists(from));
    QCOMPARE(test::ReadFile(to), content);
    QCOMPARE(r->model().rowCount(r->model().index(0, 0)), 1);
    // A folder question left empty does nothing.
    r->rowActions().SetFolderChooser([](const QString&) { return QString(); });
    QVERIFY(!r->rowActions().Run(RowCommand::Copy, FileRow(*r, 1, 0)));

    // The folder stays remembered after the program has written its settings back.
    window_->close();
    QCOMPARE(QString::fromStdString(ProfileGetItemWide("Optionen", "File_Moving_Path", "", session_->settingsFile())),
             QString::fromStdString(target));
  }

  void copyKeepsTheRowAndRenameShowsTheNewName() {
    ResultWindow* r = SearchCopies();
    QVERIFY(r);
    const std::string target = *dir_ / "copies";
    const std::string from = PathAt(*r, 1, 0);
    r->rowActions().SetFolderChooser([&](const QString&) { return QString::fromStdString(target); });
    QVERIFY(r->rowActions().Run(RowCommand::Copy, FileRow(*r, 1, 0)));
    QCOMPARE(test::ReadFile(target + from.substr(from.rfind('/'))), test::ReadFile(from));
    QCOMPARE(r->model().rowCount(r->model().index(1, 0)), 2);

    r->rowActions().SetNameChooser([](const QString&) { return QString("umbenannt.bin"); });
    QVERIFY(r->rowActions().Run(RowCommand::Rename, FileRow(*r, 1, 0)));
    const std::string renamed = from.substr(0, from.rfind('/') + 1) + "umbenannt.bin";
    QVERIFY(!test::Exists(from));
    QVERIFY(test::Exists(renamed));
    QCOMPARE(QString::fromStdString(PathAt(*r, 1, 0)), QString::fromStdString(renamed));
  }

  void closingAsksAndYesSaves() {
    ResultWindow* r = SearchCopies();
    QVERIFY(r);
    SetOption("BeendenBestaetigen", "1");
    bool asked = false;
    QTimer::singleShot(0, this, [&] {
      auto* q = qobject_cast<CloseQuestionDialog*>(QApplication::activeModalWidget());
      if (!q) return;
      asked = true;
      QTimer::singleShot(0, this, [] {
        if (auto* name = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
          name->setTextValue("beim-schliessen");
          name->accept();
        }
      });
      q->Answer(CloseAnswer::Save);
    });
    r->close();
    QVERIFY(asked);
    QCOMPARE(QString::fromStdString(session_->resultName()), QString("beim-schliessen"));
  }

  void closingQuestionAnswersItselfAndCanBeSwitchedOff() {
    ResultWindow* r = SearchCopies();
    QVERIFY(r);
    SetOption("BeendenBestaetigen", "1");
    QStringList shown;
    QTimer::singleShot(0, this, [&] {
      auto* q = qobject_cast<CloseQuestionDialog*>(QApplication::activeModalWidget());
      if (!q) return;
      q->findChild<QCheckBox*>()->setChecked(true);
      // The seconds pass without an answer.
      for (int s = 0; s < CloseQuestion::kSeconds && q->isVisible(); ++s) {
        shown << q->CountdownText();
        q->Tick();
      }
      shown << (q->isVisible() ? "still open" : "closed");
    });
    r->close();
    QCOMPARE(shown.size(), CloseQuestion::kSeconds + 1);
    QCOMPARE(shown.front(), QString("Das Fenster wird in %1 Sekunden geschlossen...").arg(CloseQuestion::kSeconds));
    QCOMPARE(shown.back(), QString("closed"));
    QVERIFY(session_->resultName().empty());  // the timeout does not save
    window_->close();  // the program ends and writes its settings back
    QCOMPARE(QString::fromStdString(ProfileGetItemWide("Optionen", "BeendenBestaetigen", "", session_->settingsFile())),
             QString("0"));
  }
};

}  // namespace twinex::ui

QTEST_MAIN(twinex::ui::RowActionsTest)
#include "row_actions_test.moc"
