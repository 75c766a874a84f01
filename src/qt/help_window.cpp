// A small window that shows the program's own help file.
#include "qt/help_window.h"

#include <QFileInfo>
#include <QUrl>

namespace orvex {

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent) {
  setObjectName("helpWindow");
  setWindowTitle(tr("Orvex Help"));
  setAccessibleName(tr("Orvex Help"));
  setOpenExternalLinks(true);
  resize(640, 520);
}

void HelpWindow::showFile(const QString& hostPath, const QString& shownName) {
  const QFileInfo info(hostPath);
  if (!hostPath.isEmpty() && info.isFile() && info.isReadable()) {
    setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
  } else {
    setPlainText(tr("The help file could not be opened:\n%1").arg(shownName));
  }
  show();
  raise();
  activateWindow();
}

}  // namespace orvex
