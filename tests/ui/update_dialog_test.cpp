// The update window over a real session, against Python's HTTP server on the loopback: the
// check, the download with its checksum, and the offer to install when the program ends.
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "app/session.h"
#include "platform/file_system.h"
#include "settings/settings_file.h"
#include "settings/window_settings.h"
#include "support/temp_dir.h"
#include "ui/ui_bridge.h"
#include "ui/update_dialog.h"
#include "update/update_download.h"

namespace twinex::ui {

class UpdateDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::TempDir> dir_;
  std::unique_ptr<UiBridge> bridge_;
  std::unique_ptr<Session> session_;
  QProcess server_;
  int port_ = 0;
  std::vector<std::string> asked_;

  static int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t n = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
    ::close(fd);
    return ntohs(a.sin_port);
  }
  bool ServerUp() const {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port_));
    const bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return up;
  }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

 private slots:
  void init() {
    dir_ = std::make_unique<test::TempDir>();
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(*dir_ / "xdg"));
    qputenv("LANG", "de_DE.UTF-8");
    const std::string package(64 * 1024, 'd');
    dir_->Write("www/version.txt", "#9.0.0\n");
    dir_->Write("www/changes_de.txt", "Neu in 9.0.0");
    const std::string deb = dir_->Write("www/Twinex_Update_9.0.0.deb", package);
    dir_->Write("www/Twinex_Update_9.0.0.deb.sha256", update::FileSha256(deb) + "  Twinex_Update_9.0.0.deb\n");
    port_ = FreePort();
    server_.start("python3", {"-m", "http.server", QString::number(port_), "--bind", "127.0.0.1", "--directory",
                              QString::fromStdString(*dir_ / "www")});
    QTRY_VERIFY_WITH_TIMEOUT(ServerUp(), 10000);

    asked_.clear();
    bridge_ = std::make_unique<UiBridge>();
    bridge_->SetAnswerer([this](const PromptMessage& m) {
      asked_.push_back(m.Text());
      return m.buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    });
    session_ = std::make_unique<Session>(bridge_->Ports());
    StartupRequest r;
    r.executablePath = *dir_ / "bin/twinex";
    QCOMPARE(QString::fromStdString(session_->Start(r)), QString());
  }

  void cleanup() {
    server_.kill();
    server_.waitForFinished();
    session_.reset();
    bridge_.reset();
    SetSettingsFolders({});
    SetSettingsFilePath("");
    dir_.reset();
  }

  void checkDownloadAndOfferToInstall() {
    WindowSettings settings;
    settings.Set("Update", "VersionURL", Url("/version.txt"));
    settings.Set("Update", "ChangesURL", Url("/changes_%1.txt"));
    settings.Set("Update", "DownloadURL", Url("/"));
    settings.Set("Update", "Dpath", *dir_ / "downloads");
    dir_->MakeDir("downloads");
    UpdateDialog dialog(*session_, *bridge_, settings);
    dialog.StartCheck();
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(dialog.presenter().internetLabel()), QString("9.0.0"), 10000);
    QVERIFY(dialog.presenter().newer());
    QCOMPARE(QString::fromStdString(dialog.presenter().changes()), QString("Neu in 9.0.0"));

    QSignalSpy install(&dialog, &UpdateDialog::installRequested);
    dialog.DownloadOrCancel();
    QVERIFY(dialog.presenter().downloading());
    QTRY_COMPARE_WITH_TIMEOUT(install.count(), 1, 10000);
    const std::string file = *dir_ / "downloads/Twinex_Update_9.0.0.deb";
    QCOMPARE(install.at(0).at(0).toString(), QString::fromStdString(file));
    QVERIFY(platform::ExistFile(file));
    QVERIFY(!asked_.empty());
    QCOMPARE(QString::fromStdString(asked_.back()),
             QString("Soll Twinex jetzt beendet und die neue Version installiert werden?"));
    // The window's fields went back into the settings it was given.
    QCOMPARE(QString::fromStdString(settings.Get("Update", "Dpath")), QString::fromStdString(*dir_ / "downloads"));

    // A second download finds the file and leaves it alone.
    UpdateDialog again(*session_, *bridge_, settings);
    again.StartCheck();
    QTRY_VERIFY_WITH_TIMEOUT(again.presenter().newer(), 10000);
    again.DownloadOrCancel();
    QTRY_VERIFY_WITH_TIMEOUT(!again.presenter().downloading(), 10000);
    QCOMPARE(QString::fromStdString(asked_.back()),
             QString::fromStdString("Die Downloaddatei '" + file + "' ist schon vorhanden!"));
  }
};

}  // namespace twinex::ui

QTEST_MAIN(twinex::ui::UpdateDialogTest)
#include "update_dialog_test.moc"
