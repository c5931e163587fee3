// The update window's state from the check to the end of a download.
#include "presenters/update_window_presenter.h"

#include <gtest/gtest.h>

namespace twinex {
namespace {

update::UpdateSettings Settings() {
  update::UpdateSettings s;
  s.downloadFolder = "%TWINEX_UNSET_VARIABLE%";
  s.server.downloads = "https://updates.test/linux/";
  s.server.changes = "https://updates.test/changes_%1.txt";
  return s;
}

update::VersionAnswer Answer(update::Version v) {
  update::VersionAnswer a;
  a.version = v;
  return a;
}

TEST(UpdateWindowPresenter, VersionLabelsAndTheDownloadButton) {
  UpdateWindowPresenter p(Settings(), "/data/update", false);
  EXPECT_EQ(p.installedLabel(), update::InstalledVersion().Text());
  EXPECT_EQ(p.internetLabel(), "?");
  EXPECT_FALSE(p.DownloadEnabled());

  update::Version same = update::InstalledVersion();
  EXPECT_EQ(p.SetVersionAnswer(Answer(same)), "Es ist keine aktuellere Version vorhanden.");
  EXPECT_FALSE(p.DownloadEnabled());

  update::VersionAnswer failed;
  failed.error = "HttpQueryStatusCode: 404";
  EXPECT_EQ(p.SetVersionAnswer(failed), "Bei der Überprüfung ist ein Fehler aufgetreten: HttpQueryStatusCode: 404");
  EXPECT_EQ(p.internetLabel(), "-");

  update::Version next = same;
  ++next.minor;
  EXPECT_EQ(p.SetVersionAnswer(Answer(next)), "");
  EXPECT_EQ(p.internetLabel(), next.Text());
  EXPECT_TRUE(p.DownloadEnabled());
  EXPECT_EQ(p.DownloadCaption(), "Download");
  EXPECT_EQ(p.ChangesAddress(false), "https://updates.test/changes_en.txt");

  const update::DownloadRequest r = p.StartDownload();
  EXPECT_EQ(r.folder, "/data/update");  // %TEMP%-like variable unset: the program's update folder
  EXPECT_EQ(r.version.Text(), next.Text());
  EXPECT_EQ(p.DownloadCaption(), "Abbrechen");
  EXPECT_EQ(p.status(), "Download gestartet.");
  EXPECT_EQ(p.ProgressPercent(), -1);
  p.SetProgress(512, 2048);
  EXPECT_EQ(p.ProgressPercent(), 25);
  EXPECT_NE(p.ProgressText().find(" / "), std::string::npos);
}

TEST(UpdateWindowPresenter, OnlyAVerifiedPackageOutsidePortableModeIsOfferedForInstalling) {
  UpdateWindowPresenter p(Settings(), "/data/update", false);
  update::DownloadOutcome done{update::DownloadResult::Done, "/data/update/Twinex_Update_9.0.0.deb", ""};
  UpdateWindowPresenter::Finish f = p.DownloadEnded(done);
  EXPECT_EQ(f.message, "Download beendet: /data/update/Twinex_Update_9.0.0.deb");
  EXPECT_TRUE(f.askToInstall);
  EXPECT_EQ(f.question, "Soll Twinex jetzt beendet und die neue Version installiert werden?");
  EXPECT_EQ(p.pendingPackage(), "");  // nothing is opened before the user says Yes
  p.AcceptInstall();
  EXPECT_EQ(p.pendingPackage(), done.file);
  EXPECT_FALSE(p.downloading());

  for (update::DownloadResult r : {update::DownloadResult::Cancelled, update::DownloadResult::ChecksumMismatch,
                                   update::DownloadResult::Exists, update::DownloadResult::Failed}) {
    UpdateWindowPresenter q(Settings(), "/data/update", false);
    EXPECT_FALSE(q.DownloadEnded({r, "/x.deb", ""}).askToInstall);
  }
  UpdateWindowPresenter portable(Settings(), "/data/update", true);
  EXPECT_FALSE(portable.DownloadEnded(done).askToInstall);
  EXPECT_EQ(UpdateWindowPresenter(Settings(), "", false).DownloadEnded({update::DownloadResult::Failed, "", ""}).message,
            "Ein unbekannter Fehler ist aufgetreten.");
}

}  // namespace
}  // namespace twinex
