#include "presenters/window_placement.h"

#include <algorithm>
#include <charconv>

namespace twinex {

namespace {

constexpr const char* kSection = "WindowPos";

struct Edge {
  const char* suffix;
  int WindowRect::*field;
};
constexpr Edge kEdges[] = {
    {"_Left", &WindowRect::left}, {"_Top", &WindowRect::top}, {"_Right", &WindowRect::right}, {"_Bottom", &WindowRect::bottom}};

bool ParseInt(const std::string& text, int& out) {
  const char* end = text.data() + text.size();
  auto r = std::from_chars(text.data(), end, out);
  return r.ec == std::errc() && r.ptr == end;
}

}  // namespace

WindowPlacement ReadPlacement(const WindowSettings& settings, const std::string& window) {
  WindowPlacement p;
  p.stored = true;
  for (const Edge& e : kEdges)
    if (!ParseInt(settings.Get(kSection, window + e.suffix), p.rect.*(e.field))) p.stored = false;
  if (p.rect.Empty()) p.stored = false;
  p.maximized = settings.Get(kSection, window + "_WindowState") == "2";
  return p;
}

void WritePlacement(WindowSettings& settings, const std::string& window, const WindowPlacement& placement) {
  for (const Edge& e : kEdges) settings.Set(kSection, window + e.suffix, std::to_string(placement.rect.*(e.field)));
  settings.Set(kSection, window + "_WindowState", placement.maximized ? "2" : "0");
}

bool PlacementUsable(const WindowPlacement& placement, const std::vector<WindowRect>& screens) {
  if (!placement.stored) return false;
  // The top strip of the window, where its title bar is, must meet a screen by a useful piece.
  constexpr int kGrip = 40;
  const WindowRect& r = placement.rect;
  return std::any_of(screens.begin(), screens.end(), [&](const WindowRect& s) {
    const int w = std::min(r.right, s.right) - std::max(r.left, s.left);
    const int h = std::min(r.top + kGrip, s.bottom) - std::max(r.top, s.top);
    return w >= kGrip && h > 0;
  });
}

}  // namespace twinex
