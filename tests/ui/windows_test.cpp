// The desktop windows over a real session: searches on real folders, the run controls, the
// grid's sorting and check marks, profiles and the command-line start.
#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "app/session.h"
#include "settings/settings_file.h"
#include "settings/window_settings.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"
#include "ui/result_model.h"
#include "ui/result_window.h"
#include "ui/ui_bridge.h"
#include "desktop_session.h"

namespace twinex::ui {

class WindowsTest : public QObject, protected DesktopSession {
  Q_OBJECT

 private:

  // Files of a size each, `copies` times, under the folder.
  void Copies(const std::string& folder, int count, int copies, std::size_t size = 10) {
    for (int i = 0; i < count; ++i)
      for (int c = 0; c < copies; ++c)
        dir_->Write(folder + "/c" + std::to_string(c) + "/f" + std::to_string(i) + ".bin",
                    std::string(size + static_cast<std::size_t>(i), static_cast<char>('a' + i % 26)));
  }
  void SearchSizeAndContent() {
    auto& p = window_->presenter();
    for (int c = 0; c < 7; ++c) p.SetCriterion(c, c == kCritSize || c == kCritContent);
  }
  int ColumnOf(const ResultModel& m, const std::string& key) {
    for (std::size_t i = 0; i < m.columns().size(); ++i)
      if (m.columns()[i].sortKey == key) return static_cast<int>(i);
    return -1;
  }

 private slots:
  void init() { OpenSession(); }

  void cleanup() { CloseSession(); }

  void searchShowsTheGroupsAndTheLog() {
    Copies("data", 3, 2);
    dir_->Write("data/alone.txt", "no twin");
    QCOMPARE(QString::fromStdString(window_->AddSourceFolder(*dir_ / "data")), QString());
    SearchSizeAndContent();
    ResultWindow* r = window_->StartSearch();
    QVERIFY(r);
    WaitForEnd(r);
    ResultModel& m = r->model();
    QCOMPARE(m.rowCount(), 3);
    for (int g = 0; g < 3; ++g) QCOMPARE(m.rowCount(m.index(g, 0)), 2);
    QVERIFY(m.data(m.index(0, 0, m.index(0, 0))).toString().endsWith(".bin"));
    QVERIFY(r->LogText().contains("Gruppen: 3"));
    QVERIFY(r->StatusText().contains("0 \\ 6"));
    QCOMPARE(r->windowTitle(), QString("Twinex - Suchergebnis"));
    const SaveResultOutcome saved = session_->SaveResult("", true);
    QVERIFY(saved.saved);
    r->RefreshTitle();
    QCOMPARE(r->windowTitle(), QString::fromStdString("Twinex - Suchergebnis '" + saved.name + "'"));
    r->close();
    QVERIFY(window_->LogPaneText().startsWith("Protokoll der letzten Suche"));
    QVERIFY(window_->LogPaneText().contains("Gruppen: 3"));
  }

  void pauseHoldsTheSearchAndResumeFinishesIt() {
    Copies("data", 400, 3);
    window_->AddSourceFolder(*dir_ / "data");
    SearchSizeAndContent();
    ResultWindow* r = window_->StartSearch();
    r->TogglePause();
    QVERIFY(r->presenter().paused());
    QTest::qWait(600);
    QVERIFY(r->Running());
    QVERIFY(!r->presenter().EscapeStops());
    r->TogglePause();
    WaitForEnd(r);
    QCOMPARE(r->model().rowCount(), 400);
    QCOMPARE(session_->lastSearch().stopReason, static_cast<int>(kStopNone));
  }

  void groupsAppearWhileTheSearchRunsAndTheColumnMenuShowsColumns() {
    Copies("data", 300, 2);
    window_->AddSourceFolder(*dir_ / "data");
    SearchSizeAndContent();
    ResultWindow* r = window_->StartSearch();
    ResultModel& m = r->model();
    int liveGroups = 0;
    bool checkableWhileLive = false;
    // The batches arrive as queued signals, so none is lost before this connection.
    connect(&m, &QAbstractItemModel::rowsInserted, this, [&](const QModelIndex& parent, int first, int last) {
      if (parent.isValid() || !m.showingLive()) return;
      liveGroups += last - first + 1;
      checkableWhileLive |= bool(m.flags(m.index(first, 0)) & Qt::ItemIsUserCheckable);
    });
    WaitForEnd(r);
    QVERIFY(liveGroups > 0);
    QVERIFY(liveGroups <= 300);
    QVERIFY(!checkableWhileLive);  // check marks wait for the finished result
    QVERIFY(!m.showingLive());
    QCOMPARE(m.rowCount(), 300);
    QVERIFY(m.flags(m.index(0, 0)) & Qt::ItemIsUserCheckable);

    QMenu menu;
    r->FillColumnMenu(menu);
    QAction* unchecked = nullptr;
    for (QAction* a : menu.actions())
      if (!a->isChecked()) unchecked = a;
    QVERIFY(unchecked);
    const int columns = m.columnCount();
    unchecked->setChecked(true);
    QCOMPARE(m.columnCount(), columns + 1);
    unchecked->setChecked(false);
    QCOMPARE(m.columnCount(), columns);
  }

  void stopAsksAndEscapeStopsTheRun() {
    Copies("data", 1500, 3, 2000);
    window_->AddSourceFolder(*dir_ / "data");
    SearchSizeAndContent();
    ResultWindow* r = window_->StartSearch();
    r->TogglePause();  // holds the run so the questions meet it running
    QTest::keyClick(r, Qt::Key_Escape);
    QVERIFY2(asked_.empty(), "Escape leaves a paused search alone");
    answer_ = PromptAnswer::No;
    r->Stop();
    QCOMPARE(asked_.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(asked_[0]), QString("Soll die Suche abgebrochen werden?"));
    QVERIFY(r->Running());
    answer_ = PromptAnswer::Yes;
    r->TogglePause();
    QTest::keyClick(r, Qt::Key_Escape);
    QCOMPARE(asked_.size(), std::size_t{2});
    WaitForEnd(r);
    QCOMPARE(session_->lastSearch().stopReason, static_cast<int>(kStopUser));
    QVERIFY(r->model().rowCount() < 1500);
  }

  void gridSortsByValueAndCountsCheckMarks() {
    // Three size groups whose dates run against their sizes.
    for (int i = 0; i < 3; ++i)
      for (int c = 0; c < 2; ++c) {
        const std::string f = dir_->Write("data/" + std::to_string(i) + "_" + std::to_string(c) + ".bin",
                                          std::string(static_cast<std::size_t>(i == 0 ? 5 : i == 1 ? 50 : 500), 'x'));
        test::SetMTime(f, 1600000000 - i * 86400 + c * 3600);
      }
    ProfilePutItemWide("Optionen", "ColumnDateM", "1", SettingsFilePath());
    window_->AddSourceFolder(*dir_ / "data");
    SearchSizeAndContent();
    ResultWindow* r = window_->StartSearch();
    WaitForEnd(r);
    ResultModel& m = r->model();
    QCOMPARE(m.rowCount(), 3);
    const int dateColumn = ColumnOf(m, "dateVal");
    QVERIFY(dateColumn > 0);

    m.sort(0, Qt::DescendingOrder);  // by the shared size, as numbers
    QCOMPARE(m.data(m.index(0, 0)).toString(), QString("500"));
    QCOMPARE(m.data(m.index(2, 0)).toString(), QString("5"));
    m.sort(0, Qt::AscendingOrder);
    QCOMPARE(m.data(m.index(0, 0)).toString(), QString("5"));

    m.sort(dateColumn, Qt::DescendingOrder);  // the newer copy first in every group
    const QModelIndex g0 = m.index(0, 0);
    QVERIFY(m.data(m.index(0, 0, g0)).toString().endsWith("_1.bin"));
    m.sort(dateColumn, Qt::AscendingOrder);
    QVERIFY(m.data(m.index(0, 0, m.index(0, 0))).toString().endsWith("_0.bin"));

    // One file, then its whole group.
    const QModelIndex group = m.index(1, 0);
    QVERIFY(m.setData(m.index(0, 0, group), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(m.data(group, Qt::CheckStateRole).toInt(), int(Qt::PartiallyChecked));
    QVERIFY(r->StatusText().contains("1 \\ 6"));
    QVERIFY(m.setData(group, Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(m.data(group, Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(r->StatusText().contains("2 \\ 6"));
    QVERIFY(r->StatusText().contains("100 Bytes"));
    QVERIFY(m.setData(group, Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(m.data(group, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QVERIFY(r->StatusText().contains("0 \\ 6"));
  }

  void profileRoundTripAndClosingWritesTheSettings() {
    dir_->MakeDir("p");
    window_->AddSourceFolder(*dir_ / "p");
    SearchSizeAndContent();
    window_->presenter().SetChoice(0, 4);  // content algorithm SHA-2 (384-Bit)
    QVERIFY(window_->SaveProfile("Fotos"));
    window_->presenter().SetMethod(kMethodHardlinks);
    window_->presenter().SetCriterion(kCritSize, false);
    QVERIFY(window_->LoadProfile("Fotos"));
    const SearchSettings& s = session_->settings().search;
    QCOMPARE(s.SearchMethod, 0);
    QVERIFY(s.Suchkriterien[kCritSize] && s.Suchkriterien[kCritContent]);
    QCOMPARE(s.ContentCompare, 4);
    QVERIFY(window_->CommentProfile("Fotos", "nur Bilder"));
    QVERIFY(window_->RenameProfile("Fotos", "Bilder"));
    QCOMPARE(window_->ProfileNames(), std::vector<std::string>{"Bilder"});
    QVERIFY(window_->DeleteProfile("Bilder"));
    QVERIFY(window_->ProfileNames().empty());

    window_->move(30, 40);
    window_->close();
    const WindowSettings saved = LoadWindowSettings();
    QVERIFY(!saved.Get("WindowPos", "frmMain_Left").empty());
    MainSettings back;
    EinstellungenLaden(back, SettingsFilePath(), false, true);
    QCOMPARE(back.search.ContentCompare, 4);
    QCOMPARE(back.sources.sources.size(), std::size_t{1});
  }

  void switchesAndDependentListsFollowInTheWindow() {
    auto find = [this]<typename W>(W*, auto match) -> W* {
      for (W* w : window_->findChildren<W*>())
        if (match(w)) return w;
      return nullptr;
    };
    QCheckBox* archives = find(static_cast<QCheckBox*>(nullptr), [](QCheckBox* b) {
      return b->text() == "Archive mit den folgenden Dateiendungen durchsuchen:";
    });
    QCheckBox* zip = find(static_cast<QCheckBox*>(nullptr), [](QCheckBox* b) { return b->text() == "zip"; });
    QVERIFY(archives && zip);
    archives->setChecked(false);
    QVERIFY(!zip->isEnabled());
    archives->setChecked(true);
    QVERIFY(zip->isEnabled());
    zip->setChecked(true);
    QVERIFY(session_->settings().search.ScanArchive[0]);

    // The comparison sizes are those of the chosen picture algorithm.
    QComboBox* algorithm = find(static_cast<QComboBox*>(nullptr), [](QComboBox* c) { return c->findText("bHash") >= 0; });
    QComboBox* size = find(static_cast<QComboBox*>(nullptr), [](QComboBox* c) { return c->findText("16x16") >= 0; });
    QVERIFY(algorithm && size);
    algorithm->setCurrentIndex(algorithm->findText("bHash"));
    QCOMPARE(size->count(), 3);
    QCOMPARE(size->itemText(2), QString("512x512"));
    size->setCurrentIndex(2);
    algorithm->setCurrentIndex(algorithm->findText("pHash"));
    QCOMPARE(size->count(), 1);
    QCOMPARE(session_->settings().search.SimilarPicsThumbSizeIndex, 0);
  }

  void languageMenuMakesAndSwitchesTheUserFile() {
    QVERIFY(!window_->CreateUserLanguageFile());  // without the English file there is nothing to copy
    dir_->Write("bin/lang/lang_eng.txt", "3626,\"No search criterion is selected.\"\r\n");
    asked_.clear();
    QVERIFY(window_->CreateUserLanguageFile());
    QVERIFY(std::filesystem::exists(*dir_ / "bin/lang/lang.txt"));
    QCOMPARE(asked_.size(), std::size_t{1});  // where it was written
    answer_ = PromptAnswer::No;
    QVERIFY(!window_->CreateUserLanguageFile());
    QCOMPARE(QString::fromStdString(asked_.back()), QString("Soll die vorhandene Sprachdatei 'lang.txt' überschrieben werden?"));

    window_->UseUserLanguageFile(true);
    QCOMPARE(ReadSetting("Allgemein", "UseLangTxt"), std::string("1"));
    window_->UseUserLanguageFile(false);
    QCOMPARE(ReadSetting("Allgemein", "UseLangTxt"), std::string("0"));
  }

  void commandLineStartsTheSearch() {
    Copies("cmd", 2, 3);
    const std::string line = "-s34 \"" + (*dir_ / "cmd") + "\"";
    QVERIFY(window_->ApplyCommandLine(line));
    ResultWindow* r = window_->resultWindow();
    QVERIFY(r);
    WaitForEnd(r);
    QCOMPARE(r->model().rowCount(), 2);
    QVERIFY(!window_->ApplyCommandLine(""));
  }

  void windowStaysResponsiveDuringALargeSearch() {
    // Many files in few groups: the window thread must keep serving its events.
    const int files = qEnvironmentVariableIntValue("TWINEX_UI_LARGE_FILES") > 0
                          ? qEnvironmentVariableIntValue("TWINEX_UI_LARGE_FILES")
                          : 20000;
    for (int i = 0; i < files; ++i)
      dir_->Write("big/d" + std::to_string(i / 500) + "/f" + std::to_string(i), std::to_string(i % 1000));
    window_->AddSourceFolder(*dir_ / "big");
    SearchSizeAndContent();
    QElapsedTimer clock;
    qint64 last = 0, worst = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
      worst = std::max(worst, clock.elapsed() - last);
      last = clock.elapsed();
    });
    clock.start();
    tick.start(20);
    ResultWindow* r = window_->StartSearch();
    WaitForEnd(r);
    tick.stop();
    qInfo("%d files in %lld ms, longest pause of the window thread %lld ms", files, clock.elapsed(), worst);
    QVERIFY2(worst < 500, "the window thread was blocked");
    QCOMPARE(r->model().rowCount(), 1000);
  }
};

}  // namespace twinex::ui

QTEST_MAIN(twinex::ui::WindowsTest)
#include "windows_test.moc"
