// A picture box: draws one picture centred and fitted into its area, with an optional note.
#include "qt/picture_view.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

namespace orvex {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {}

void PictureView::setImage(const QImage& image, bool stretch) {
  image_ = image;
  stretch_ = stretch;
  update();
}

void PictureView::setNote(const QString& note) {
  note_ = note;
  update();
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QRect area = rect();
  QRect noteArea;
  if (!note_.isEmpty()) {
    const int noteHeight = fontMetrics().height() + 6;
    noteArea = QRect(area.left(), area.bottom() - noteHeight + 1, area.width(), noteHeight);
    area.setBottom(noteArea.top() - 1);
  }
  if (!image_.isNull()) {
    QSize size = image_.size();
    if (stretch_ || size.width() > area.width() || size.height() > area.height())
      size.scale(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), size);
    target.moveCenter(area.center());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, image_);
  }
  if (!noteArea.isEmpty()) {
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(noteArea, Qt::AlignCenter | Qt::TextSingleLine, note_);
  }
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
  QWidget::mouseReleaseEvent(event);
}

QImage readPicture(const QString& hostPath, const QSize& area) {
  QImageReader reader(hostPath);
  reader.setAutoTransform(true);
  const QSize size = reader.size();
  // Decoding straight to the shown size keeps large photos cheap.
  if (size.isValid() && area.isValid() &&
      (size.width() > area.width() || size.height() > area.height()))
    reader.setScaledSize(size.scaled(area, Qt::KeepAspectRatio));
  return reader.read();
}

}  // namespace orvex
