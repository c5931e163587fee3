#include "ui/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "presenters/window_placement.h"

namespace twinex::ui {

namespace {
WindowRect RectOf(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }
}  // namespace

void RestoreWindow(QWidget& window, const WindowSettings& settings, const std::string& name) {
  const WindowPlacement p = ReadPlacement(settings, name);
  std::vector<WindowRect> screens;
  for (const QScreen* s : QGuiApplication::screens()) screens.push_back(RectOf(s->availableGeometry()));
  if (!PlacementUsable(p, screens)) return;
  window.setGeometry(p.rect.left, p.rect.top, p.rect.right - p.rect.left, p.rect.bottom - p.rect.top);
  if (p.maximized) window.setWindowState(Qt::WindowMaximized);
}

void RememberWindow(const QWidget& window, WindowSettings& settings, const std::string& name) {
  WindowPlacement p;
  p.rect = RectOf(window.isMaximized() && window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry());
  p.maximized = window.isMaximized();
  WritePlacement(settings, name, p);
}

}  // namespace twinex::ui
