// A label that plays an MJPG AVI animation (the copy animation) in a loop while it is shown.
#pragma once

#include <QLabel>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QTimer>

namespace orvex {

class AviPlayer : public QLabel {
  Q_OBJECT

 public:
  explicit AviPlayer(QWidget* parent = nullptr);

  // Loads every frame of the file at once (the animation is small). False, with nothing
  // loaded, when the file is missing, too large, not an AVI, or has no JPEG frame we can
  // decode. A damaged file keeps the whole frames found before the damage.
  bool open(const QString& hostPath);
  void close();

  // Showing the player starts the loop and hiding it stops it; these do the same by hand.
  void play();
  void stop();

  bool isPlaying() const { return timer_.isActive(); }
  int frameCount() const { return static_cast<int>(frames_.size()); }
  QSize frameSize() const { return frames_.isEmpty() ? QSize() : frames_.front().size(); }
  int currentFrame() const { return current_; }
  int frameInterval() const { return timer_.interval(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void showFrame(int index);

  QList<QPixmap> frames_;
  int current_ = 0;
  QTimer timer_;
};

}  // namespace orvex
