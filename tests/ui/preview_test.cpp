// The preview pane on the offscreen platform: the viewer each kind of file gets, pictures that
// cannot be shown, results that arrive too late, and the group thumbnails with their cache.
#include <QSignalSpy>
#include <QTableWidget>
#include <QTreeView>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/session.h"
#include "settings/settings_file.h"
#include "ui/main_window.h"
#include "ui/result_model.h"
#include "ui/result_window.h"
#include "ui/ui_bridge.h"

#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "similar/picture_fixture.h"
#include "support/temp_dir.h"
#include "ui/preview_group_view.h"
#include "ui/preview_media.h"
#include "ui/preview_pane.h"
#include "ui/preview_window.h"

namespace twinex::ui {

namespace {

ResultFile Row(const std::string& path, std::uint64_t size = 0) {
  ResultFile f;
  f.path = platform::ParentFolder(path);
  f.dupname = platform::FileNameOf(path);
  f.size = size;
  return f;
}

std::string Wave(int samples) {
  std::string wav = "RIFF";
  auto le = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) wav.push_back(static_cast<char>(v >> (8 * i)));
  };
  le(36 + static_cast<std::uint32_t>(samples), 4);
  wav += "WAVEfmt ";
  le(16, 4), le(1, 2), le(1, 2), le(8000, 4), le(8000, 4), le(1, 2), le(8, 2);
  wav += "data";
  le(static_cast<std::uint32_t>(samples), 4);
  for (int i = 0; i < samples; ++i) wav.push_back(static_cast<char>(128 + (i % 16 < 8 ? 40 : -40)));
  return wav;
}

}  // namespace

class PreviewTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::TempDir> dir_;
  std::unique_ptr<PreviewPane> pane_;

  std::string Picture(const std::string& name, int w, int h, int seed) {
    test::DibPtr dib = test::DrawPattern(w, h, seed);
    const std::string path = *dir_ / name;
    (void)platform::CreateFolderTree(platform::ParentFolder(path));
    test::Save(dib.get(), path, FreeImage_GetFIFFromFilename(name.c_str()));
    return path;
  }
  // A search over two equal files with a result window; previewWindow: the "PreviewWindow" option.
  void WithResultWindow(const std::function<void(ResultWindow&)>& check, const char* previewWindow = "0") {
    for (const char* copy : {"a", "b"}) dir_->Write(std::string("data/") + copy + "/notiz.txt", "gleich");
    UiBridge bridge;
    bridge.SetAnswerer([](const PromptMessage&) { return PromptAnswer::Ok; });
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(*dir_ / "xdg"));
    {
      Session session(bridge.Ports());
      StartupRequest r;
      r.executablePath = *dir_ / "bin/twinex";
      r.version = "4.0.0";
      QCOMPARE(QString::fromStdString(session.Start(r)), QString());
      session.LoadSettings();
      session.settings().sources.sources.clear();
      QCOMPARE(QString::fromStdString(ProfilePutItemWide("Optionen", "PreviewWindow", previewWindow, SettingsFilePath())),
               QString());
      MainWindow main(session, bridge);
      QCOMPARE(QString::fromStdString(main.AddSourceFolder(*dir_ / "data")), QString());
      ResultWindow* result = main.StartSearch();
      QVERIFY(result);
      QTRY_VERIFY_WITH_TIMEOUT(!result->Running(), 60000);
      check(*result);
      result->close();
      main.close();
    }
    SetSettingsFolders({});
    SetSettingsFilePath("");
  }

  // Shows the file and waits until the pane has shown it.
  void Show(const std::string& path) {
    QSignalSpy spy(pane_.get(), &PreviewPane::loaded);
    pane_->ShowFile(Row(path, test::ReadFile(path).size()));
    QVERIFY(spy.count() > 0 || spy.wait(60000));
  }

 private slots:
  void init() {
    dir_ = std::make_unique<test::TempDir>();
    PreviewSetup setup;
    setup.tempFolder = dir_->MakeDir("temp");
    setup.keys = preview::MakePreviewKeys(preview::DefaultPreviewLists());
    setup.thumbnailSize = 64;
    pane_ = std::make_unique<PreviewPane>(setup);
    pane_->resize(600, 500);
    pane_->show();
  }
  void cleanup() {
    pane_.reset();
    dir_.reset();
  }

  void eachKindOfFileGetsItsViewer() {
    Show(Picture("pics/bild.png", 300, 200, 1));
    QCOMPARE(pane_->page(), PreviewPane::Page::Picture);
    QCOMPARE(pane_->picture().size(), QSize(300, 200));
    QVERIFY(pane_->status().contains("300 x 200"));

    Show(dir_->Write("notes.txt", "erste Zeile\nzweite Zeile\n"));
    QCOMPARE(pane_->page(), PreviewPane::Page::Text);
    QCOMPARE(pane_->shownText(), QString("erste Zeile\nzweite Zeile\n"));

    Show(dir_->Write("brief.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}Sehr {\\b geehrte} Damen\\par}"));
    QCOMPARE(pane_->page(), PreviewPane::Page::Html);
    QVERIFY(pane_->shownText().contains("Sehr geehrte Damen"));
    QVERIFY(!pane_->shownText().contains("Arial"));

    Show(dir_->Write("ton.wav", Wave(8000)));
    QCOMPARE(pane_->page(), PreviewPane::Page::Media);
    if (!pane_->media().available()) QVERIFY(pane_->media().message().contains("Media Player"));

    Show(dir_->Write("daten.xyz", "?"));
    QCOMPARE(pane_->page(), PreviewPane::Page::Html);
    QVERIFY(pane_->shownText().contains("Unbekanntes Dateiformat: daten.xyz"));
  }

  void aLongTextArrivesWholeAndInOrder() {
    std::string text;
    for (int i = 0; i < 30000; ++i) text += "Zeile " + std::to_string(i) + std::string(60, 'x') + "\n";
    text += "letzte Zeile ohne Ende";
    Show(dir_->Write("lang.log", text));
    QCOMPARE(pane_->page(), PreviewPane::Page::Text);
    QCOMPARE(pane_->shownText(), QString::fromStdString(text));
  }

  void brokenAndHugePicturesGiveTheMessage() {
    Show(dir_->Write("kaputt.jpg", std::string(300, 'x')));
    QCOMPARE(pane_->page(), PreviewPane::Page::Message);
    QVERIFY(pane_->shownText().startsWith("Die Datei 'kaputt.jpg' kann nicht angezeigt werden!"));

    test::DibPtr dib = test::DrawPattern(40, 40, 2);
    const std::vector<std::uint8_t> bomb = test::WithAnnouncedSize(test::Encoded(dib.get(), FIF_PNG), 20000, 10001);
    Show(dir_->Write("riesig.png", std::string(bomb.begin(), bomb.end())));
    QCOMPARE(pane_->page(), PreviewPane::Page::Message);
    QVERIFY(pane_->shownText().contains("limit"));
  }

  void thePropertiesPageShowsNamesAsText() {
    pane_->findChild<QTabBar*>()->setCurrentIndex(1);
    Show(dir_->Write("<b>fett<script>x().wav", Wave(800)));
    QCOMPARE(pane_->page(), PreviewPane::Page::Html);
    QVERIFY2(pane_->shownText().contains("<b>fett<script>x().wav"), qPrintable(pane_->shownText()));
    QVERIFY(pane_->shownText().contains("Audio"));
  }

  void aResultThatArrivesLateIsDropped() {
    const std::string picture = Picture("late.png", 800, 600, 3);
    const std::string text = dir_->Write("now.txt", "jetzt");
    QSignalSpy spy(pane_.get(), &PreviewPane::loaded);
    pane_->ShowFile(Row(picture, 1));
    pane_->ShowFile(Row(text, 5));
    QVERIFY(spy.count() > 0 || spy.wait(60000));
    QCoreApplication::processEvents();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(pane_->page(), PreviewPane::Page::Text);
    QVERIFY(pane_->picture().isNull());
  }

  void groupThumbnailsAreWrittenAndReused() {
    ResultGroup group;
    group.dupname = "Ähnliche Bilder";
    for (int i = 0; i < 3; ++i) group.files.push_back(Row(Picture("g/p" + std::to_string(i) + ".jpg", 200, 120, 10 + i), 1000));
    group.files.push_back(Row(dir_->Write("g/liesmich.txt", "kein Bild")));
    group.files.push_back(Row(dir_->Write("g/kaputt.png", "kein Bild")));
    for (int round = 0; round < 2; ++round) {
      QSignalSpy made(pane_.get(), &PreviewPane::thumbnailMade);
      QSignalSpy spy(pane_.get(), &PreviewPane::loaded);
      pane_->ShowGroup(group);
      QCOMPARE(pane_->page(), PreviewPane::Page::Group);
      QVERIFY(spy.count() > 0 || spy.wait(60000));
      QCOMPARE(pane_->groupView().thumbnailsShown(), 3);
      QCOMPARE(pane_->thumbnailsFromCache(), round == 0 ? 0 : 3);
      QCOMPARE(pane_->groupView().grid().rowCount(), 5);
      QCOMPARE(pane_->groupView().grid().item(0, 3)->text(), QString("200 x 120"));
      QCOMPARE(made.count(), 3);
      QCOMPARE(made.at(2).at(2).toString(), QString::fromStdString(group.files[2].FullPath()));
    }
    int cached = 0;
    (void)platform::ListFolder(*dir_ / "temp/thumbnails", [&](const platform::FileInfo& e) {
      cached += e.name.size() > 4 && e.name.substr(e.name.size() - 4) == ".png";
      return true;
    });
    QCOMPARE(cached, 3);
  }

  // The result window's grid drives the pane: a file row shows the file, a group row its group.
  void theResultWindowShowsTheCurrentRow() {
    WithResultWindow([](ResultWindow& result) {
      ResultModel& model = result.model();
      QCOMPARE(model.rowCount(), 1);
      PreviewPane& pane = result.preview();
      QVERIFY(!pane.window()->findChild<PreviewWindow*>());
      // The grid may have made its first row current already; the file row is a change in any case.
      QSignalSpy spy(&pane, &PreviewPane::loaded);
      result.grid().setCurrentIndex(model.index(1, 0, model.index(0, 0)));
      QTRY_VERIFY_WITH_TIMEOUT(spy.count() > 0, 60000);
      QCOMPARE(pane.page(), PreviewPane::Page::Text);
      QCOMPARE(pane.shownText(), QString("gleich"));
      spy.clear();
      result.grid().setCurrentIndex(model.index(0, 0));
      QCOMPARE(pane.page(), PreviewPane::Page::Group);
      QTRY_VERIFY_WITH_TIMEOUT(spy.count() > 0, 60000);
      QCOMPARE(pane.groupView().grid().rowCount(), 2);
    });
  }

  // With the option set, the pane lives in a window of its own that follows the result window.
  void thePreviewMayHaveAWindowOfItsOwn() {
    WithResultWindow(
        [](ResultWindow& result) {
          PreviewPane& pane = result.preview();
          auto* own = qobject_cast<PreviewWindow*>(pane.window());
          QVERIFY(own);
          QVERIFY(own->isVisible());
          result.hide();
          QVERIFY(!own->isVisible());
        },
        "1");
  }
};

}  // namespace twinex::ui

QTEST_MAIN(twinex::ui::PreviewTest)
#include "preview_test.moc"
