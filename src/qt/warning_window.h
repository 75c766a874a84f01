// The one-time warning frmWinZipWarning, shown before the zip program is started.
#pragma once

#include <QDialog>
#include <memory>

namespace orvex {

class Binder;
class FileSystem;
class frmWinZipWarning;

class WarningWindow : public QDialog {
  Q_OBJECT
 public:
  WarningWindow(frmWinZipWarning& model, FileSystem& fs, QWidget* parent = nullptr);
  ~WarningWindow() override;

  // Escape or the window's close button put the warning away like its OK button's hiding.
  void reject() override;

 private:
  frmWinZipWarning& model_;
  std::unique_ptr<Binder> binder_;
};

}  // namespace orvex
