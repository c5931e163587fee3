#include "ui/preview_media.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include "settings/translate.h"
#include "ui/qt_text.h"

#if TWINEX_HAVE_MULTIMEDIA
#include <QAudioOutput>
#include <QMediaPlayer>
#include <QVideoWidget>
#endif

namespace twinex::ui {

#if TWINEX_HAVE_MULTIMEDIA
struct PreviewMedia::Player {
  QMediaPlayer player;
  QAudioOutput audio;
  QVideoWidget* video = nullptr;
};
#else
struct PreviewMedia::Player {};
#endif

PreviewMedia::PreviewMedia(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  message_ = new QLabel(this);
  message_->setWordWrap(true);
  message_->setTextFormat(Qt::PlainText);
  message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(message_);
#if TWINEX_HAVE_MULTIMEDIA
  player_ = new Player;
  player_->video = new QVideoWidget(this);
  player_->player.setAudioOutput(&player_->audio);
  player_->player.setVideoOutput(player_->video);
  layout->addWidget(player_->video, 1);
  // A sound file has nothing to show, and a video surface that was never on screen also keeps
  // no window buffer of its own behind.
  player_->video->hide();
  auto* controls = new QHBoxLayout;
  play_ = new QPushButton(this);
  play_->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
  position_ = new QSlider(Qt::Horizontal, this);
  controls->addWidget(play_);
  controls->addWidget(position_, 1);
  layout->addLayout(controls);
  QMediaPlayer* p = &player_->player;
  connect(play_, &QPushButton::clicked, this, [p] {
    if (p->playbackState() == QMediaPlayer::PlayingState) p->pause(); else p->play();
  });
  connect(p, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState s) {
    play_->setIcon(style()->standardIcon(s == QMediaPlayer::PlayingState ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
  });
  connect(p, &QMediaPlayer::hasVideoChanged, player_->video, &QWidget::setVisible);
  connect(p, &QMediaPlayer::durationChanged, this, [this](qint64 ms) { position_->setRange(0, static_cast<int>(ms)); });
  connect(p, &QMediaPlayer::positionChanged, this, [this](qint64 ms) {
    if (!position_->isSliderDown()) position_->setValue(static_cast<int>(ms));
  });
  connect(position_, &QSlider::sliderMoved, p, [p](int ms) { p->setPosition(ms); });
  connect(p, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString& text) {
    message_->setText(text);
  });
#endif
}

PreviewMedia::~PreviewMedia() { delete player_; }

bool PreviewMedia::available() const { return TWINEX_HAVE_MULTIMEDIA != 0; }

void PreviewMedia::Load(const QString& path, bool vlc) {
#if TWINEX_HAVE_MULTIMEDIA
  (void)vlc;
  message_->clear();
  player_->player.stop();
  player_->player.setSource(QUrl::fromLocalFile(path));
#else
  (void)path;
  message_->setText(Q(vlc ? z_Translate(22512, "Der VLC Media Player 32-Bit Version 3.x konnte nicht gefunden werden")
                          : z_Translate(22513, "Der Windows Media Player konnte nicht gefunden werden")));
#endif
}

void PreviewMedia::Stop() {
#if TWINEX_HAVE_MULTIMEDIA
  player_->player.stop();
  player_->player.setSource({});
#endif
}

qint64 PreviewMedia::duration() const {
#if TWINEX_HAVE_MULTIMEDIA
  return player_->player.duration() > 0 ? player_->player.duration() : -1;
#else
  return -1;
#endif
}

QString PreviewMedia::message() const { return message_->text(); }

}  // namespace twinex::ui
