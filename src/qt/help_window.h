// A small window that shows the program's own help file.
#pragma once

#include <QTextBrowser>

namespace orvex {

class HelpWindow : public QTextBrowser {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  // Shows the file at hostPath; when it cannot be read, says so and names the file.
  void showFile(const QString& hostPath, const QString& shownName);
};

}  // namespace orvex
