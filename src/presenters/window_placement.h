#pragma once
// A window's position in section "WindowPos" (its name followed by "_Left", "_Top", "_Right",
// "_Bottom", "_WindowState"), and whether a stored position still lies on a screen.
#include <string>
#include <vector>

#include "settings/window_settings.h"

namespace twinex {

struct WindowRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
};

struct WindowPlacement {
  WindowRect rect;
  bool maximized = false;
  bool stored = false;  // false: the window keeps the size it opens with
};

WindowPlacement ReadPlacement(const WindowSettings& settings, const std::string& window);
void WritePlacement(WindowSettings& settings, const std::string& window, const WindowPlacement& placement);
// A stored position is used only when its title bar is reachable on one of the screens now
// present (a screen that was unplugged would leave the window out of sight).
bool PlacementUsable(const WindowPlacement& placement, const std::vector<WindowRect>& screens);

}  // namespace twinex
