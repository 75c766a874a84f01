// Archives dropped onto the main window: one local zip, 7z or rar file at a time.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "qt/main_window.h"
#include "ui/window_program.h"

namespace orvex {
namespace {

// The archive a drop carries; empty unless it is exactly one local archive file, since two
// add-ons at once would mix in the assembly area.
QString droppedArchive(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().front();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("zip") && suffix != QLatin1String("7z") &&
      suffix != QLatin1String("rar"))
    return {};
  return path;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (droppedArchive(event->mimeData()).isEmpty() || orvex_.ended())
    event->ignore();
  else
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = droppedArchive(event->mimeData());
  if (path.isEmpty() || orvex_.ended()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  // Unpacking shows messages and pumps events; the file manager must not wait for the end
  // of the drop meanwhile.
  const std::string host = QFile::encodeName(path).toStdString();
  QTimer::singleShot(0, this, [this, host] {
    if (!orvex_.ended() && orvex_.mainWindow().onArchiveDrop)
      orvex_.mainWindow().onArchiveDrop(host);
  });
}

}  // namespace orvex
