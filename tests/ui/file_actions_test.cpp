// The result's file windows over a real session: the file manager (trash with its question,
// copy with the folder structure), the export window and saving a result, then loading it from
// the main window's list.
#include <QAbstractItemModel>
#include <QUrl>
#include <QProcess>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "actions/action_settings.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "ui/export_window.h"
#include "ui/file_manager_window.h"
#include "ui/main_window.h"
#include "ui/result_model.h"
#include "ui/result_window.h"
#include "ui/saved_results_page.h"
#include "ui/ui_bridge.h"
#include "desktop_session.h"

namespace twinex::ui {

namespace {

// Every row of the grid as text: the group captions, and per file its cells and check mark.
QStringList GridRows(const QAbstractItemModel& m) {
  QStringList rows;
  for (int g = 0; g < m.rowCount(); ++g) {
    const QModelIndex group = m.index(g, 0);
    rows << "G " + m.data(group).toString();
    for (int f = 0; f < m.rowCount(group); ++f) {
      QStringList cells;
      for (int c = 0; c < m.columnCount(); ++c) cells << m.data(m.index(f, c, group)).toString();
      cells << QString::number(m.data(m.index(f, 0, group), Qt::CheckStateRole).toInt());
      rows << cells.join('|');
    }
  }
  return rows;
}

// The text of a UTF-16LE file with its FF FE mark.
QString Utf16File(const std::string& path) {
  const std::string bytes = test::ReadFile(path);
  if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE") != 0) return {};
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data() + 2), static_cast<qsizetype>((bytes.size() - 2) / 2));
}

}  // namespace

class FileActionsTest : public QObject, protected DesktopSession {
  Q_OBJECT

 private:
  void WaitForRun(FileManagerWindow* w) { QTRY_VERIFY_WITH_TIMEOUT(!w->Running(), 60000); }
  // Selects all but the first file of every group; the full paths of the files selected and
  // of those kept.
  void SelectCopies() {
    QVERIFY(session_->Select(SelectToolId::KeepFirst, {}).changed() > 0);
    QCOMPARE(session_->search()->result.counters.DupCountSelected, std::int64_t{2});
    selected_.clear();
    kept_.clear();
    for (const ResultGroup& g : session_->search()->result.groups)
      for (const ResultFile& f : g.files) (f.selected ? selected_ : kept_).push_back(f.path + "/" + f.dupname);
  }
  std::vector<std::string> selected_, kept_;

 private slots:
  void init() { OpenSession(); }

  void cleanup() { CloseSession(); }

  void trashAsksFirstAndTheTrashedFileCanBeRestored() {
    ResultWindow* r = SearchCopies();
    QVERIFY(r);
    SelectCopies();
    FileManagerWindow* fm = r->OpenFileManager();
    QVERIFY(fm);
    fm->presenter().SetAction(FileAction::Trash);
    fm->Refresh();

    // No to the safety question: nothing happens and the window stays ready.
    answer_ = PromptAnswer::No;
    fm->Start();
    WaitForRun(fm);
    QVERIFY(Asked("Soll die Aktion 'Lokale Dateien in den Windows Papierkorb verschieben' durchgeführt werden?"));
    for (const std::string& f : selected_) QVERIFY(test::Exists(f));
    QVERIFY(fm->presenter().OkEnabled());
    QCOMPARE(r->model().rowCount(r->model().index(0, 0)), 2);

    answer_ = PromptAnswer::Yes;
    asked_.clear();
    fm->Start();
    WaitForRun(fm);
    QVERIFY(Asked("durchgeführt werden?"));
    for (const std::string& f : selected_) QVERIFY(!test::Exists(f));
    for (const std::string& f : kept_) QVERIFY(test::Exists(f));
    QCOMPARE(fm->presenter().CancelCaption(), std::string("Schließen"));
    QVERIFY(fm->LogText().contains("Dateien in den Windows Papierkorb verschoben: 2 von 2"));
    // The processed rows left the grid, as the session reports them.
    QCOMPARE(r->model().rowCount(), 2);
    for (int g = 0; g < 2; ++g) QCOMPARE(r->model().rowCount(r->model().index(g, 0)), 1);

    // Restored as a desktop's file manager does it: through gio where it reaches the trash,
    // else from the entry's files/ and .trashinfo pair.
    const std::string trash = *dir_ / "xdg/Trash";
    const std::string original = selected_[0];
    const std::string name = original.substr(original.rfind('/') + 1);
    QProcess gio;
    if (!QStandardPaths::findExecutable("gio").isEmpty()) {
      gio.start("gio", {"trash", "--restore", QString::fromStdString("trash:///" + name)});
      gio.waitForFinished(30000);
    }
    if (!test::Exists(original)) {
      const std::string info = test::ReadFile(trash + "/info/" + name + ".trashinfo");
      QVERIFY(info.rfind("[Trash Info]\n", 0) == 0);
      QVERIFY(info.find("\nDeletionDate=") != std::string::npos);
      const std::size_t at = info.find("\nPath=");
      QVERIFY(at != std::string::npos);
      const std::string path = info.substr(at + 6, info.find('\n', at + 6) - at - 6);
      QCOMPARE(QUrl::fromPercentEncoding(QByteArray::fromStdString(path)), QString::fromStdString(original));
      std::filesystem::rename(trash + "/files/" + name, original);
      std::filesystem::remove(trash + "/info/" + name + ".trashinfo");
    }
    QCOMPARE(test::ReadFile(original), test::ReadFile(kept_[0]));  // the first group's kept copy
  }

  void cancelStopsTheRunBeforeTheNextFile() {
    ResultWindow* r = SearchCopies();
    QVERIFY(r);
    SelectCopies();
    FileManagerWindow* fm = r->OpenFileManager();
    fm->presenter().SetAction(FileAction::Trash);
    // "Abbrechen" pressed while the run waits for the safety question's answer.
    bridge_->SetAnswerer([&](const PromptMessage& m) {
      asked_.push_back(m.Text());
      if (m.buttons == PromptButtons::Ok) return PromptAnswer::Ok;
      fm->CancelOrClose();
      return PromptAnswer::Yes;
    });
    fm->Start();
    WaitForRun(fm);
    QVERIFY(fm->isVisible());  // a running window is never closed by the button
    for (const std::string& f : selected_) QVERIFY(test::Exists(f));
    QVERIFY(fm->LogText().contains("wurde abgebrochen"));
    QCOMPARE(fm->presenter().CancelCaption(), std::string("Schließen"));
    QCOMPARE(r->model().rowCount(r->model().index(0, 0)), 2);
  }

  void copyKeepsTheFolderStructureAndTheSettingsAreRemembered() {
    ResultWindow* r = SearchCopies();
    QVERIFY(r);
    SelectCopies();
    dir_->MakeDir("backup");
    FileManagerWindow* fm = r->OpenFileManager();
    FileManagerSettings& s = fm->presenter().settings();
    s.Aktion = FileAction::Copy;
    s.Ordner = *dir_ / "backup";
    s.Ordnerstruktur = true;
    s.CreateSubfolder = false;
    s.DateienEntfernen = false;
    fm->Refresh();
    QVERIFY(!fm->presenter().RenameTemplateEnabled());
    fm->Start();
    WaitForRun(fm);
    QVERIFY(!Asked("durchgeführt werden?"));  // a copy changes no file of the user's
    for (const std::string& f : selected_) {
      const std::string copy = *dir_ / "backup" + f;  // below the backup folder, along the file's own path
      QVERIFY2(test::Exists(copy), copy.c_str());
      QCOMPARE(test::ReadFile(copy), test::ReadFile(f));
    }
    QCOMPARE(r->model().rowCount(r->model().index(0, 0)), 2);  // the rows stay when asked to
    fm->CancelOrClose();
    const FileManagerSettings stored = LoadFileManagerSettings(session_->settingsFile());
    QCOMPARE(static_cast<int>(stored.Aktion), static_cast<int>(FileAction::Copy));
    QCOMPARE(QString::fromStdString(stored.Ordner), QString::fromStdString(*dir_ / "backup"));
    QVERIFY(!stored.DateienEntfernen);
    // The next window starts where this one was left.
    FileManagerWindow* again = r->OpenFileManager();
    QVERIFY(again->presenter().FolderEnabled());
    again->CancelOrClose();
  }

  void exportWritesCsvAndRemembersItsChoices() {
    ResultWindow* r = SearchCopies();
    QVERIFY(r);
    ExportWindow* ew = r->OpenExportWindow();
    QVERIFY(ew);
    int chooserCalls = 0;
    std::string filterShown;
    ew->SetTargetChooser([&](const std::string&, const std::string& filter) {
      ++chooserCalls;
      filterShown = filter;
      return *dir_ / "out/liste";
    });
    dir_->MakeDir("out");

    // Only selected files, with none selected: the message, and no file is asked for.
    ew->presenter().settings().SaveFileType = kExportSelected;
    ew->presenter().settings().FileFormat = kExportCsv;
    ew->presenter().settings().Delimiter = kSeparatorSemicolon;
    ew->Refresh();
    QCOMPARE(static_cast<int>(ew->Export().status), static_cast<int>(ExportStatus::NothingToExport));
    QCOMPARE(chooserCalls, 0);
    QVERIFY(Asked("konnten im Suchergebnis nicht gefunden werden"));

    ew->presenter().settings().SaveFileType = kExportAll;
    ew->Refresh();
    const ExportOutcome out = ew->Export();
    QVERIFY(out.Ok());
    QCOMPARE(out.files, std::int64_t{4});
    QCOMPARE(QString::fromStdString(filterShown), QString("CSV (*.csv)"));
    const QString csv = Utf16File(*dir_ / "out/liste.csv");
    const QStringList lines = csv.split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    QVERIFY(lines[0].startsWith("\"Gruppen-Nr.\";"));
    QVERIFY(lines[0].contains("\"Selektiert\""));
    QVERIFY(lines[1].contains("\"f0.bin\""));
    QVERIFY(ew->isHidden());

    const ExportSettings stored = LoadExportSettings(session_->settingsFile());
    QCOMPARE(stored.FileFormat, int(kExportCsv));
    QCOMPARE(QString::fromStdString(stored.LastSaveDir), QString::fromStdString(*dir_ / "out"));
    QCOMPARE(QString::fromStdString(stored.LastSaveFileName), QString("liste.csv"));
  }

  void savedResultLoadsFromTheMainWindowsList() {
    ResultWindow* r = SearchCopies();
    QVERIFY(r);
    SelectCopies();
    r->ShowResult();
    const QStringList before = GridRows(r->model());
    QVERIFY(r->SaveResultAs("Erste Suche"));
    QVERIFY(r->windowTitle().contains("Erste Suche"));
    SavedResultsPage& page = window_->savedResults();
    QCOMPARE(page.list().topLevelItemCount(), 1);
    QCOMPARE(page.list().topLevelItem(0)->text(0), QString("Erste Suche"));
    QCOMPARE(page.list().topLevelItem(0)->text(1), QString("4"));
    r->close();

    page.Choose("Erste Suche");
    QVERIFY(page.presenter().Enabled(SavedResultCommand::Load));
    QVERIFY(page.SaveComment("Erste Suche", "vor dem Aufräumen"));
    page.Refresh();
    QCOMPARE(page.list().topLevelItem(0)->text(SavedResultsPresenter::kCommentColumn), QString("vor dem Aufräumen"));
    page.Load();
    ResultWindow* loaded = window_->resultWindow();
    QVERIFY(loaded);
    QVERIFY(loaded->isVisible());
    QCOMPARE(GridRows(loaded->model()), before);
    QCOMPARE(session_->resultName(), std::string("Erste Suche"));

    // Renamed, then deleted after the question.
    QVERIFY(page.Rename("Zweite"));
    QCOMPARE(page.list().topLevelItem(0)->text(0), QString("Zweite"));
    answer_ = PromptAnswer::No;
    QVERIFY(!page.Delete());
    QCOMPARE(page.list().topLevelItemCount(), 1);
    answer_ = PromptAnswer::Yes;
    QVERIFY(page.Delete());
    QVERIFY(Asked("Suchergebnis 'Zweite' löschen?"));
    QCOMPARE(page.list().topLevelItemCount(), 0);
  }
};

}  // namespace twinex::ui

QTEST_MAIN(twinex::ui::FileActionsTest)
#include "file_actions_test.moc"
