// A picture box that fits one picture into its area, with an optional note; reports clicks.
#pragma once

#include <QImage>
#include <QWidget>

namespace orvex {

class PictureView : public QWidget {
  Q_OBJECT
 public:
  explicit PictureView(QWidget* parent = nullptr);

  // A null image draws nothing. Pictures larger than the area are shrunk; smaller ones are
  // enlarged only when stretch is set.
  void setImage(const QImage& image, bool stretch);
  const QImage& image() const { return image_; }
  void setNote(const QString& note);
  const QString& note() const { return note_; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImage image_;
  bool stretch_ = false;
  QString note_;
};

// Reads a picture file for an area of the given size; a null image when it cannot be read.
QImage readPicture(const QString& hostPath, const QSize& area);

}  // namespace orvex
