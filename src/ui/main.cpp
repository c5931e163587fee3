// twinex: the desktop program.
#include <QApplication>
#include <QStyleFactory>
#include <QTimer>
#include <exception>

#include "app/command_line.h"
#include "app/error_record.h"
#include "app/session.h"
#include "ui/about_dialog.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/ui_bridge.h"
#include "ui/update_menu.h"

namespace {

// Exceptions that reach the event loop become the error dialog and the error record.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      twinex::ui::ShowUnexpectedError(nullptr, "twinex", e.what());
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  using namespace twinex;
  GuardedApplication app(argc, argv);
  // Fusion follows the desktop's light or dark palette on every platform.
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  const std::string commandLine = RawCommandLineFromArgs(args);

  ui::UiBridge bridge;
  Session session(bridge.Ports());
  StartupRequest startup;
  startup.commandLine = commandLine;
  startup.version = TWINEX_VERSION;
  const std::string startError = session.Start(startup);
  if (!startError.empty()) {
    ui::ShowMessageBox(PromptMessage::Composed(startError, PromptButtons::Ok, PromptIcon::Critical));
    return 1;
  }
  session.LoadSettings();
  ui::MainWindow window(session, bridge);
  QObject::connect(&bridge, &ui::UiBridge::unexpectedError, &window,
                   [&window](const QString& text) { ui::ShowUnexpectedError(&window, "twinex", ui::S(text), true); });
  window.show();
  // The command line is applied once the window is up; a search it names starts at once.
  // Otherwise the checks for a new version run.
  QTimer::singleShot(0, &window, [&window, commandLine] {
    if (!window.ApplyCommandLine(commandLine)) window.RunStartupUpdateChecks();
  });
  const int exitCode = app.exec();
  // A downloaded package the user chose to install goes to the desktop's installer now.
  ui::OpenPendingPackage();
  return exitCode;
}
