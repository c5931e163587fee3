#include "ui/update_menu.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <atomic>
#include <memory>
#include <thread>

#include "app/session.h"
#include "settings/language.h"
#include "settings/translate.h"
#include "ui/qt_text.h"
#include "ui/ui_bridge.h"
#include "ui/update_dialog.h"
#include "update/context_menu.h"
#include "update/update_check.h"

namespace twinex::ui {
namespace {

using CheckFn = update::CheckOutcome (*)(update::CheckContext&, bool);

// Asks through the bridge while the main window lives; a check that ends after the window has
// closed (a slow server) asks nobody and takes the answer that loses nothing.
struct GuardedPrompt : Prompt {
  UiBridge* bridge;
  std::shared_ptr<std::atomic<bool>> alive;
  GuardedPrompt(UiBridge* b, std::shared_ptr<std::atomic<bool>> a) : bridge(b), alive(std::move(a)) {}
  PromptAnswer Ask(const PromptMessage& message) override {
    return *alive ? bridge->Ask(message) : SafeAnswer(message.buttons);
  }
};

std::shared_ptr<std::atomic<bool>> WindowAlive(QWidget* window) {
  auto alive = std::make_shared<std::atomic<bool>>(true);
  QObject::connect(window, &QObject::destroyed, [alive] { *alive = false; });
  return alive;
}

// A check runs on its own thread with a copy of the window sections; its questions reach the
// window through the bridge. The dates it stored are taken over afterwards.
void RunCheck(const UpdateHost& host, CheckFn check, bool manual) {
  auto copy = std::make_shared<WindowSettings>(host.windowSettings);
  const MainSettings& main = host.session.settings();
  const bool autoRelease = main.options.CheckNewVersion, autoBeta = main.options.CheckNewBetaVersion;
  const bool german = CurrentLanguage() == kLanguageGerman;
  UiBridge* bridge = &host.bridge;
  QPointer<QWidget> window(host.window);
  UpdateHost target = host;
  const std::shared_ptr<std::atomic<bool>> alive = WindowAlive(host.window);
  std::thread([=] {
    GuardedPrompt prompt(bridge, alive);
    update::CheckContext c(*copy, prompt);
    c.autoRelease = autoRelease;
    c.autoBeta = autoBeta;
    c.germanInterface = german;
    const update::CheckOutcome out = check(c, manual);
    QMetaObject::invokeMethod(qApp, [=] {
      if (!window) return;
      for (const char* key : {"CheckNewVersionDate", "CheckNewBetaVersionDate"})
        target.windowSettings.Set("Start", key, copy->Get("Start", key));
      if (out.openUpdateWindow) ShowUpdateDialog(target, true);
      if (!out.openPage.empty()) QDesktopServices::openUrl(QUrl(Q(out.openPage)));
    });
  }).detach();
}

void ContextMenuCommand(const UpdateHost& host, bool install) {
  const update::MenuFolders folders = update::DefaultMenuFolders();
  const std::string errors = install ? update::InstallContextMenus(host.session.app().paths.executablePath, folders)
                                     : update::RemoveContextMenus(folders);
  PromptMessage m =
      !errors.empty()
          ? PromptMessage::Make(TextRef{23052, "Beim Ändern der Kontextmenü-Einträge ist ein Fehler aufgetreten:%!%1"},
                                {errors}, PromptButtons::Ok, PromptIcon::Exclamation)
      : install ? PromptMessage::Make(TextRef{23053, "Die Kontextmenü-Einträge für Nautilus, Nemo, Dolphin und Thunar "
                                                     "wurden eingerichtet."})
                : PromptMessage::Make(TextRef{23054, "Die Kontextmenü-Einträge wurden entfernt."});
  host.bridge.Ask(m);
}

}  // namespace

void AddUpdateCommands(QMenu* menu, const UpdateHost& host) {
  menu->addAction(Q(z_Translate(23044, "Nach Updates suchen")), host.window,
                  [host] { RunCheck(host, &update::CheckNewVersion, true); });
  menu->addAction(Q(z_Translate(23045, "Nach einer Betaversion suchen")), host.window,
                  [host] { RunCheck(host, &update::CheckNewBetaVersion, true); });
  menu->addAction(Q(z_Translate(23046, "Internet Update...")), host.window, [host] { ShowUpdateDialog(host, false); });
  menu->addSeparator();
  menu->addAction(Q(z_Translate(23050, "Kontextmenü der Dateimanager einrichten")), host.window,
                  [host] { ContextMenuCommand(host, true); });
  menu->addAction(Q(z_Translate(23051, "Kontextmenü der Dateimanager entfernen")), host.window,
                  [host] { ContextMenuCommand(host, false); });
}

void RunStartupUpdateChecks(const UpdateHost& host) {
  RunCheck(host, &update::CheckNewVersion, false);
  RunCheck(host, &update::CheckNewBetaVersion, false);
}

void ShowUpdateDialog(const UpdateHost& host, bool check) {
  UpdateDialog dialog(host.session, host.bridge, host.windowSettings, host.window);
  QObject::connect(&dialog, &UpdateDialog::installRequested, host.window, [host](const QString& package) {
    PendingPackage() = S(package);
    // The package is opened once the window has closed and the program has ended.
    QMetaObject::invokeMethod(host.window, &QWidget::close, Qt::QueuedConnection);
  });
  if (check) dialog.StartCheck();
  dialog.exec();
}

std::string& PendingPackage() {
  static std::string package;
  return package;
}

void OpenPendingPackage() {
  if (PendingPackage().empty()) return;
  (void)update::OpenPackage(PendingPackage());
}

}  // namespace twinex::ui
