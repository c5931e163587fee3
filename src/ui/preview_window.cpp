#include "ui/preview_window.h"

#include <QEvent>
#include <QVBoxLayout>

#include "settings/settings_file.h"
#include "settings/translate.h"
#include "ui/preview_pane.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace twinex::ui {

namespace {
constexpr const char* kWindowName = "frmPreview";

bool Option(const char* key) { return ProfileGetItemWide("Optionen", key, "0", SettingsFilePath()) == "1"; }

Qt::WindowFlags Flags() {
  Qt::WindowFlags flags = Qt::Window;
  if (Option("PreviewWindowTopMost")) flags |= Qt::WindowStaysOnTopHint;
  if (!Option("PreviewWindowTaskBar")) flags |= Qt::Tool;
  return flags;
}
}  // namespace

PreviewWindow::PreviewWindow(PreviewPane* pane, QWidget& owner, WindowSettings& windowSettings)
    : QWidget(&owner, Flags()), owner_(owner), windowSettings_(windowSettings) {
  setObjectName("PreviewWindow");
  setWindowTitle(Q(z_Translate(22500, "Dateivorschau")));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pane);
  resize(640, 600);
  RestoreWindow(*this, windowSettings_, kWindowName);
  owner_.installEventFilter(this);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &owner_) {
    if (event->type() == QEvent::Show) {
      show();
    } else if (event->type() == QEvent::Hide && isVisible()) {
      RememberWindow(*this, windowSettings_, kWindowName);
      hide();
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace twinex::ui
