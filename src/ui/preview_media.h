#pragma once
// The media player of the preview: audio and video with play/pause and a position slider. When
// the program was built without Qt Multimedia it shows the message of a missing player instead.
#include <QWidget>

class QLabel;
class QPushButton;
class QSlider;

namespace twinex::ui {

class PreviewMedia : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewMedia(QWidget* parent = nullptr);
  ~PreviewMedia() override;

  // Loads the file (vlc: the second player's message when no player exists); nothing plays
  // until the user presses play.
  void Load(const QString& path, bool vlc);
  void Stop();
  bool available() const;
  // The player's state for tests: the loaded file's duration in milliseconds (-1 before known).
  qint64 duration() const;
  QString message() const;

 private:
  struct Player;
  Player* player_ = nullptr;
  QLabel* message_;
  QPushButton* play_ = nullptr;
  QSlider* position_ = nullptr;
};

}  // namespace twinex::ui
