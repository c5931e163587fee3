#include "ui/update_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <thread>

#include "app/session.h"
#include "platform/run_control.h"
#include "settings/language.h"
#include "settings/translate.h"
#include "ui/qt_text.h"
#include "ui/ui_bridge.h"

namespace twinex::ui {

// What the download thread shares with the window; it outlives a window closed meanwhile.
struct UpdateDialog::Transfer {
  RunControl control;
  std::atomic<std::uint64_t> received{0};
  std::atomic<std::uint64_t> total{0};
};

namespace {

QString T(int number, const char* german) { return Q(z_Translate(number, german)); }

// Runs work on its own thread and hands the result to the window, if it is still open.
template <typename Result, typename Work, typename Done>
void InBackground(QObject* owner, Work work, Done done) {
  QPointer<QObject> guard(owner);
  std::thread([guard, work, done] {
    Result result = work();
    QMetaObject::invokeMethod(qApp, [guard, done, result] {
      if (guard) done(result);
    });
  }).detach();
}

}  // namespace

UpdateDialog::UpdateDialog(Session& session, UiBridge& bridge, WindowSettings& windowSettings, QWidget* parent)
    : QDialog(parent),
      session_(session),
      bridge_(bridge),
      windowSettings_(windowSettings),
      presenter_(update::LoadUpdateSettings(windowSettings), session.app().paths.updateFolder,
                 session.app().paths.portable),
      transfer_(std::make_shared<Transfer>()) {
  setObjectName("frmInternetUpdate");
  setWindowTitle(T(23030, "Internet Update"));
  auto* layout = new QVBoxLayout(this);
  auto* versions = new QFormLayout;
  installed_ = new QLabel(this);
  internet_ = new QLabel(this);
  versions->addRow(T(23031, "Installierte Version:"), installed_);
  versions->addRow(T(23032, "Version im Internet:"), internet_);
  layout->addLayout(versions);
  layout->addWidget(new QLabel(T(23033, "Änderungen:"), this));
  changes_ = new QPlainTextEdit(this);
  changes_->setReadOnly(true);
  layout->addWidget(changes_, 1);

  auto* folderRow = new QHBoxLayout;
  folder_ = new QLineEdit(Q(presenter_.settings().downloadFolder), this);
  auto* browse = new QPushButton("...", this);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString dir = QFileDialog::getExistingDirectory(this, T(23034, "Downloadordner:"), Q(presenter_.DownloadFolder()));
    if (!dir.isEmpty()) folder_->setText(dir);
  });
  folderRow->addWidget(new QLabel(T(23034, "Downloadordner:"), this));
  folderRow->addWidget(folder_, 1);
  folderRow->addWidget(browse);
  layout->addLayout(folderRow);

  const update::ProxySettings& proxy = presenter_.settings().proxy;
  auto* proxyBox = new QGroupBox(T(23035, "Proxy"), this);
  auto* proxyForm = new QFormLayout(proxyBox);
  useProxy_ = new QCheckBox(T(23036, "Proxy verwenden"), proxyBox);
  useProxy_->setChecked(proxy.use);
  host_ = new QLineEdit(Q(proxy.host), proxyBox);
  port_ = new QLineEdit(Q(proxy.port), proxyBox);
  user_ = new QLineEdit(Q(proxy.user), proxyBox);
  password_ = new QLineEdit(Q(proxy.password), proxyBox);
  password_->setEchoMode(QLineEdit::Password);
  proxyForm->addRow(useProxy_);
  proxyForm->addRow(T(23037, "Proxy:"), host_);
  proxyForm->addRow(T(23038, "Port:"), port_);
  proxyForm->addRow(T(23039, "Benutzer:"), user_);
  proxyForm->addRow(T(23040, "Passwort:"), password_);
  layout->addWidget(proxyBox);
  autoCheck_ = new QCheckBox(T(23041, "Beim Programmstart nach einer neuen Version suchen"), this);
  autoCheck_->setChecked(session_.settings().options.CheckNewVersion);
  layout->addWidget(autoCheck_);

  bar_ = new QProgressBar(this);
  progress_ = new QLabel(this);
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  layout->addWidget(bar_);
  layout->addWidget(progress_);
  layout->addWidget(status_);
  auto* buttons = new QHBoxLayout;
  check_ = new QPushButton(T(23042, "Jetzt prüfen"), this);
  download_ = new QPushButton(this);
  auto* close = new QPushButton(T(23043, "Schließen"), this);
  buttons->addWidget(check_);
  buttons->addStretch(1);
  buttons->addWidget(download_);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(check_, &QPushButton::clicked, this, &UpdateDialog::StartCheck);
  connect(download_, &QPushButton::clicked, this, &UpdateDialog::DownloadOrCancel);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  timer_ = new QTimer(this);
  timer_->setInterval(100);
  connect(timer_, &QTimer::timeout, this, &UpdateDialog::Poll);
  resize(560, 520);
  Show();
}

UpdateDialog::~UpdateDialog() { transfer_->control.RequestStop(); }

void UpdateDialog::Show() {
  installed_->setText(Q(presenter_.installedLabel()));
  internet_->setText(Q(presenter_.internetLabel()));
  changes_->setPlainText(Q(presenter_.changes()));
  download_->setText(Q(presenter_.DownloadCaption()));
  download_->setEnabled(presenter_.DownloadEnabled());
  check_->setEnabled(!presenter_.downloading());
  const int percent = presenter_.ProgressPercent();
  bar_->setRange(0, percent < 0 && presenter_.downloading() ? 0 : 100);
  bar_->setValue(percent < 0 ? 0 : percent);
  bar_->setTextVisible(presenter_.downloading());
  progress_->setText(presenter_.downloading() ? Q(presenter_.ProgressText()) : QString());
  status_->setText(Q(presenter_.status()));
}

void UpdateDialog::ReadFields() {
  update::UpdateSettings& s = presenter_.settings();
  s.downloadFolder = S(folder_->text());
  s.proxy = {useProxy_->isChecked(), S(host_->text().trimmed()), S(port_->text().trimmed()), S(user_->text()),
             S(password_->text())};
  s.autoCheck = autoCheck_->isChecked();
}

void UpdateDialog::StartCheck() {
  ReadFields();
  check_->setEnabled(false);
  const update::UpdateSettings s = presenter_.settings();
  const std::string changesAddress = presenter_.ChangesAddress(CurrentLanguage() == kLanguageGerman);
  struct Answer {
    update::VersionAnswer version;
    std::string changes;
  };
  InBackground<Answer>(
      this,
      [s, changesAddress] {
        Answer a;
        a.version = update::GetVersionFromInternet(s.server.versionFile, s.proxy, {});
        if (!a.version.error.empty()) return a;
        update::FetchRequest request;
        request.url = changesAddress;
        request.proxy = s.proxy;
        a.changes = update::DownloadFileToDiskOrString(request).text;
        return a;
      },
      [this](const Answer& a) {
        presenter_.SetChanges(a.changes);
        const std::string message = presenter_.SetVersionAnswer(a.version);
        Show();
        if (!message.empty())
          bridge_.Ask(PromptMessage::Composed(message, PromptButtons::Ok,
                                              a.version.error.empty() ? PromptIcon::Information : PromptIcon::Exclamation));
      });
}

void UpdateDialog::DownloadOrCancel() {
  if (presenter_.downloading()) {
    transfer_->control.RequestStop();
    return;
  }
  ReadFields();
  update::DownloadRequest request = presenter_.StartDownload();
  transfer_ = std::make_shared<Transfer>();
  std::shared_ptr<Transfer> t = transfer_;
  request.control = &t->control;
  request.progress = [t](std::uint64_t received, std::uint64_t total) {
    t->received = received;
    t->total = total;
  };
  InBackground<update::DownloadOutcome>(
      this, [t, request] { return update::DownloadUpdate(request); },
      [this](const update::DownloadOutcome& outcome) { Finished(outcome); });
  timer_->start();
  Show();
}

void UpdateDialog::Poll() {
  presenter_.SetProgress(transfer_->received, transfer_->total);
  Show();
}

void UpdateDialog::Finished(const update::DownloadOutcome& outcome) {
  timer_->stop();
  const UpdateWindowPresenter::Finish f = presenter_.DownloadEnded(outcome);
  Show();
  const bool failed = outcome.result != update::DownloadResult::Done;
  bridge_.Ask(PromptMessage::Composed(f.message, PromptButtons::Ok,
                                      failed ? PromptIcon::Exclamation : PromptIcon::Information));
  if (!f.askToInstall) return;
  if (bridge_.Ask(PromptMessage::Composed(f.question, PromptButtons::YesNo, PromptIcon::Question)) != PromptAnswer::Yes)
    return;
  presenter_.AcceptInstall();
  emit installRequested(Q(presenter_.pendingPackage()));
  accept();
}

void UpdateDialog::done(int result) {
  // A running download ends with the window.
  transfer_->control.RequestStop();
  ReadFields();
  update::StoreUpdateSettings(presenter_.settings(), windowSettings_);
  session_.settings().options.CheckNewVersion = presenter_.settings().autoCheck;
  QDialog::done(result);
}

}  // namespace twinex::ui
