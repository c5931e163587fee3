#pragma once
// The preview in a window of its own ("Dateivorschau"), for users who keep the grid wide: it
// follows its result window (shown and hidden with it), may stay on top and stay out of the
// task bar, and remembers where it was.
#include <QWidget>

#include "settings/window_settings.h"

namespace twinex::ui {

class PreviewPane;

class PreviewWindow : public QWidget {
  Q_OBJECT
 public:
  // owner: the result window it follows; the options are read from the settings file.
  PreviewWindow(PreviewPane* pane, QWidget& owner, WindowSettings& windowSettings);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& owner_;
  WindowSettings& windowSettings_;
};

}  // namespace twinex::ui
