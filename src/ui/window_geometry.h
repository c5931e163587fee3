#pragma once
// Puts a window where it was last closed (when that place is still on a screen) and records
// its place for the settings file.
#include <string>

#include "settings/window_settings.h"

class QWidget;

namespace twinex::ui {

void RestoreWindow(QWidget& window, const WindowSettings& settings, const std::string& name);
void RememberWindow(const QWidget& window, WindowSettings& settings, const std::string& name);

}  // namespace twinex::ui
